#pragma once
// The installation manager: starts the installation worker with the school's data; the
// worker's calls to the wizard's subscriber are posted to the user-interface thread, where they
// arrive in order, each in an idle step of its own, and never once the manager is closed.
#include <memory>
#include <string>

#include "core/ObjetInterfacable.h"
#include "platform/AppelThreadPrincipal.h"
#include "platform/DossierSpecial.h"
#include "install/EvenementInstallation.h"
#include "install/ThreadInstallationClientLourd.h"

namespace norvel {

class TGestionInstallationsClientLourd : public TObjetInterfacable {
 public:
  // Inactive until an installation starts. ASessionsHttp: the user-interface thread's sessions
  // service, duplicated for the worker.
  TGestionInstallationsClientLourd(TRef<ISessionsClientsHttp> ASessionsHttp, TRef<IDossierSpecial> ADossierSpecial,
                                   TRef<IAbonneEvenementInstallationsClientLourd> AAbonne);
  ~TGestionInstallationsClientLourd() override;

  // Writes the portal icon into the default special folder, then starts the worker. Called
  // once; an error (writing the icon) reaches the caller and no worker starts.
  // ADonnees.FichierIconePortail is the manager's to fill.
  void LancerInstallation(TypeDonneesInstallationClientLourd ADonnees);

  // From LancerInstallation until Fermer.
  bool EstActif() const { return FActif; }

  // When the window goes: stops the worker (it finishes the stage it is in, then ends); what it
  // told meanwhile and is still on its way no longer reaches the subscriber.
  void Fermer();

  // "Portail.ico" in the special-folder service's default folder, replaced whole.
  std::wstring EcrireIconePortail();

 protected:
  // The one place where the worker is made, on the user-interface thread: whatever the worker
  // needs beyond the school's data is given to it here, starting with ASessionsHttp, the
  // worker's own duplicate of the HTTP sessions service (DupliquerPourThread), and AAbonne, the
  // subscriber whose calls are posted to this thread.
  virtual std::unique_ptr<TThreadInstallationClientLourd> CreerThreadInstallation(
      TRef<ISessionsClientsHttp> ASessionsHttp, TRef<IAbonneEvenementInstallationsClientLourd> AAbonne,
      const TypeDonneesInstallationClientLourd& ADonnees) = 0;

 private:
  TRef<ISessionsClientsHttp> FSessionsHttp;
  TRef<IDossierSpecial> FDossierSpecial;
  TRef<IAbonneEvenementInstallationsClientLourd> FAbonne;
  // Declared before the worker: the worker goes first, while its calls can still be posted.
  TBoiteAppels FBoiteAppels;
  std::unique_ptr<TThreadInstallationClientLourd> FThread;
  bool FActif = false;
};

}  // namespace norvel
