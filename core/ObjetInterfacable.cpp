#include "core/ObjetInterfacable.h"

#include <cxxabi.h>

#include <cstdlib>

#include "core/Chaines.h"
#include "core/Exceptions.h"
#include "core/Format.h"
#include "core/Messages.h"

namespace norvel {

TObjetInterfacable::TObjetInterfacable(bool destructionAutomatique)
    : FDestructionAutomatique(destructionAutomatique) {}

TObjetInterfacable::~TObjetInterfacable() { FConteneur = nullptr; }

std::wstring TObjetInterfacable::NomClasse() const {
  const char* brut = typeid(*this).name();
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

HRESULT TObjetInterfacable::QueryInterface(REFIID iid, void** resultat) {
  if (!resultat) return E_POINTER;
  *resultat = nullptr;
  if (FConteneur && FDelegationQueryInterface) return FConteneur->QueryInterface(iid, resultat);
  return ObtenirInterface(iid, resultat) ? S_OK : E_NOINTERFACE;
}

bool TObjetInterfacable::ObtenirInterface(REFIID iid, void** resultat) {
  if (IsEqualGUID(iid, IID_IUnknown) || IsEqualGUID(iid, __uuidof(IAvecConteneur))) {
    *resultat = static_cast<IAvecConteneur*>(this);
    AddRef();
    return true;
  }
  return false;
}

ULONG TObjetInterfacable::AddRef() {
  if (FConteneur) return FConteneur->AddRef();
  return static_cast<ULONG>(++FCompteurReferences);
}

ULONG TObjetInterfacable::Release() {
  if (FConteneur) return FConteneur->Release();
  const int reste = --FCompteurReferences;
  if (reste == 0 && FDestructionAutomatique && FConstructionTerminee) {
    CommencerDestruction();
    delete this;
  }
  return static_cast<ULONG>(reste);
}

TRef<IUnknown> TObjetInterfacable::GetConteneur() { return TRef<IUnknown>(FConteneur); }

bool TObjetInterfacable::AffecterConteneur(IUnknown* conteneur, bool delegationQueryInterface) {
  if (FConteneur) return false;
  FConteneur = conteneur;
  if (FConteneur) {
    for (int i = 0; i < FCompteurReferences; ++i) FConteneur->AddRef();
    FCompteurReferences = 0;
  }
  FDelegationQueryInterface = delegationQueryInterface;
  return true;
}

// Automatic destruction stops here: a reference taken and dropped by the destructors must not
// destroy the object a second time.
void TObjetInterfacable::CommencerDestruction() {
  if (FDetruit) throw EOvalis(Format(Msg::DoubleDestruction, {NomClasse()}));
  FDetruit = true;
  FDestructionAutomatique = false;
}

void TObjetInterfacable::Detruire(TObjetInterfacable* objet) {
  if (!objet) return;
  if (!objet->FDetruit && objet->FCompteurReferences != 0)
    throw EOvalis(Format(Msg::DestructionObjetReference, {objet->NomClasse()}));
  objet->CommencerDestruction();
  delete objet;
}

}  // namespace norvel
