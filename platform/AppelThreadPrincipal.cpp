#include "platform/AppelThreadPrincipal.h"

#include <exception>

#include "platform/ApplicationGraphique.h"
#include "core/ErreurSysteme.h"
#include "core/Handle.h"

namespace norvel {

namespace {
// How often a waiting worker looks whether the loop has ended.
constexpr DWORD IntervalleVerificationMs = 100;

enum class TypeEtatAppel : int { EnFile, EnCours, Termine, Abandonne };

struct TypeAppelAttendu {
  const std::function<void()>* Appel = nullptr;  // the caller's, valid while it waits
  std::atomic<TypeEtatAppel> Etat = TypeEtatAppel::EnFile;
  std::exception_ptr Exception;
  THandle Fin;
};
}  // namespace

bool AppelerSurThreadPrincipal(std::function<void()> appel) {
  if (!TApplicationGraphique::Existe()) return false;  // no main thread loop: nobody would run it
  TApplicationGraphique::Instance().MettreEnFile(std::move(appel));
  return true;
}

bool ExecuterSurThreadPrincipal(const std::function<void()>& appel) {
  if (!TApplicationGraphique::Existe()) return false;
  auto& application = TApplicationGraphique::Instance();
  if (application.EstThreadPrincipal()) {
    appel();
    return true;
  }
  auto etat = std::make_shared<TypeAppelAttendu>();
  etat->Appel = &appel;
  etat->Fin.Reinitialiser(VerifierPointeur(CreateEventW(nullptr, TRUE, FALSE, nullptr), L"CreateEvent"));
  AppelerSurThreadPrincipal([etat] {
    // The worker may have given up already: its call is then gone.
    auto attendu = TypeEtatAppel::EnFile;
    if (!etat->Etat.compare_exchange_strong(attendu, TypeEtatAppel::EnCours)) return;
    try {
      (*etat->Appel)();
    } catch (...) {
      etat->Exception = std::current_exception();
    }
    etat->Etat = TypeEtatAppel::Termine;
    SetEvent(etat->Fin.Get());
  });
  for (;;) {
    if (WaitForSingleObject(etat->Fin.Get(), IntervalleVerificationMs) == WAIT_OBJECT_0) break;
    // A call already running is waited for: it ends with the loop (a modal form closes then).
    auto attendu = TypeEtatAppel::EnFile;
    if (application.Terminee() && etat->Etat.compare_exchange_strong(attendu, TypeEtatAppel::Abandonne)) return false;
  }
  if (etat->Exception) std::rethrow_exception(etat->Exception);
  return true;
}

void TAdresseAppels::Poster(std::function<void()> appel) const {
  AppelerSurThreadPrincipal([ouverte = FOuverte, appel = std::move(appel)] {
    if (ouverte && *ouverte) appel();
  });
}

TBoiteAppels::TBoiteAppels() : FOuverte(std::make_shared<std::atomic<bool>>(true)) {}

TAdresseAppels TBoiteAppels::Adresse() const {
  TAdresseAppels adresse;
  adresse.FOuverte = FOuverte;
  return adresse;
}

}  // namespace norvel
