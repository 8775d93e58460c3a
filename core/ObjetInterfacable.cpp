#include "core/ObjetInterfacable.h"

#include "core/Exceptions.h"
#include "core/Format.h"
#include "core/Messages.h"
#include "core/NomClasse.h"

namespace norvel {

TObjetInterfacable::TObjetInterfacable(bool destructionAutomatique)
    : FDestructionAutomatique(destructionAutomatique) {}

TObjetInterfacable::~TObjetInterfacable() { FConteneur = nullptr; }

std::wstring TObjetInterfacable::NomClasse() const { return NomDeClasse(typeid(*this)); }

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
