#pragma once
// The installation worker's stages for the NORVEL Primaire client: removal of the versions the
// product catalogue knows, download of the setup through the worker's own HTTP session, its
// signature check and silent run, then the connection file opened with the installed client.
// A stage that fails raises; the worker reports the error as that stage's failure and ends.
#include <memory>

#include "app/Registre.h"
#include "http/SessionClientsHttp.h"
#include "install/ThreadInstallationClientLourd.h"

namespace norvel {

class TThreadInstallationNorvelPrimaire : public TThreadInstallationClientLourd {
 public:
  // AInfoSession: how the worker opens its own HTTP session for the download.
  TThreadInstallationNorvelPrimaire(const TypeDonneesInstallationClientLourd& ADonnees,
                                    TypeInfoCreationSessionClientsHttp AInfoSession);
  ~TThreadInstallationNorvelPrimaire() override;

 protected:
  void DesinstallerAnciennesVersions() override;
  void TelechargerInstallation(std::wstring& AFichier) override;
  void InstallerClient(const std::wstring& AFichier) override;
  void ConfigurerEtLancerClient() override;

 private:
  // Opened on the worker's thread at its first use.
  TSessionClientsHttp& SessionHttp();

  // The list of installed programs, read only.
  TOvRegistry FRegistre{KEY_READ, HKEY_LOCAL_MACHINE};
  const TypeInfoCreationSessionClientsHttp FInfoSession;
  std::unique_ptr<TSessionClientsHttp> FSessionHttp;
};

}  // namespace norvel
