#pragma once
// The user-interface layer of the application object: it chains its idle handler to the
// platform's, registers the main thread's wait, creates forms and runs the main loop.
#include <functional>
#include <vector>

#include "platform/ApplicationGraphique.h"
#include "ui/Fiche.h"
#include "app/ApplicationOvalis.h"

namespace norvel {

class TApplicationOvalisFmx : public TApplicationOvalis {
 public:
  using TApplicationOvalis::TApplicationOvalis;

  // Forces the short date format to two-digit day and month and four-digit year, in the
  // locale's order.
  virtual void NormaliserFormatDate();
  // Messages the system sends to the whole program: end of session, settings changed.
  virtual void TraiterMessageSysteme(UINT message, bool& gere);

  // Asks the platform for a form of the factory's class into *fiche; `apresCreation` runs once
  // the form exists (at once, or when the platform announces its deferred forms).
  void CreerFiche(TApplicationGraphique::TypeFabriqueFiche fabrique, TFiche** fiche,
                  std::function<void()> apresCreation = nullptr);

 protected:
  void InitialiserApplication() override;
  void ExecuterApplication() override;
  void FinaliserApplication() override;
  void TraiterErreurInitialisation(const std::wstring& classe, const std::wstring& message) override;
  void TraiterErreurExecution(const std::wstring& classe, const std::wstring& message) override;
  void TraiterErreurFinalisation(const std::wstring& classe, const std::wstring& message) override {}

  virtual void LancerApplication() {}
  virtual void ArreterApplication();

  // The idle handler: the previous one first, then the idle services.
  void TraiterInactivite(bool& fini);

 private:
  void ExecuterProcsCreationsFiches();

  TApplicationGraphique::TypeGestionnaireInactivite FAncienOnIdleProc;
  std::vector<std::function<void()>> FProcCreationsFiches;
  int FIdAbonnementCreationFiches = 0;
};

}  // namespace norvel
