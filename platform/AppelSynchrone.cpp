#include "platform/AppelSynchrone.h"

#include <atomic>
#include <exception>
#include <memory>

#include "platform/ApplicationGraphique.h"
#include "core/ErreurSysteme.h"
#include "core/Handle.h"

namespace norvel {

namespace {
// How often a waiting worker looks whether the loop has ended.
constexpr DWORD IntervalleVerificationMs = 100;

enum TypeEtatAppel : int { eaEnFile, eaEnCours, eaTermine, eaAbandonne };

struct TypeAppelEnFile {
  const std::function<void()>* Appel = nullptr;  // the caller's, valid while it waits
  std::atomic<int> Etat = eaEnFile;
  std::exception_ptr Exception;
  THandle Fin;
};
}  // namespace

bool ExecuterSurThreadPrincipal(const std::function<void()>& appel) {
  if (!TApplicationGraphique::Existe()) return false;
  auto& application = TApplicationGraphique::Instance();
  if (application.EstThreadPrincipal()) {
    appel();
    return true;
  }
  auto etat = std::make_shared<TypeAppelEnFile>();
  etat->Appel = &appel;
  etat->Fin.Reinitialiser(VerifierPointeur(CreateEventW(nullptr, TRUE, FALSE, nullptr), L"CreateEvent"));
  TApplicationGraphique::AppelerSurThreadPrincipal([etat] {
    // The worker may have given up already: its call is then gone.
    int attendu = eaEnFile;
    if (!etat->Etat.compare_exchange_strong(attendu, eaEnCours)) return;
    try {
      (*etat->Appel)();
    } catch (...) {
      etat->Exception = std::current_exception();
    }
    etat->Etat = eaTermine;
    SetEvent(etat->Fin.Get());
  });
  for (;;) {
    if (WaitForSingleObject(etat->Fin.Get(), IntervalleVerificationMs) == WAIT_OBJECT_0) break;
    // A call already running is waited for: it ends with the loop (a modal form closes then).
    int attendu = eaEnFile;
    if (application.Terminee() && etat->Etat.compare_exchange_strong(attendu, eaAbandonne)) return false;
  }
  if (etat->Exception) std::rethrow_exception(etat->Exception);
  return true;
}

}  // namespace norvel
