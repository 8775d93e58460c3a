#pragma once
// TObjetInterfacable: the reference-counted base of the program's interfaced objects.
// The count is a plain integer: an object is referenced from one thread at a time, or under
// the lock of its owner. Create objects with NouvelObjet<T>(...), which marks the end of
// construction; before that, a count that drops to 0 never destroys the object.
#include <string>
#include <typeinfo>

#include "core/Interface.h"

namespace norvel {

struct IAvecConteneur : IUnknown {
  // A counted reference to the container, or none.
  virtual TRef<IUnknown> GetConteneur() = 0;
  virtual bool AffecterConteneur(IUnknown* conteneur, bool delegationQueryInterface) = 0;
};

}  // namespace norvel

NORVEL_GUID(norvel::IAvecConteneur, 0x9F05F894, 0x1D75, 0x4419, 0x92, 0x90, 0x49, 0x72, 0x6A, 0x62, 0xFA, 0xA8)

namespace norvel {

class TObjetInterfacable : public IAvecConteneur {
 public:
  explicit TObjetInterfacable(bool destructionAutomatique = true);
  TObjetInterfacable(const TObjetInterfacable&) = delete;
  TObjetInterfacable& operator=(const TObjetInterfacable&) = delete;
  virtual ~TObjetInterfacable();

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** resultat) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  TRef<IUnknown> GetConteneur() override;
  bool AffecterConteneur(IUnknown* conteneur, bool delegationQueryInterface) override;

  // Called once the most derived constructor has run (NouvelObjet does it).
  void TerminerConstruction() { FConstructionTerminee = true; }
  int CompteurReferences() const { return FCompteurReferences; }
  std::wstring NomClasse() const;

  // Explicit destruction of an object created without automatic destruction. Raises when
  // interface references to it remain, or when it is already being destroyed.
  static void Detruire(TObjetInterfacable* objet);

 protected:
  // The object's own interfaces: derived classes answer theirs, then ask their base.
  virtual bool ObtenirInterface(REFIID iid, void** resultat);

 private:
  void CommencerDestruction();

  int FCompteurReferences = 0;
  IUnknown* FConteneur = nullptr;  // not counted: the container outlives us
  bool FDelegationQueryInterface = false;
  bool FDestructionAutomatique;
  bool FConstructionTerminee = false;
  bool FDetruit = false;
};

// Implements interfaces Is... on top of Base: the IUnknown operations of every interface
// resolve to the one count of TObjetInterfacable.
template <class Base, class... Is>
class TImplemente : public Base, public Is... {
 public:
  using Base::Base;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** resultat) override {
    return TObjetInterfacable::QueryInterface(iid, resultat);
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return TObjetInterfacable::AddRef(); }
  ULONG STDMETHODCALLTYPE Release() override { return TObjetInterfacable::Release(); }

 protected:
  bool ObtenirInterface(REFIID iid, void** resultat) override {
    return (Trouver<Is>(iid, resultat) || ...) || Base::ObtenirInterface(iid, resultat);
  }

 private:
  template <class I>
  bool Trouver(REFIID iid, void** resultat) {
    if (!IsEqualGUID(iid, __uuidof(I))) return false;
    *resultat = static_cast<I*>(this);
    static_cast<I*>(this)->AddRef();
    return true;
  }
};

// Builds an interfaced object and ends its construction; the reference returned holds it.
template <class T, class... Args>
TRef<T> NouvelObjet(Args&&... args) {
  T* objet = new T(std::forward<Args>(args)...);
  objet->TerminerConstruction();
  return TRef<T>(objet);
}

}  // namespace norvel
