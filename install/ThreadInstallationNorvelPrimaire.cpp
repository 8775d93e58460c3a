#include "install/ThreadInstallationNorvelPrimaire.h"

#include "install/DesinstallationVersions.h"
#include "install/ExecutionSetup.h"
#include "install/LancementClient.h"
#include "install/TelechargementSetup.h"

namespace norvel {

TThreadInstallationNorvelPrimaire::TThreadInstallationNorvelPrimaire(
    TRef<ISessionsClientsHttp> ASessionsHttp, TRef<IAbonneEvenementInstallationsClientLourd> AAbonne,
    const TypeDonneesInstallationClientLourd& ADonnees)
    : TThreadInstallationClientLourd(std::move(ASessionsHttp), std::move(AAbonne), ADonnees) {}

TThreadInstallationNorvelPrimaire::~TThreadInstallationNorvelPrimaire() {
  // The stages use this object's members: the thread must be over before they go.
  Arreter();
}

void TThreadInstallationNorvelPrimaire::DesinstallerAnciennesVersions() {
  norvel::DesinstallerAnciennesVersions(FDonnees.Simulation, FRegistre, FSequenceur, [this](const std::wstring& nom) {
    Abonne().DesinstallationEnCours(nom);
  });
}

std::wstring TThreadInstallationNorvelPrimaire::TelechargerInstallation() {
  Abonne().TelechargementEnCours();
  const std::wstring fichier = DossierTemporaireUtilisateur() + NomFichierTelechargement(FDonnees.UrlTelechargement);
  // The configured session: the program's proxy, evaluated or asked credentials included.
  TypeOptionsTelechargement options;
  options.Progression = [this](uint64_t recus, uint64_t total) { Abonne().ProgressionTelechargement(recus, total); };
  options.Interruption = &Interruption();
  TelechargerFichier(FSessionsHttp->GetSessionAvecGestionProxy(), FDonnees.UrlTelechargement, fichier, options);
  // Only a complete download is handed over (and deleted when the worker ends).
  return fichier;
}

void TThreadInstallationNorvelPrimaire::InstallerClient(const std::wstring& AFichier) {
  Abonne().InstallationEnCours();
  norvel::InstallerClient(FSequenceur, AFichier, FDonnees.CheminInstallation);
}

void TThreadInstallationNorvelPrimaire::ConfigurerEtLancerClient() {
  // For the window, the installation is over once the client's configuration starts.
  Abonne().InstallationTerminee();
  norvel::ConfigurerEtLancerClient(FDonnees.NomEcole, FDonnees.NomDomaine, FDonnees.Port, FDonnees.ServeurEnService);
  Abonne().LancementTermine();
}

}  // namespace norvel
