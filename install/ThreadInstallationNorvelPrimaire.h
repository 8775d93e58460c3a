#pragma once
// The installation worker's stages for the NORVEL Primaire client: removal of the versions the
// product catalogue knows, download of the setup through the worker's own sessions service, its
// signature check and silent run, then the connection file opened with the installed client.
// A stage that fails raises; the worker reports the error as that stage's failure and ends.
#include "platform/Registre.h"
#include "install/ThreadInstallationClientLourd.h"

namespace norvel {

class TThreadInstallationNorvelPrimaire : public TThreadInstallationClientLourd {
 public:
  // ASessionsHttp: the worker's own duplicate of the sessions service, for the download.
  TThreadInstallationNorvelPrimaire(TRef<ISessionsClientsHttp> ASessionsHttp,
                                    TRef<IAbonneEvenementInstallationsClientLourd> AAbonne,
                                    const TypeDonneesInstallationClientLourd& ADonnees);
  ~TThreadInstallationNorvelPrimaire() override;

 protected:
  void DesinstallerAnciennesVersions() override;
  std::wstring TelechargerInstallation() override;
  void InstallerClient(const std::wstring& AFichier) override;
  void ConfigurerEtLancerClient() override;

 private:
  // The list of installed programs, read only.
  TOvRegistry FRegistre{KEY_READ, HKEY_LOCAL_MACHINE};
};

}  // namespace norvel
