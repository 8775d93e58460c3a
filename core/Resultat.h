#pragma once
// Outcomes that travel: a tree of results that may carry a message, mark an error or a
// cancellation, and turn into an exception; and the exceptions that carry such a tree.
//
// <windows.h> comes first on purpose: it makes GetMessage a macro, and the operation must bear
// the same (macro-expanded) name in every file that declares, implements or calls it.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "core/Interface.h"
#include "core/ObjetInterfacable.h"
#include "core/Serialisation.h"

namespace norvel {

class EResultat;
struct IResultat;
using TypeResultats = std::vector<TRef<IResultat>>;

struct IResultat : IUnknown {
  virtual std::wstring GetMessage() = 0;
  virtual bool EstErreur() = 0;
  virtual bool EstAnnulation() = 0;
  virtual int GetNbResultatsFils() = 0;
  // A copy of the list of children.
  virtual TypeResultats GetResultatsFils() = 0;
  // Depth first: each child followed by its own descendants.
  virtual TypeResultats GetTousResultatsDescendants() = 0;
  // An EResultatAnnulation for a cancellation, an EResultat otherwise, holding this result.
  virtual std::unique_ptr<EResultat> CreerException() = 0;
  virtual void AjouterResultatFils(IResultat* resultat) = 0;
  virtual void AjouterAResultatParent(IResultat* parent) = 0;
};

}  // namespace norvel

NORVEL_GUID(norvel::IResultat, 0xac15bf1d, 0x9d54, 0x4066, 0x85, 0x58, 0x52, 0xe2, 0x8e, 0xf6, 0x2e, 0xc8)

namespace norvel {

struct IErreur : IResultat {
  // Puts this error under erreurParente, which becomes a new TErreur with the message when absent.
  virtual void AjouterAErreur(TRef<IErreur>& erreurParente, const std::wstring& message) = 0;
};

struct IExceptionAvecResultat : IUnknown {
  virtual TRef<IResultat> GetResultat() = 0;
};

}  // namespace norvel

NORVEL_GUID(norvel::IErreur, 0x7ede7c0d, 0x59e9, 0x48a2, 0x9f, 0x86, 0xdb, 0x57, 0x50, 0xd8, 0x11, 0x17)
NORVEL_GUID(norvel::IExceptionAvecResultat, 0xc275f90d, 0x68f5, 0x418e, 0x82, 0xdf, 0xa3, 0x28, 0x05, 0x60, 0xc4,
            0x96)

namespace norvel {

// The result behaviour, over the interface that a class answers (IResultat, or IErreur which
// extends it): a message-less success with children held in insertion order.
template <class IBase>
class TResultatDe : public TImplemente<TObjetInterfacable, IBase, ISerialisable> {
 public:
  TResultatDe() = default;

  std::wstring GetMessage() override { return std::wstring(); }
  bool EstErreur() override { return false; }
  bool EstAnnulation() override { return false; }
  int GetNbResultatsFils() override { return static_cast<int>(FResultatsFils.size()); }
  TypeResultats GetResultatsFils() override { return FResultatsFils; }
  TypeResultats GetTousResultatsDescendants() override;
  std::unique_ptr<EResultat> CreerException() override;
  // An absent result is ignored; one that would become its own descendant is refused.
  void AjouterResultatFils(IResultat* resultat) override;
  void AjouterAResultatParent(IResultat* parent) override;

  // The number of children, then each child.
  void Ecrire(TEcrivainSerialisation& ecrivain) override;
  void Lire(TLecteurSerialisation& lecteur) override;

 protected:
  bool ObtenirInterface(REFIID iid, void** resultat) override;
  IResultat* CommeResultat() { return static_cast<IBase*>(this); }

 private:
  TypeResultats FResultatsFils;
};

extern template class TResultatDe<IResultat>;
extern template class TResultatDe<IErreur>;

class TResultat : public TResultatDe<IResultat> {};

class TErreur_ : public TResultatDe<IErreur> {
 public:
  bool EstErreur() override { return true; }
  void AjouterAErreur(TRef<IErreur>& erreurParente, const std::wstring& message) override;
};

class TErreur : public TErreur_ {
 public:
  TErreur() = default;
  explicit TErreur(std::wstring message) : FMessage(std::move(message)) {}
  std::wstring GetMessage() override { return FMessage; }

  // The children, then the message.
  void Ecrire(TEcrivainSerialisation& ecrivain) override;
  void Lire(TLecteurSerialisation& lecteur) override;

 private:
  std::wstring FMessage;
};

class TErreurAnnulation : public TErreur {
 public:
  using TErreur::TErreur;
  bool EstAnnulation() override { return true; }
};

// An exception carrying a result; its message is the result's.
class EResultat : public EExceptionSerialisable, public IExceptionAvecResultat {
 public:
  EResultat() = default;
  explicit EResultat(TRef<IResultat> resultat);

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** resultat) override {
    return EExceptionSerialisable::QueryInterface(iid, resultat);
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }

  TRef<IResultat> GetResultat() override { return FResultat; }
  // The enclosing operation's result takes the current one as a child and becomes the
  // exception's result and message: an error met deep down is wrapped as it propagates.
  void AjouterResultatParent(const TRef<IResultat>& resultat);

  // The message, then the result.
  void Ecrire(TEcrivainSerialisation& ecrivain) override;
  void Lire(TLecteurSerialisation& lecteur) override;
  [[noreturn]] void Lever() const override { throw *this; }

 protected:
  bool ObtenirInterface(REFIID iid, void** resultat) override;

 private:
  TRef<IResultat> FResultat;
};

// Its class marks a cancellation.
class EResultatAnnulation : public EResultat {
 public:
  using EResultat::EResultat;
  [[noreturn]] void Lever() const override { throw *this; }
};

// Makes results and serialisable exceptions readable; called once at start-up.
void DeclarerClassesSerialisables();

}  // namespace norvel
