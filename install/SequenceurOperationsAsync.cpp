#include "install/SequenceurOperationsAsync.h"

#include <algorithm>

#include "core/ErreurSysteme.h"

namespace norvel {

namespace {
DWORD DelaiAttente(int64_t resteMs) {
  return static_cast<DWORD>(std::min<int64_t>(resteMs, INFINITE - 1));
}
}  // namespace

TSequenceurOperationsAsync::~TSequenceurOperationsAsync() { AnnulerEtAttendre(); }

void TSequenceurOperationsAsync::AnnulerEtAttendre() noexcept {
  while (!FListeParamOperations.empty()) {
    const size_t avant = FListeParamOperations.size();
    try {
      DemanderAnnulationOperations();
      Boucler(0);
    } catch (...) {
      // An end that failed took its operation out of the list: go on with the others. A wait
      // that failed took none: the system may still write into their buffers, so they are
      // left allocated rather than freed under its feet.
      if (FListeParamOperations.size() >= avant) {
        for (auto& param : FListeParamOperations) param.release();
        FListeParamOperations.clear();
      }
    }
  }
}

void TSequenceurOperationsAsync::AjouterParamOperation(std::unique_ptr<TParamOperationAsync> AParam) {
  FListeParamOperations.push_back(std::move(AParam));
}

std::unique_ptr<TParamOperationAsync> TSequenceurOperationsAsync::EnleverParamOperation(
    TParamOperationAsync* AParam) {
  const auto it = std::find_if(FListeParamOperations.begin(), FListeParamOperations.end(),
                               [AParam](const auto& p) { return p.get() == AParam; });
  if (it == FListeParamOperations.end()) return nullptr;
  auto param = std::move(*it);
  FListeParamOperations.erase(it);
  return param;
}

bool TSequenceurOperationsAsync::Boucler(int64_t ADureeMax) {
  const bool avecLimite = ADureeMax > 0;
  const uint64_t echeance = avecLimite ? GetTickCount64() + static_cast<uint64_t>(ADureeMax) : 0;
  DWORD delai = avecLimite ? DelaiAttente(ADureeMax) : INFINITE;
  std::vector<HANDLE> attendables;
  for (;;) {
    if (FListeParamOperations.empty()) return true;
    attendables.clear();
    for (const auto& param : FListeParamOperations) attendables.push_back(param->Attendable());
    const DWORD nombre = static_cast<DWORD>(attendables.size());
    const DWORD resultat = WaitForMultipleObjects(nombre, attendables.data(), FALSE, delai);
    if (resultat == WAIT_TIMEOUT) return false;
    if (resultat >= WAIT_OBJECT_0 + nombre) throw ErreurSysteme(L"WaitForMultipleObjects");

    // Out of the list before its end runs, so that its end may add the operation that follows.
    auto param = std::move(FListeParamOperations[resultat - WAIT_OBJECT_0]);
    FListeParamOperations.erase(FListeParamOperations.begin() + (resultat - WAIT_OBJECT_0));
    param->Terminer();
    param.reset();

    if (avecLimite) {
      // All done counts as done even when the last end came after the deadline.
      if (FListeParamOperations.empty()) return true;
      const int64_t reste = static_cast<int64_t>(echeance - GetTickCount64());
      if (reste <= 0) return false;
      delai = DelaiAttente(reste);
    }
  }
}

void TSequenceurOperationsAsync::DemanderAnnulationOperations() {
  for (const auto& param : FListeParamOperations) param->DemanderAnnulation();
}

}  // namespace norvel
