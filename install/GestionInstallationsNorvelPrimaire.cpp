#include "install/GestionInstallationsNorvelPrimaire.h"

#include "install/ThreadInstallationNorvelPrimaire.h"

namespace norvel {

std::unique_ptr<TThreadInstallationClientLourd> TGestionInstallationsNorvelPrimaire::CreerThreadInstallation(
    TRef<ISessionsClientsHttp> ASessionsHttp, TRef<IAbonneEvenementInstallationsClientLourd> AAbonne,
    const TypeDonneesInstallationClientLourd& ADonnees) {
  return std::make_unique<TThreadInstallationNorvelPrimaire>(std::move(ASessionsHttp), std::move(AAbonne), ADonnees);
}

}  // namespace norvel
