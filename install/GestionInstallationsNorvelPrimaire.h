#pragma once
// The installation manager the wizard uses: its worker runs the real stages of the NORVEL
// Primaire client (removal, download, signature check, silent setup, launch).
#include "http/InfoHttp.h"
#include "install/GestionInstallationsClientLourd.h"

namespace norvel {

class TGestionInstallationsNorvelPrimaire : public TGestionInstallationsClientLourd {
 public:
  // AInfoSession: the HTTP session settings the worker downloads with (by default the
  // machine's own proxy settings).
  TGestionInstallationsNorvelPrimaire(TRef<IDossierSpecial> ADossierSpecial,
                                      TRef<IAbonneEvenementInstallationsClientLourd> AAbonne,
                                      TypeInfoCreationSessionClientsHttp AInfoSession = InfoSessionParDefaut());

  static TypeInfoCreationSessionClientsHttp InfoSessionParDefaut();

 protected:
  std::unique_ptr<TThreadInstallationClientLourd> CreerThreadInstallation(
      const TypeDonneesInstallationClientLourd& ADonnees) override;

 private:
  TypeInfoCreationSessionClientsHttp FInfoSession;
};

}  // namespace norvel
