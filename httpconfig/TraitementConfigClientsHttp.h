#pragma once
// The treatments driven by the configuration thread: each owns worker threads that do the slow
// work (HTTP tests, proxy evaluations); a worker that ends wakes the configuration thread,
// which calls Traiter on every registered treatment under its lock; the treatment that has all
// its results signals its waiter.
//
// Reference counts are plain integers. A treatment is therefore referenced by the thread that
// created it and, while it is registered, by the configuration thread under its lock only.
// AttendreTraitement keeps that order: the waiter takes its references before registering the
// treatment and drops them after it saw it achieved under the lock, when the configuration
// thread no longer holds any. Treatments owned by a group live and die with their group.
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "platform/Attente.h"
#include "platform/OvThread.h"
#include "core/Chaines.h"
#include "core/ObjetInterfacable.h"
#include "httpconfig/ThreadConfigClientsHttp.h"

namespace norvel {

class TTraitementConfigClientsHttp : public TImplemente<TObjetInterfacable, ITraitementConfigClientsHttp> {
 public:
  // reveilThread: woken once the results are complete; none for the treatments of a group,
  // whose owner looks at them itself.
  explicit TTraitementConfigClientsHttp(TRef<IReveilThread> reveilThread);

  bool Acheve() override { return FAcheve; }

 protected:
  // Freezes the results and wakes the waiter.
  void SignalerAcheve();

 private:
  std::atomic<bool> FAcheve{false};
  TRef<IReveilThread> FReveilThread;
};

// A treatment answering its own interface I, derived from ITraitementConfigClientsHttp: Acheve
// is the base's for both; the concrete class overrides Traiter, which serves both.
template <class I>
class TImplementeTraitement : public TImplemente<TTraitementConfigClientsHttp, I> {
 public:
  using TImplemente<TTraitementConfigClientsHttp, I>::TImplemente;
  bool Acheve() override { return TTraitementConfigClientsHttp::Acheve(); }
};

// The base of the treatments' workers: created suspended and started by their treatment once
// it is complete; when the work has ended, the configuration thread is signalled so that the
// treatment collects the results. A derived worker calls TerminerEtAttendre in its destructor.
class TThreadTraitementConfigClientsHttp : public TOvThread {
 public:
  explicit TThreadTraitementConfigClientsHttp(TThreadConfigClientsHttp& threadConfig);

 protected:
  TThreadConfigClientsHttp& FThreadConfig;
};

// The end of the wait for a treatment: it is achieved, or the configuration thread has ended,
// whose exception is then raised in the waiter (taken over; "Aucun message" when it has none).
class TConditionFinDAttenteTraitementConfigClientsHttp
    : public TImplemente<TObjetInterfacable, IConditionFinDAttente> {
 public:
  TConditionFinDAttenteTraitementConfigClientsHttp(TThreadConfigClientsHttp& threadConfig,
                                                   TRef<ITraitementConfigClientsHttp> traitement);
  bool EstAtteinte(bool arretApplication, bool enInactivite) override;

 private:
  TThreadConfigClientsHttp& FThreadConfig;
  TRef<ITraitementConfigClientsHttp> FTraitement;
};

// The walk of a group over its treatments: Traiter on each one not achieved yet, in order; true
// when all are achieved after it.
template <class T>
bool MenerTraitements(const std::vector<TRef<T>>& traitements, TypeConfigClientsHttp& config) {
  bool tousAcheves = true;
  for (const TRef<T>& traitement : traitements) {
    if (!traitement->Acheve()) traitement->Traiter(config);
    tousAcheves = tousAcheves && traitement->Acheve();
  }
  return tousAcheves;
}

// The first element of a group whose key (cleDe(element): a URL, a proxy, an address) equals
// `cle` without regard to case; null when there is none.
template <class Liste, class CleDe>
auto TrouverParCle(const Liste& liste, std::wstring_view cle, CleDe cleDe) -> decltype(&*liste.begin()) {
  for (const auto& element : liste)
    if (MemeTexteSansCasse(cleDe(element), cle)) return &element;
  return nullptr;
}

// While the configuration thread runs, the waited work's own waker ends a wait. When that
// thread dies instead, nobody would wake a worker that waits: it looks again this often.
inline constexpr int64_t PeriodeVerificationThreadConfig = 1000;

// Registers the treatment and waits until it is achieved, on the caller's waiting object (the
// treatment's waker). Raises the configuration thread's exception when that thread ended first.
void AttendreTraitement(IAttente* attente, TThreadConfigClientsHttp& threadConfig,
                        ITraitementConfigClientsHttp* traitement);

}  // namespace norvel
