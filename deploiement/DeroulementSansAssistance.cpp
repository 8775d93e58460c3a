#include "deploiement/DeroulementSansAssistance.h"

#include "core/Chaines.h"
#include "core/Exceptions.h"
#include "core/Format.h"
#include "core/Messages.h"
#include "httpconfig/JournalConfigClientsHttp.h"
#include "install/ExecutionSetup.h"
#include "install/GestionInstallationsNorvelPrimaire.h"
#include "platform/Journal.h"
#include "school/ApiRecuperationInfosHebNP.h"

namespace norvel {

namespace {

constexpr auto Progressif = TypeNatureLigneJournal::Progression;
constexpr auto Erreur = TypeNatureLigneJournal::Erreur;

}  // namespace

TDeroulementSansAssistance::TDeroulementSansAssistance(TypeServices AServices, TypeOptionsDeploiement AOptions,
                                                       std::function<void(const std::wstring&)> ASurProgression)
    : FServices(std::move(AServices)), FOptions(std::move(AOptions)), FSurProgression(std::move(ASurProgression)) {}

void TDeroulementSansAssistance::Progression(const std::wstring& texte) {
  Journaliser(texte, Progressif);
  if (FSurProgression) FSurProgression(texte);
}

TypeCodeSortie TDeroulementSansAssistance::CodeSelonProxy(TypeCodeSortie ACode) const {
  const bool proxySansAuthentification =
      FServices.ProxySansAuthentification && !FServices.ProxySansAuthentification().empty();
  return proxySansAuthentification ? TypeCodeSortie::AuthentificationProxyManquante : ACode;
}

TypeCodeSortie TDeroulementSansAssistance::Executer(bool ASansUtilisateur) {
  try {
    TesterAccesInternet();
    const TypeInfosHebNP infos = RechercherEcole();
    Journaliser(Msg::JournalConditionsAcceptees, Progressif);
    return Installer(infos, ASansUtilisateur);
  } catch (const EEchecEtape& echec) {
    Journaliser(Format(Msg::JournalEchecEtape, {echec.Message}), Erreur);
    if (FSurProgression) FSurProgression(echec.Message);
    return echec.Code;
  } catch (const EAnnulation& e) {
    Journaliser(Format(Msg::JournalErreur, {MessageDe(e)}), Erreur);
    return TypeCodeSortie::Annulation;
  } catch (const std::exception& e) {
    Journaliser(Format(Msg::JournalErreur, {MessageDe(e)}), Erreur);
    return TypeCodeSortie::EchecInitialisation;
  }
}

void TDeroulementSansAssistance::TesterAccesInternet() {
  Progression(Msg::JournalEtape1);
  ISessionsClientsHttp& sessions = *FServices.SessionsHttp;
  TypeTabResultatsTestsConfigClientsHttp resultats;
  sessions.TesterConfigCourante(FServices.Attente.Get(), resultats);
  if (TestsHttpsReussis(resultats)) {
    Progression(Msg::JournalAccesInternetReussi);
    return;
  }
  Progression(Msg::AccesInternetEnEchec);
  TypeTabPropositionsModifConfigClientsHttp propositions;
  sessions.RechercherAutresConfigs(FServices.Attente.Get(), propositions);
  if (propositions.empty())
    throw EEchecEtape{CodeSelonProxy(TypeCodeSortie::EchecAccesInternet), Msg::AucuneConfigurationHttp};
  // Nobody chooses: the first proposal is the one the window would have offered first.
  sessions.VerifierChangementConfig(false);
  sessions.AppliquerPropositionModifConfig(propositions.front());
  Progression(Format(Msg::JournalPremiereProposition, {DescriptionProposition(propositions.front())}));
  Progression(Msg::ConfigurationHttpAppliquee);
}

TypeInfosHebNP TDeroulementSansAssistance::RechercherEcole() {
  Progression(Format(Msg::JournalEtape2, {FOptions.Rne}));
  TypeInfosHebNP infos;
  try {
    const auto recherche = NouvelObjet<TApiRecuperationInfosHebNP>(
        FServices.InformationApplication->GetEnvironnementDeploiement(), FServices.Attente,
        FServices.SessionsHttp);
    recherche->RecupererInfosHeb(FOptions.Rne, CodePlateformeInfosHeb(), infos);
  } catch (const EAnnulation&) {
    throw;
  } catch (const std::exception& e) {
    throw EEchecEtape{CodeSelonProxy(TypeCodeSortie::EchecRechercheEcole), MessageDe(e)};
  }
  Progression(Format(Msg::JournalEcoleTrouvee,
                     {infos.NomEcole, infos.AdresseEcole, infos.CodePostalEcole, infos.VilleEcole, infos.PaysEcole,
                      infos.NomDomaine, static_cast<unsigned>(infos.Port),
                      infos.ServeurEnService ? Msg::NatureTestConnectivite : Msg::NatureConfiguration,
                      infos.MillesimeServeur}));
  return infos;
}

TRef<TGestionInstallationsClientLourd> TDeroulementSansAssistance::CreerGestionInstallations() {
  return NouvelObjet<TGestionInstallationsNorvelPrimaire>(
      FServices.SessionsHttp, FServices.DossierSpecial,
      TRef<IAbonneEvenementInstallationsClientLourd>(static_cast<IAbonneEvenementInstallationsClientLourd*>(this)));
}

TypeCodeSortie TDeroulementSansAssistance::Installer(const TypeInfosHebNP& AInfos, bool ASansUtilisateur) {
  const TRef<TGestionInstallationsClientLourd> gestion = CreerGestionInstallations();
  // The manager holds this object as its subscriber until it leaves the idle services.
  struct TFermeture {
    TGestionInstallationsClientLourd& Gestion;
    ~TFermeture() { Gestion.Fermer(); }
  } fermeture{*gestion};
  gestion->SetSansUtilisateur(ASansUtilisateur);
  try {
    gestion->LancerInstallation(AInfos.Simulation, FOptions.CheminInstallation, AInfos.UrlTelechargementClient,
                                AInfos.NomEcole, AInfos.NomDomaine, AInfos.Port, AInfos.ServeurEnService,
                                AInfos.UrlPortail);
  } catch (const std::exception& e) {
    throw EEchecEtape{TypeCodeSortie::EchecRaccourci, MessageDe(e)};
  }
  const auto fin = NouvelObjet<TConditionFinDAttenteFonction>(
      [this](bool arret, bool) { return arret || FFinInstallation.has_value(); });
  FServices.Attente->Attendre(fin.Get(), 0);
  if (!FFinInstallation) return TypeCodeSortie::Annulation;
  TypeCodeSortie code = CodeSelonProxy(*FFinInstallation);
  if (*FFinInstallation == TypeCodeSortie::Succes) {
    code = FEchecRaccourci;
    // A restart the setup asks for outweighs a missing shortcut: the client needs it to work.
    if (gestion->CodeRetourSetup() == ValeurCodeSortie(TypeCodeSortie::RedemarrageNecessaire))
      code = TypeCodeSortie::RedemarrageNecessaire;
  }
  if (FSurProgression && code != TypeCodeSortie::Succes) FSurProgression(TexteCodeSortie(code));
  return code;
}

void TDeroulementSansAssistance::Terminer(TypeCodeSortie ACode) {
  if (!FFinInstallation) FFinInstallation = ACode;
}

// The journal has each event already (the worker notes them); here, what ends the run.

void TDeroulementSansAssistance::EchecRaccourciPortail(const std::wstring&) {
  // As in the window, the installation goes on without its shortcut.
  FEchecRaccourci = TypeCodeSortie::EchecRaccourci;
}

void TDeroulementSansAssistance::DesinstallationEnCours(const std::wstring& ANomAffichage) {
  if (FSurProgression) FSurProgression(Format(Msg::DesinstallationEnCours, {ANomAffichage}));
}

void TDeroulementSansAssistance::EchecDesinstallation(const std::wstring&) {
  Terminer(TypeCodeSortie::EchecDesinstallation);
}

void TDeroulementSansAssistance::TelechargementEnCours() {
  if (FSurProgression) FSurProgression(Msg::TelechargementEnCours);
}

void TDeroulementSansAssistance::EchecTelechargement(const std::wstring&) {
  Terminer(TypeCodeSortie::EchecTelechargement);
}

void TDeroulementSansAssistance::InstallationEnCours() {
  if (FSurProgression) FSurProgression(Msg::InstallationEnCours);
}

void TDeroulementSansAssistance::EchecInstallation(const std::wstring& AMessage) {
  Terminer(EstRefusSignature(AMessage) ? TypeCodeSortie::EchecSignature : TypeCodeSortie::EchecSetup);
}

void TDeroulementSansAssistance::InstallationTerminee() {
  if (FSurProgression) FSurProgression(Msg::InstallationReussie);
}

void TDeroulementSansAssistance::LancementTermine() { Terminer(TypeCodeSortie::Succes); }

void TDeroulementSansAssistance::EchecLancement(const std::wstring&) { Terminer(TypeCodeSortie::EchecLancement); }

}  // namespace norvel
