#include "httpconfig/TraitementConfigClientsHttp.h"

#include <exception>

namespace norvel {

namespace {

// A worker's waker: its end signals the configuration thread. It runs as the worker's last act,
// after the finished flag is set, so the treatment finds the worker finished.
class TReveilThreadConfig : public TImplemente<TObjetInterfacable, IReveilThread> {
 public:
  explicit TReveilThreadConfig(TThreadConfigClientsHttp& threadConfig) : FThreadConfig(threadConfig) {}
  void Reveiller(const void*) override {
    // Nothing may escape a worker; SetEvent on a live event does not fail.
    try {
      FThreadConfig.SignalerEvenement();
    } catch (...) {
    }
  }

 private:
  TThreadConfigClientsHttp& FThreadConfig;
};

}  // namespace

TTraitementConfigClientsHttp::TTraitementConfigClientsHttp(TRef<IReveilThread> reveilThread)
    : FReveilThread(std::move(reveilThread)) {}

void TTraitementConfigClientsHttp::SignalerAcheve() {
  FAcheve = true;
  if (FReveilThread) FReveilThread->Reveiller(this);
}

TThreadTraitementConfigClientsHttp::TThreadTraitementConfigClientsHttp(TThreadConfigClientsHttp& threadConfig)
    : TOvThread(NouvelObjet<TReveilThreadConfig>(threadConfig), false), FThreadConfig(threadConfig) {}

TConditionFinDAttenteTraitementConfigClientsHttp::TConditionFinDAttenteTraitementConfigClientsHttp(
    TThreadConfigClientsHttp& threadConfig, TRef<ITraitementConfigClientsHttp> traitement)
    : FThreadConfig(threadConfig), FTraitement(std::move(traitement)) {}

bool TConditionFinDAttenteTraitementConfigClientsHttp::EstAtteinte(bool, bool) {
  // Achieved first: a thread that stopped normally after collecting this treatment must not
  // turn a complete result into a failure.
  if (FThreadConfig.TraitementAcheve(FTraitement.Get())) return true;
  if (FThreadConfig.Fini()) std::rethrow_exception(FThreadConfig.GetExceptionNonGeree(true, true));
  return false;
}

void AttendreTraitement(IAttente* attente, TThreadConfigClientsHttp& threadConfig,
                        ITraitementConfigClientsHttp* traitement) {
  const TRef<IConditionFinDAttente> condition =
      NouvelObjet<TConditionFinDAttenteTraitementConfigClientsHttp>(threadConfig, traitement);
  threadConfig.AjouterTraitement(traitement);
  attente->Attendre(condition.Get(), PeriodeVerificationThreadConfig);
}

}  // namespace norvel
