#pragma once
// The product catalogue built into the program (raw-data resource "PRODUITS", XML): every known
// client version of NORVEL Primaire for France, with the installer identifiers under which it
// registers in the list of installed programs.
#include <string>
#include <string_view>
#include <vector>

namespace norvel {

struct TypeVersionCatalogue {
  std::wstring Millesime;
  std::wstring Module;
  std::wstring Plateforme;
  std::wstring Guid;  // identifier of the ordinary version
  std::wstring Simu;  // identifier of the simulation version

  // The identifier a school looks for: the simulation one for a simulation school.
  const std::wstring& Identifiant(bool ASimulation) const { return ASimulation ? Simu : Guid; }
  // "Client NORVEL Primaire <millesime> (<platform>)".
  std::wstring NomAffichage() const;

  bool operator==(const TypeVersionCatalogue&) const = default;
};

// The versions of the product "NVLPRIM" in the country "FRANCE", in document order; an absent
// attribute reads as empty. Raises when the text is not XML ("Catalogue des produits illisible").
std::vector<TypeVersionCatalogue> LireCatalogueProduits(std::string_view AOctets);
// The same from the program's own resource.
std::vector<TypeVersionCatalogue> CatalogueProduits();

}  // namespace norvel
