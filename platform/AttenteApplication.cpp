#include "platform/AttenteApplication.h"

#include <algorithm>

namespace norvel {

void TAttenteApplicationFmx::Attendre(IConditionFinDAttente* condition, int64_t delaiReveil) {
  auto& application = TApplicationGraphique::Instance();
  const UINT ancienIntervalle = FTimer.Intervalle();
  bool intervalleChange = false;
  if (application.Terminee()) {
    FTimer.SetIntervalle(0);
  } else if (delaiReveil > 0) {
    const UINT delai = static_cast<UINT>(std::min<int64_t>(delaiReveil, USER_TIMER_MAXIMUM));
    if (ancienIntervalle == 0 || ancienIntervalle > delai) {
      FTimer.SetIntervalle(delai);
      intervalleChange = true;
    }
  }
  // Restores the count and the timer however the wait ends.
  struct TFin {
    TAttenteApplicationFmx& FAttente;
    TApplicationGraphique& FApplication;
    UINT FAncien;
    bool FChange;
    TCompteAttente FCompte{FAttente};
    ~TFin() {
      if (FApplication.Terminee())
        FAttente.FTimer.SetIntervalle(0);
      else if (FChange)
        FAttente.FTimer.SetIntervalle(FAncien);
    }
  } fin{*this, application, ancienIntervalle, intervalleChange};
  while (!condition->EstAtteinte(application.Terminee(), false)) application.Iterer(condition);
}

}  // namespace norvel
