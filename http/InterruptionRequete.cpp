#include "http/InterruptionRequete.h"

#include "core/ErreurSysteme.h"
#include "http/RequeteHttp.h"

namespace norvel {

TInterruptionRequete::TInterruptionRequete()
    : FEvenement(VerifierHandle(CreateEventW(nullptr, TRUE, FALSE, nullptr), L"CreateEvent")) {}

void TInterruptionRequete::Demander() {
  std::lock_guard verrou(FVerrou);
  FDemandee = true;
  SetEvent(FEvenement.Get());
  if (FRequete) FRequete->Interrompre();
}

bool TInterruptionRequete::Patienter(DWORD millisecondes) const {
  return WaitForSingleObject(FEvenement.Get(), millisecondes) == WAIT_TIMEOUT;
}

TInterruptionRequete::TBranchement::TBranchement(TInterruptionRequete* interruption, TRequeteHttp& requete)
    : FInterruption(interruption) {
  if (!FInterruption) return;
  std::lock_guard verrou(FInterruption->FVerrou);
  FInterruption->FRequete = &requete;
  if (FInterruption->FDemandee) requete.Interrompre();
}

TInterruptionRequete::TBranchement::~TBranchement() {
  if (!FInterruption) return;
  std::lock_guard verrou(FInterruption->FVerrou);
  FInterruption->FRequete = nullptr;
}

}  // namespace norvel
