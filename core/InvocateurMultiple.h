#pragma once
// Multicast invokers: an ordered list of subscribers and a broadcaster of the subscribers' own
// type; a call on the broadcaster is passed on to every subscriber with the same arguments.
// Subscribers are interfaces (the broadcaster is then an object implementing the interface)
// or bound methods (the broadcaster is a bound method of the same signature).
//
// A broadcast takes a snapshot of the list and goes through a first-in first-out queue owned
// by the invoker: a subscriber that broadcasts again while it is told gets its deliveries
// queued behind those still pending, so every subscriber sees one invoker's events in the
// order in which they were raised. No lock: one thread at a time.
//
// The broadcaster of an interface is written once per interface, one line per operation:
//   template <> class TConcentrateurInvocateurMultiple<IAbonneX> : public TConcentrateurDInterface<IAbonneX> {
//    public:
//     using TConcentrateurDInterface::TConcentrateurDInterface;
//     void SurEvenement(int a) override { Diffuser(&IAbonneX::SurEvenement, a); }
//   };
#include <array>
#include <cstring>
#include <deque>
#include <exception>
#include <functional>
#include <map>
#include <memory>
#include <tuple>
#include <type_traits>
#include <typeindex>
#include <vector>

#include "core/ObjetInterfacable.h"

namespace norvel {

enum TypeGestionExceptionInvocationMultiple {
  geiAbandonner,  // the first error stops the broadcast and reaches the caller
  geiPoursuivre,  // errors are dropped and every subscriber is called
};

// A bound method: an object and a method of a given signature, equal to another when both the
// object and the code are the same. Tag makes notifications of one signature distinct types.
template <class Signature, class Tag = void>
class TypePtrMethode;

template <class... Args, class Tag>
class TypePtrMethode<void(Args...), Tag> {
 public:
  TypePtrMethode() = default;
  template <class T>
  TypePtrMethode(T* objet, void (T::*methode)(Args...)) : FObjet(objet) {
    static_assert(sizeof(methode) <= sizeof(FCode));
    std::memcpy(FCode.data(), &methode, sizeof(methode));
    FAppel = [objet, methode](Args... arguments) { (objet->*methode)(arguments...); };
  }
  // Any callable, known by an identity of the caller's choice.
  static TypePtrMethode Lier(const void* identite, std::function<void(Args...)> appel) {
    TypePtrMethode m;
    m.FObjet = identite;
    m.FAppel = std::move(appel);
    return m;
  }

  void operator()(Args... arguments) const { FAppel(arguments...); }
  explicit operator bool() const { return static_cast<bool>(FAppel); }
  friend bool operator==(const TypePtrMethode& a, const TypePtrMethode& b) {
    return a.FObjet == b.FObjet && a.FCode == b.FCode;
  }

 private:
  const void* FObjet = nullptr;
  std::array<unsigned char, 2 * sizeof(void*)> FCode{};
  std::function<void(Args...)> FAppel;
};

namespace detail {
template <class T>
struct TypeAbonneDe {
  using Type = T;  // a bound method
};
template <class T>
  requires std::is_base_of_v<IUnknown, T>
struct TypeAbonneDe<T> {
  using Type = TRef<T>;  // an interface
};
}  // namespace detail

// T is the subscriber interface, or a TypePtrMethode.
template <class T>
struct IInvocateurMultiple : IUnknown {
  using TypeAbonne = typename detail::TypeAbonneDe<T>::Type;
  // The object to call as if it were one subscriber.
  virtual TypeAbonne Diffuseur() = 0;
  virtual int NombreAbonnes() = 0;
  // At the end of the list, or at its head; false (and nothing changes) when already there.
  virtual bool Abonner(const TypeAbonne& abonne, bool enPremier) = 0;
  virtual bool Desabonner(const TypeAbonne& abonne) = 0;
  virtual void DesabonnerTous() = 0;
  // Broadcasts are ignored while suspended (the calls nest).
  virtual void Suspendre() = 0;
  virtual void Reprendre() = 0;
};

// One pending delivery of the invoker's queue.
class TInvocationMultiple {
 public:
  virtual ~TInvocationMultiple() = default;
  virtual void Traiter() = 0;
};

// The queue of deliveries, first in, first out. Destroying it first runs what is still queued.
class TPileInvocationsMultiples {
 public:
  ~TPileInvocationsMultiples() { Vider(); }
  void Empiler(std::unique_ptr<TInvocationMultiple> invocation) { FFile.push_back(std::move(invocation)); }
  void Vider() {
    while (!FFile.empty()) {
      auto tete = std::move(FFile.front());
      FFile.pop_front();
      tete->Traiter();
    }
  }

