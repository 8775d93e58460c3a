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
  if (const auto pos = nom.rfind("::"); pos != std::string::npos) nom = nom.substr(pos + 2);
  return DepuisUtf8(nom);
}

}  // namespace norvel
