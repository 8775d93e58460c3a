#pragma once
// The installation manager the wizard uses: its worker runs the real stages of the NORVEL
// Primaire client (removal, download, signature check, silent setup, launch).
#include "install/GestionInstallationsClientLourd.h"

namespace norvel {

class TGestionInstallationsNorvelPrimaire : public TGestionInstallationsClientLourd {
 public:
  using TGestionInstallationsClientLourd::TGestionInstallationsClientLourd;

 protected:
  std::unique_ptr<TThreadInstallationClientLourd> CreerThreadInstallation(
      TRef<ISessionsClientsHttp> ASessionsHttp, TRef<IAbonneEvenementInstallationsClientLourd> AAbonne,
      const TypeDonneesInstallationClientLourd& ADonnees) override;
};

}  // namespace norvel