 private:
  std::deque<std::unique_ptr<TInvocationMultiple>> FFile;
};

// The list, the queue, the suspension and the broadcast shared by both variants.
template <class T>
class TObjInvocateurMultiple : public TObjetInterfacable, public IInvocateurMultiple<T> {
 public:
  using TypeAbonne = typename IInvocateurMultiple<T>::TypeAbonne;
  using TypeAppel = std::function<void(const TypeAbonne&)>;

  explicit TObjInvocateurMultiple(TypeGestionExceptionInvocationMultiple gestionException)
      : FGestionException(gestionException) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** resultat) override {
    return TObjetInterfacable::QueryInterface(iid, resultat);
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return TObjetInterfacable::AddRef(); }
  ULONG STDMETHODCALLTYPE Release() override { return TObjetInterfacable::Release(); }

  int NombreAbonnes() override { return static_cast<int>(FAbonnes.size()); }
  bool Abonner(const TypeAbonne& abonne, bool enPremier) override {
    if (Position(abonne) != FAbonnes.end()) return false;
    FAbonnes.insert(enPremier ? FAbonnes.begin() : FAbonnes.end(), abonne);
    return true;
  }
  bool Desabonner(const TypeAbonne& abonne) override {
    const auto it = Position(abonne);
    if (it == FAbonnes.end()) return false;
    FAbonnes.erase(it);
    return true;
  }
  void DesabonnerTous() override { FAbonnes.clear(); }
  void Suspendre() override { ++FCompteurSuspension; }
  void Reprendre() override { --FCompteurSuspension; }

  // Calls `appel` on every subscriber of the list as it stands now.
  void Diffuser(TypeAppel appel) {
    if (FCompteurSuspension > 0) return;
    const TRef<IInvocateurMultiple<T>> vivant(this);
    std::exception_ptr erreur;
    auto partage = std::make_shared<TypeAppel>(std::move(appel));
    for (const auto& abonne : FAbonnes)
      FPile.Empiler(std::make_unique<TLivraison>(abonne, partage, FGestionException == geiAbandonner ? &erreur : nullptr));
    FPile.Vider();
    if (erreur) std::rethrow_exception(erreur);
  }

 protected:
  // Runs what is still queued; the variants call it before they destroy their broadcaster.
  void ViderPile() { FPile.Vider(); }

 private:
  class TLivraison : public TInvocationMultiple {
   public:
    TLivraison(TypeAbonne abonne, std::shared_ptr<TypeAppel> appel, std::exception_ptr* ptrException)
        : FAbonne(std::move(abonne)), FAppel(std::move(appel)), FPtrException(ptrException) {}
    void Traiter() override {
      // Once its broadcast failed, the remaining deliveries of that broadcast are skipped.
      if (FPtrException && *FPtrException) return;
      try {
        (*FAppel)(FAbonne);
      } catch (...) {
        if (FPtrException) *FPtrException = std::current_exception();
      }
    }

   private:
    TypeAbonne FAbonne;
    std::shared_ptr<TypeAppel> FAppel;
    std::exception_ptr* FPtrException;
  };

  typename std::vector<TypeAbonne>::iterator Position(const TypeAbonne& abonne) {
    for (auto it = FAbonnes.begin(); it != FAbonnes.end(); ++it)
      if (*it == abonne) return it;
    return FAbonnes.end();
  }

  TypeGestionExceptionInvocationMultiple FGestionException;
  TPileInvocationsMultiples FPile;
  std::vector<TypeAbonne> FAbonnes;
  int FCompteurSuspension = 0;
};

template <class I>
class TObjInvocateurMultipleInterface;

// Base of the broadcasters of interfaces. Its references count on the invoker, so a
// broadcaster handed out keeps its invoker alive; asked for the subscriber interface, it
// answers itself.
template <class I>
class TConcentrateurDInterface : public TImplemente<TObjetInterfacable, I> {
 public:
  explicit TConcentrateurDInterface(TObjInvocateurMultiple<I>& invocateur) : FInvocateur(invocateur) {}

