#include "install/GestionInstallationsNorvelPrimaire.h"

#include "core/Messages.h"
#include "install/ThreadInstallationNorvelPrimaire.h"

namespace norvel {

TGestionInstallationsNorvelPrimaire::TGestionInstallationsNorvelPrimaire(
    TRef<IDossierSpecial> ADossierSpecial, TRef<IAbonneEvenementInstallationsClientLourd> AAbonne,
    TypeInfoCreationSessionClientsHttp AInfoSession)
    : TGestionInstallationsClientLourd(std::move(ADossierSpecial), std::move(AAbonne)),
      FInfoSession(std::move(AInfoSession)) {}

TypeInfoCreationSessionClientsHttp TGestionInstallationsNorvelPrimaire::InfoSessionParDefaut() {
  return {Msg::TitreAssistant, {WINHTTP_ACCESS_TYPE_DEFAULT_PROXY}};
}

std::unique_ptr<TThreadInstallationClientLourd> TGestionInstallationsNorvelPrimaire::CreerThreadInstallation(
    const TypeDonneesInstallationClientLourd& ADonnees) {
  return std::make_unique<TThreadInstallationNorvelPrimaire>(ADonnees, FInfoSession);
}

}  // namespace norvel
