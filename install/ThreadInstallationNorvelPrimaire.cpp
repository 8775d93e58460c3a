#include "install/ThreadInstallationNorvelPrimaire.h"

#include "install/DesinstallationVersions.h"
#include "install/ExecutionSetup.h"
#include "install/LancementClient.h"
#include "install/TelechargementSetup.h"

namespace norvel {

TThreadInstallationNorvelPrimaire::TThreadInstallationNorvelPrimaire(TRef<ISessionsClientsHttp> ASessionsHttp,
                                                                     const TypeDonneesInstallationClientLourd& ADonnees)
    : TThreadInstallationClientLourd(std::move(ASessionsHttp), ADonnees) {}

TThreadInstallationNorvelPrimaire::~TThreadInstallationNorvelPrimaire() {
  // The stages use this object's members: the thread must be over before they go.
  Arreter();
}

void TThreadInstallationNorvelPrimaire::DesinstallerAnciennesVersions() {
  norvel::DesinstallerAnciennesVersions(FSimulation, FRegistre, FSequenceur, [this](const std::wstring& nom) {
    AjouterEvenement(EI_Desinstallation, true, nom);
  });
}

void TThreadInstallationNorvelPrimaire::TelechargerInstallation(std::wstring& AFichier) {
  AjouterEvenement(EI_Telechargement, true);
  const std::wstring fichier = DossierTemporaireUtilisateur() + NomFichierTelechargement(FUrlTelechargement);
  // The configured session: the program's proxy, evaluated or asked credentials included.
  TypeOptionsTelechargement options;
  options.Progression = [this](uint64_t recus, uint64_t total) { AjouterProgression(recus, total); };
  options.Interruption = &Interruption();
  TelechargerFichier(FSessionsHttp->GetSessionAvecGestionProxy(), FUrlTelechargement, fichier, options);
  // Only a complete download is handed over (and deleted when the worker ends).
  AFichier = fichier;
}

void TThreadInstallationNorvelPrimaire::InstallerClient(const std::wstring& AFichier) {
  AjouterEvenement(EI_Installation, true);
  norvel::InstallerClient(FSequenceur, AFichier, FCheminInstallation);
}

void TThreadInstallationNorvelPrimaire::ConfigurerEtLancerClient() {
  AjouterEvenement(EI_Configuration, true);
  norvel::ConfigurerEtLancerClient(FNomEcole, FNomDomaine, FPort, FServeurEnService);
  AjouterEvenement(EI_Termine, true);
}

}  // namespace norvel
