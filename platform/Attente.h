#pragma once
// Waiting for work done elsewhere. A waiter calls IAttente::Attendre with a condition; the
// thread or callback that completes the work updates the state the condition reads, then
// calls Reveiller so that the waiter asks the condition again. On the main thread the wait
// keeps the window alive (see AttenteApplication.h); on a worker it sleeps on an event.
// Nothing in this header depends on the user interface.
#include <windows.h>

#include <cstdint>
#include <functional>

#include "core/Handle.h"
#include "core/ObjetInterfacable.h"

namespace norvel {

struct IReveilThread : IUnknown {
  // Safe from any thread. The emitter (a thread, a treatment object) is for information only.
  virtual void Reveiller(const void* emetteur) = 0;
};

struct IConditionFinDAttente : IUnknown {
  // enInactivite false: true ends the wait. enInactivite true (asked from an idle step):
  // true means that work is pending and keeps the loop from sleeping. arretApplication tells
  // the condition that the program is closing; a condition that can be interrupted then
  // answers true.
  virtual bool EstAtteinte(bool arretApplication, bool enInactivite) = 0;
};

}  // namespace norvel

NORVEL_GUID(norvel::IReveilThread, 0x7A54F219, 0xAD74, 0x47D7, 0x8D, 0xFD, 0x56, 0x8C, 0xED, 0x38, 0xC4, 0x7A)
NORVEL_GUID(norvel::IConditionFinDAttente, 0x3A396640, 0x40FE, 0x44EA, 0xBF, 0x9E, 0x1B, 0xBC, 0x07, 0x56, 0x2A, 0x9B)

namespace norvel {

struct IAttente : IReveilThread {
  // Only the thread that owns the waiting object calls it. delaiReveil > 0 also wakes the
  // waiter every delaiReveil milliseconds; 0 leaves every wake-up to Reveiller.
  virtual void Attendre(IConditionFinDAttente* condition, int64_t delaiReveil) = 0;
  // True while at least one Attendre of this object runs.
  virtual bool AttenteEnCours() = 0;
  // Never asked by the program; kept for the layout of the interface. Always false here.
  virtual bool AttenteInterrompue() = 0;
  // The implementing object.
  virtual TObjetInterfacable* ObjetAttente() = 0;
};

}  // namespace norvel

NORVEL_GUID(norvel::IAttente, 0x6D833844, 0x7B19, 0x415A, 0x8A, 0x8E, 0x41, 0x18, 0x1C, 0xDF, 0x1B, 0x18)

namespace norvel {

// What both waits share: the nested-wait count and the interface answers.
class TAttenteBase : public TImplemente<TObjetInterfacable, IAttente> {
 public:
  bool AttenteEnCours() override { return FCompteurAttentesEnCours > 0; }
  bool AttenteInterrompue() override { return false; }
  TObjetInterfacable* ObjetAttente() override { return this; }

 protected:
  // IAttente also answers for its parent IReveilThread.
  bool ObtenirInterface(REFIID iid, void** resultat) override;

  // Counts one running wait for the lifetime of the guard, exceptions included.
  class TCompteAttente {
   public:
    explicit TCompteAttente(TAttenteBase& attente) : FAttente(attente) { ++FAttente.FCompteurAttentesEnCours; }
    ~TCompteAttente() { --FAttente.FCompteurAttentesEnCours; }
    TCompteAttente(const TCompteAttente&) = delete;
    TCompteAttente& operator=(const TCompteAttente&) = delete;

   private:
    TAttenteBase& FAttente;
  };

  int32_t FCompteurAttentesEnCours = 0;
};

// The wait of a worker thread: sleeps on an automatic-reset event. A wake-up given before the
// waiter sleeps is kept by the event, so the next sleep returns at once.
class TAttenteBloquante : public TAttenteBase {
 public:
  TAttenteBloquante();

  void Attendre(IConditionFinDAttente* condition, int64_t delaiReveil) override;
  void Reveiller(const void* emetteur) override;

 protected:
  struct TypeModeAttente {
    bool FDormirSurEvenement = true;
    bool FDemanderInactivite = false;
  };
  // The program keeps the default: sleep on the event, never ask the idle question.
  virtual TypeModeAttente ModeAttente() { return {}; }

 private:
  THandle FEvenement;
};

// A condition made of a function, for waits whose state is a flag or a small check.
class TConditionFinDAttenteFonction : public TImplemente<TObjetInterfacable, IConditionFinDAttente> {
 public:
  using TypeFonction = std::function<bool(bool arretApplication, bool enInactivite)>;
  explicit TConditionFinDAttenteFonction(TypeFonction fonction) : FFonction(std::move(fonction)) {}
  bool EstAtteinte(bool arretApplication, bool enInactivite) override {
    return FFonction(arretApplication, enInactivite);
  }

 private:
  TypeFonction FFonction;
};

// A condition that holds when `atteinte` answers true, asked the same way in every mode (a
// true answer in an idle step keeps the loop awake so that the wait ends at once) and deaf to
// the closing of the program.
TRef<IConditionFinDAttente> ConditionFinDAttente(std::function<bool()> atteinte);

// The wake-up of the main thread's loop, installed by the user interface when it runs one.
// Worker threads created without a waiter call it when they end.
using TypeProcReveilBouclePrincipale = void (*)();
void InstallerReveilBouclePrincipale(TypeProcReveilBouclePrincipale proc);
// Does nothing when no loop installed a wake-up. Safe from any thread.
void ReveillerBouclePrincipale();

}  // namespace norvel
