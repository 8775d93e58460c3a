#include "steps/ExecutionEtapes.h"

#include "platform/ApplicationGraphique.h"
#include "platform/Executable.h"
#include "core/Exceptions.h"
#include "httpconfig/ResultatsConfigClientsHttp.h"
#include "school/ApiRecuperationInfosHebNP.h"
#include "school/MockApiRecuperationInfosHebNP.h"

namespace norvel {

std::wstring CodePlateformeInfosHeb() { return SystemeWindows64Bits() ? L"Win64" : L"Win32"; }

std::wstring SansBlancsAuxExtremites(const std::wstring& texte) {
  size_t debut = 0, fin = texte.size();
  while (debut < fin && texte[debut] <= L' ') ++debut;
  while (fin > debut && texte[fin - 1] <= L' ') --fin;
  return texte.substr(debut, fin - debut);
}

TypeDonneesInstallationClientLourd DonneesInstallation(const TypeInfosHebNP& AEcole,
                                                       const std::wstring& ACheminInstallation) {
  return {.Simulation = AEcole.Simulation,
          .CheminInstallation = ACheminInstallation,
          .UrlTelechargement = AEcole.UrlTelechargementClient,
          .NomEcole = AEcole.NomEcole,
          .NomDomaine = AEcole.NomDomaine,
          .Port = AEcole.Port,
          .ServeurEnService = AEcole.ServeurEnService,
          .UrlPortail = AEcole.UrlPortail};
}

TExecutionEtapes::TExecutionEtapes(IConducteurEtapes& AConducteur, TRef<IAttente> AAttente,
                                   TRef<IInformationApplication> AInformationApplication,
                                   TRef<ISessionsClientsHttp> ASessionsHttp, std::wstring ACheminInstallation)
    : FConducteur(AConducteur),
      FAttente(std::move(AAttente)),
      FInformationApplication(std::move(AInformationApplication)),
      FSessionsHttp(std::move(ASessionsHttp)),
      FCheminInstallation(std::move(ACheminInstallation)) {
  FDeroulement->SetSurChangement([this](const TypeEtatEtapes& etat) { FConducteur.EtatModifie(etat); });
}

TExecutionEtapes::~TExecutionEtapes() {
  if (FGestion) FGestion->Fermer();
  FDeroulement->SetSurChangement(nullptr);
}

TRef<IAbonneEvenementInstallationsClientLourd> TExecutionEtapes::Abonne() const {
  return TRef<IAbonneEvenementInstallationsClientLourd>(
      static_cast<IAbonneEvenementInstallationsClientLourd*>(FDeroulement.Get()));
}

bool TExecutionEtapes::ApplicationTerminee() {
  return TApplicationGraphique::Existe() && TApplicationGraphique::Instance().Terminee();
}

void TExecutionEtapes::TesterAccesInternet() {
  FDeroulement->TestAccesCommence();
  TypeTabResultatsTestsConfigClientsHttp resultats;
  FSessionsHttp->TesterConfigCourante(FAttente.Get(), resultats);
  if (ApplicationTerminee()) return;
  if (FDeroulement->AccesTeste(TestsHttpsReussis(resultats)) != TypeSuiteEtapes::RechercherConfigurations) return;
  TypeTabPropositionsModifConfigClientsHttp propositions;
  FSessionsHttp->RechercherAutresConfigs(FAttente.Get(), propositions);
  if (ApplicationTerminee()) return;
  if (FDeroulement->ConfigurationsTrouvees(propositions.size()) != TypeSuiteEtapes::ChoisirConfiguration) return;
  FSessionsHttp->VerifierChangementConfig(false);
  const std::optional<size_t> choix = FConducteur.ChoisirConfiguration(propositions);
  if (!choix || *choix >= propositions.size()) {
    FDeroulement->ChoixConfigurationRefuse();
    return;
  }
  FSessionsHttp->AppliquerPropositionModifConfig(propositions[*choix]);
  const std::wstring nonEnregistree = FSessionsHttp->AttendreEnregistrementConfig(FAttente.Get());
  if (ApplicationTerminee()) return;
  FDeroulement->ConfigurationAppliquee(nonEnregistree);
}

TRef<IApiRecuperationInfosHebNP> TExecutionEtapes::CreerRechercheEcole() const {
  if (FModeTest) return NouvelObjet<TMockApiRecuperationInfosHebNP>();
  return NouvelObjet<TApiRecuperationInfosHebNP>(FInformationApplication->GetEnvironnementDeploiement(), FAttente,
                                                 FSessionsHttp);
}

void TExecutionEtapes::ValiderIdentifiant(const std::wstring& AIdentifiant) {
  if (!Etat().ValidationIdentifiantPossible) return;
  const uint64_t numero = FDeroulement->RechercheEcoleCommencee();
  TypeInfosHebNP ecole;
  try {
    // The request waits through the waiting service: a second click may start a second lookup.
    CreerRechercheEcole()->RecupererInfosHeb(SansBlancsAuxExtremites(AIdentifiant), CodePlateformeInfosHeb(), ecole);
  } catch (const std::exception& e) {
    FDeroulement->EcoleIntrouvable(numero, MessageDe(e));
    return;
  }
  FDeroulement->EcoleTrouvee(numero, ecole);
}

void TExecutionEtapes::AccepterConditions() {
  if (FDeroulement->ConditionsAcceptees() != TypeSuiteEtapes::LancerInstallation) return;
  FGestion->LancerInstallation(DonneesInstallation(*Etat().Ecole, FCheminInstallation));
}

}  // namespace norvel
