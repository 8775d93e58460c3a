#include "platform/VersionXml.h"

#include "platform/DocumentXml.h"
#include "core/Chaines.h"
#include "core/Exceptions.h"
#include "core/Messages.h"

namespace norvel {

namespace {

constexpr const wchar_t* ElementVersion = L"TypeVersion";
constexpr const wchar_t* ElementNumero = L"Numero";

uint32_t LireNumero(const std::wstring& texte) {
  const std::wstring chiffres = Trim(texte);
  // A file edited by hand must not wrap around to another version: digits only, 32 bits at most.
  if (chiffres.empty() || chiffres.size() > 10 || chiffres.find_first_not_of(L"0123456789") != std::wstring::npos)
    throw EOvalis(Msg::NumerosVersionInvalides);
  const unsigned long long numero = std::stoull(chiffres);
  if (numero > UINT32_MAX) throw EOvalis(Msg::NumerosVersionInvalides);
  return static_cast<uint32_t>(numero);
}

}  // namespace

void EcrireVersionXml(IXMLDOMNode* cible, const TypeVersion& version) {
  if (auto ancien = EnfantElement(cible, ElementVersion)) SupprimerEnfant(cible, ancien.Get());
  const auto document = DocumentDuNoeud(cible);
  const auto element = AjouterElement(document.Get(), cible, ElementVersion);
  for (uint32_t numero : version.Numeros)
    EcrireTexteNoeud(AjouterElement(document.Get(), element.Get(), ElementNumero).Get(), std::to_wstring(numero));
}

TypeVersion LireVersionXml(IXMLDOMNode* source) {
  TypeVersion version;
  for (const auto& numero : EnfantsElements(EnfantElement(source, ElementVersion).Get(), ElementNumero))
    version.Numeros.push_back(LireNumero(TexteNoeud(numero.Get())));
  return version;
}

}  // namespace norvel
