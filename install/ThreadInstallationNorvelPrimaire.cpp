#include "install/ThreadInstallationNorvelPrimaire.h"

#include "core/Format.h"
#include "core/Messages.h"
#include "install/DesinstallationVersions.h"
#include "platform/Chemins.h"
#include "platform/Journal.h"
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
  norvel::DesinstallerAnciennesVersions(FSimulation, FRegistre, FSequenceur, [this](const std::wstring& nom) {
    Abonne().DesinstallationEnCours(nom);
  });
}

void TThreadInstallationNorvelPrimaire::TelechargerInstallation(std::wstring& AFichier) {
  Abonne().TelechargementEnCours();
  const std::wstring fichier = DossierTemporaireUtilisateur() + NomFichierTelechargement(FUrlTelechargement);
  // The configured session: the program's proxy, evaluated or asked credentials included.
  TypeOptionsTelechargement options;
  options.Progression = [this](uint64_t recus, uint64_t total) { Abonne().ProgressionTelechargement(recus, total); };
  options.Interruption = &Interruption();
  TelechargerFichier(FSessionsHttp->GetSessionAvecGestionProxy(), FUrlTelechargement, fichier, options);
  // Only a complete download is handed over (and deleted when the worker ends).
  AFichier = fichier;
}

void TThreadInstallationNorvelPrimaire::InstallerClient(const std::wstring& AFichier) {
  Abonne().InstallationEnCours();
  const DWORD code = norvel::InstallerClient(FSequenceur, AFichier, FCheminInstallation);
  SetCodeRetourSetup(code);
  Journaliser(Format(Msg::JournalCodeRetourSetup, {static_cast<unsigned long>(code)}));
}

void TThreadInstallationNorvelPrimaire::ConfigurerEtLancerClient() {
  // For the window, the installation is over once the client's configuration starts.
  Abonne().InstallationTerminee();
  if (FSansUtilisateur)
    Journaliser(Format(Msg::JournalConnexionSansLancement,
                       {ConfigurerSansLancerClient(DossierDe(FFichierIconePortail), FNomEcole, FNomDomaine, FPort)}));
  else
    norvel::ConfigurerEtLancerClient(FNomEcole, FNomDomaine, FPort, FServeurEnService);
  Abonne().LancementTermine();
}

}  // namespace norvel