 protected:
  // One operation of the interface, with the caller's arguments, to every subscriber; each
  // delivery gets its own copy of the arguments.
  template <class Methode, class... A>
  void Diffuser(Methode methode, A&&... arguments) {
    FInvocateur.Diffuser([methode, valeurs = std::make_tuple(std::decay_t<A>(std::forward<A>(arguments))...)](
                             const TRef<I>& abonne) {
      auto copie = valeurs;
      std::apply([&](auto&... v) { std::invoke(methode, abonne.Get(), v...); }, copie);
    });
  }

 private:
  TObjInvocateurMultiple<I>& FInvocateur;
};

// Specialised once per subscriber interface (see the top of this file).
template <class I>
class TConcentrateurInvocateurMultiple;

template <class I>
class TObjInvocateurMultipleInterface : public TObjInvocateurMultiple<I> {
 public:
  explicit TObjInvocateurMultipleInterface(TypeGestionExceptionInvocationMultiple gestionException)
      : TObjInvocateurMultiple<I>(gestionException), FConcentrateur(new TConcentrateurInvocateurMultiple<I>(*this)) {
    FConcentrateur->TerminerConstruction();
    FConcentrateur->AffecterConteneur(static_cast<IAvecConteneur*>(this), false);
  }
  ~TObjInvocateurMultipleInterface() override { this->ViderPile(); }

  TRef<I> Diffuseur() override { return TRef<I>(static_cast<I*>(FConcentrateur.get())); }

 private:
  std::unique_ptr<TConcentrateurInvocateurMultiple<I>> FConcentrateur;
};

template <class M>
class TObjInvocateurMultiplePtrMethode;

template <class... Args, class Tag>
class TObjInvocateurMultiplePtrMethode<TypePtrMethode<void(Args...), Tag>>
    : public TObjInvocateurMultiple<TypePtrMethode<void(Args...), Tag>> {
 public:
  using TypeMethode = TypePtrMethode<void(Args...), Tag>;
  using TObjInvocateurMultiple<TypeMethode>::TObjInvocateurMultiple;
  ~TObjInvocateurMultiplePtrMethode() override { this->ViderPile(); }

  // The broadcaster holds the invoker: calling it can never reach a destroyed invoker.
  TypeMethode Diffuseur() override {
    TRef<TObjInvocateurMultiplePtrMethode> invocateur(this);
    return TypeMethode::Lier(this, [invocateur](Args... arguments) {
      invocateur->Diffuser([valeurs = std::make_tuple(std::decay_t<Args>(arguments)...)](const TypeMethode& abonne) {
        auto copie = valeurs;
        std::apply(abonne, copie);
      });
    });
  }
};

// An invoker for the subscriber type T: an interface or a TypePtrMethode.
template <class T>
TRef<IInvocateurMultiple<T>> CreerInvocateur(TypeGestionExceptionInvocationMultiple gestionException) {
  if constexpr (std::is_base_of_v<IUnknown, T>)
    return TRef<IInvocateurMultiple<T>>(NouvelObjet<TObjInvocateurMultipleInterface<T>>(gestionException).Get());
  else
    return TRef<IInvocateurMultiple<T>>(NouvelObjet<TObjInvocateurMultiplePtrMethode<T>>(gestionException).Get());
}

// Invokers shared per subscriber type, all with the same error policy.
class TGestionnaireInvocateursMultiples {
 public:
  explicit TGestionnaireInvocateursMultiples(TypeGestionExceptionInvocationMultiple gestionException)
      : FGestionException(gestionException) {}

  template <class T>
  TRef<IInvocateurMultiple<T>> GetInvocateur() {
    auto& invocateur = FDictParType[std::type_index(typeid(T))];
    if (!invocateur) invocateur = TRef<IUnknown>(static_cast<IUnknown*>(CreerInvocateur<T>(FGestionException).Get()));
    return TRef<IInvocateurMultiple<T>>(static_cast<IInvocateurMultiple<T>*>(invocateur.Get()));
  }
  TypeGestionExceptionInvocationMultiple GestionException() const { return FGestionException; }

 private:
  TypeGestionExceptionInvocationMultiple FGestionException;
  std::map<std::type_index, TRef<IUnknown>> FDictParType;
};

}  // namespace norvel
