#include "core/NomClasse.h"

#include <cxxabi.h>

#include <cstdlib>

#include "core/Chaines.h"

namespace norvel {

std::wstring NomDeClasse(const std::type_info& type) {
  const char* brut = type.name();
  int statut = 0;
  char* lisible = abi::__cxa_demangle(brut, nullptr, nullptr, &statut);
  std::string nom = (statut == 0 && lisible) ? lisible : brut;
  std::free(lisible);
  // Drop the namespaces, not the "::" inside template arguments.
  std::size_t debut = 0;
  int profondeur = 0;
  for (std::size_t i = 0; i + 1 < nom.size(); ++i) {
    if (nom[i] == '<') ++profondeur;
    else if (nom[i] == '>') --profondeur;
    else if (profondeur == 0 && nom[i] == ':' && nom[i + 1] == ':') debut = i + 2;
  }
  return DepuisUtf8(nom.substr(debut));
}

}  // namespace norvel
