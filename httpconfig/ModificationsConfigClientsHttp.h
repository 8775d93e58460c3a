#pragma once
// The changes of the HTTP configuration as values: each is applied by the configuration thread
// to its master under its lock. The setters of every layer are built from these, so that a new
// setting is one line in each of them.
#include <functional>
#include <string>
#include <string_view>

#include "httpconfig/ConfigClientsHttp.h"

namespace norvel {

using TypeModificationConfigClientsHttp = std::function<void(TypeConfigClientsHttp&)>;

// One operation of the model with its arguments, kept by value.
template <class... P, class... A>
TypeModificationConfigClientsHttp Application(void (TypeConfigClientsHttp::*operation)(P...), const A&... arguments) {
  return [=](TypeConfigClientsHttp& maitre) { (maitre.*operation)(arguments...); };
}

// The model's operations on one name.
using TypeOperationNom = void (TypeConfigClientsHttp::*)(std::wstring_view);

// The old name goes, the new one comes.
inline TypeModificationConfigClientsHttp Renommage(TypeOperationNom supprimer, TypeOperationNom ajouter,
                                                   const std::wstring& avant, const std::wstring& apres) {
  return [=](TypeConfigClientsHttp& maitre) {
    (maitre.*supprimer)(avant);
    (maitre.*ajouter)(apres);
  };
}

inline TypeModificationConfigClientsHttp Suppressions(TypeOperationNom supprimer, const TypeTabChaines& noms) {
  return [=](TypeConfigClientsHttp& maitre) {
    for (const std::wstring& nom : noms) (maitre.*supprimer)(nom);
  };
}

// Proxy and bypass names go into WinHTTP's lists, where a "/" has no meaning: raises "Un nom de
// serveur ne doit pas contenir le caractère "/"".
void VerifierNomServeur(std::wstring_view nom);

// The change, once the name it brings is checked.
inline TypeModificationConfigClientsHttp AvecNomServeurVerifie(std::wstring_view nom,
                                                               TypeModificationConfigClientsHttp modification) {
  VerifierNomServeur(nom);
  return modification;
}

}  // namespace norvel
