#pragma once
// The installation manager: starts the installation worker with the school's data and, as a
// service of the main loop's idle processing, hands the worker's events to the wizard on the
// user-interface thread, one event per idle pass, in the order they were posted.
#include <memory>
#include <string>

#include "platform/DossierSpecial.h"
#include "platform/ServiceOvalis.h"
#include "install/EvenementInstallation.h"
#include "install/ThreadInstallationClientLourd.h"

namespace norvel {

class TGestionInstallationsClientLourd : public TServiceOvalisNonReentrant {
 public:
  // Files itself with the idle services, inactive until an installation starts. ASessionsHttp:
  // the user-interface thread's sessions service, duplicated for the worker.
  TGestionInstallationsClientLourd(TRef<ISessionsClientsHttp> ASessionsHttp, TRef<IDossierSpecial> ADossierSpecial,
                                   TRef<IAbonneEvenementInstallationsClientLourd> AAbonne);
  ~TGestionInstallationsClientLourd() override;

  // Writes the portal icon into the default special folder, then starts the worker. Called
  // once; an error (writing the icon) reaches the caller and no worker starts.
  void LancerInstallation(bool ASimulation, const std::wstring& ACheminInstallation,
                          const std::wstring& AUrlTelechargement, const std::wstring& ANomEcole,
                          const std::wstring& ANomDomaine, uint16_t APort, bool AServeurEnService,
                          const std::wstring& AUrlPortail);

  // Hands at most one event to the subscriber. Answers that work is pending while events
  // remain, so that each gets an idle pass of its own even when several arrived at once.
  bool Traiter() override;

  // When the window goes: stops the worker (it finishes the stage it is in, then ends) and
  // leaves the idle services, which hold a reference to this object until then.
  void Fermer();

  // "Portail.ico" in the special-folder service's default folder, replaced whole.
  std::wstring EcrireIconePortail();

 protected:
  // The one place where the worker is made, on the user-interface thread: whatever the worker
  // needs beyond the school's data is given to it here, starting with ASessionsHttp, the
  // worker's own duplicate of the HTTP sessions service (DupliquerPourThread).
  virtual std::unique_ptr<TThreadInstallationClientLourd> CreerThreadInstallation(
      TRef<ISessionsClientsHttp> ASessionsHttp, const TypeDonneesInstallationClientLourd& ADonnees) = 0;

 private:
  TRef<ISessionsClientsHttp> FSessionsHttp;
  TRef<IDossierSpecial> FDossierSpecial;
  TRef<IAbonneEvenementInstallationsClientLourd> FAbonne;
  std::unique_ptr<TThreadInstallationClientLourd> FThread;
};

}  // namespace norvel
