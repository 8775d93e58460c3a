#include "install/CatalogueProduits.h"

#include "platform/DocumentXml.h"
#include "core/Exceptions.h"
#include "core/Format.h"
#include "core/Messages.h"
#include "core/Ressources.h"

namespace norvel {

namespace {

constexpr const wchar_t* SelectionVersions = L"/produits/produit[@nom=\"NVLPRIM\"]/pays[@nom=\"FRANCE\"]/version";

std::wstring Attribut(IXMLDOMElement* element, const std::wstring& nom) {
  std::wstring valeur;
  LireAttribut(element, nom, valeur);
  return valeur;
}

}  // namespace

std::wstring TypeVersionCatalogue::NomAffichage() const {
  return Format(Msg::NomVersionClient, {Millesime, Plateforme});
}

std::vector<TypeVersionCatalogue> LireCatalogueProduits(std::string_view AOctets) {
  const auto document = NouveauDocumentXml();
  std::wstring raison;
  if (!ChargerDocumentXml(document.Get(), AOctets, raison))
    throw EOvalis(Format(Msg::CatalogueProduitsIllisible, {raison}));
  std::vector<TypeVersionCatalogue> versions;
  for (const auto& element : SelectionnerElements(document.Get(), SelectionVersions)) {
    versions.push_back({Attribut(element.Get(), L"millesime"), Attribut(element.Get(), L"module"),
                        Attribut(element.Get(), L"plateforme"), Attribut(element.Get(), L"guid"),
                        Attribut(element.Get(), L"simu")});
  }
  return versions;
}

std::vector<TypeVersionCatalogue> CatalogueProduits() { return LireCatalogueProduits(DonneesRessource(L"PRODUITS")); }

}  // namespace norvel
