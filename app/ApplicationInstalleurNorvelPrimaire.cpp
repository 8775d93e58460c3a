#include "app/ApplicationInstalleurNorvelPrimaire.h"

#include <algorithm>

#include "core/Format.h"
#include "core/GuidsServices.h"
#include "core/ErreurSysteme.h"
#include "core/Messages.h"
#include "deploiement/DeroulementSansAssistance.h"
#include "deploiement/FenetreProgression.h"
#include "deploiement/SessionsClientsHttpSansAssistance.h"
#include "dialogs/SessionsClientsHttpAppGraphiqueFmx.h"
#include "platform/Chemins.h"
#include "platform/DescriptionSysteme.h"
#include "platform/DossierSpecial.h"
#include "platform/Executable.h"
#include "platform/LigneDeCommande.h"
#include "platform/SessionUtilisateur.h"
#include "ui/GestionSkin.h"
#include "ui/MessageSimple.h"
#include "ui/ServicePoliceSysteme.h"

namespace norvel {

namespace {

// A debugging parameter (after "--") that makes the run behave as without a user session,
// which no test can reach under Wine: there is no SYSTEM account there.
constexpr const wchar_t* ParametreDbgSansUtilisateur = L"SansUtilisateur";

}  // namespace

std::wstring DossierJournaux(IDossierSpecial& ADossierSpecial) {
  return AvecBarreFinale(ADossierSpecial.GetDossierParDefaut()) + L"Journaux\\";
}

void TApplicationInstalleurNorvelPrimaire::InitialiserApplication() {
  FConsole = std::make_shared<TConsoleParente>();
  try {
    FOptions = LireOptionsDeploiement(TLigneDeCommande::Processus());
  } catch (const EArgumentsDeploiement& e) {
    FErreurArguments = e.Message();
  }
  // The journal opens first, so that a start that fails (no display, ...) still leaves one: the
  // special folders it lives in are made here, and the frame keeps them.
  TRef<IInformationApplication> information;
  if (FDictionnaireExtensions.TryService(information) && !FDictionnaireExtensions.Connait(IID_IDossierSpecial)) {
    TRef<IContexteExecution> contexte;
    FDictionnaireExtensions.TryService(contexte);
    AjouterService<IDossierSpecial>(NouvelObjet<TDossierSpecial>(
        information, FDictionnaireExtensions.Service<ISurchargeRepertoiresWindows>(), contexte));
    OuvrirJournal(*GetDossierSpecial());
    Journaliser(Format(Msg::JournalDebut, {information->GetNom(), VersionEnTexte(VersionExecutable()), CheminExecutable()}));
    Journaliser(DescriptionSysteme());
    Journaliser(Format(Msg::JournalLigneDeCommande, {TLigneDeCommande::GetLigneDeCommandeEntiere(true)}));
  }
  information = nullptr;
  TApplicationOvalisFmx::InitialiserApplication();
  const auto dossierSpecial = GetDossierSpecial();
  const auto informationApplication = GetInformationApplication();
  AjouterService<IGestionSkin>(NouvelObjet<TGestionSkin>());
  auto pile = NouvelObjet<TPileGestionMessageSimple>();
  pile->EmpilerGestion(NouvelObjet<TGestionMessageSimpleMin>().Get());
  AjouterService<IPileGestionMessageSimple>(pile);
  // Its creation starts the HTTP configuration thread and waits for the end of its
  // initialisation; the user agent names this computer on the network.
  AjouterService<ISessionsClientsHttp>(NouveauServiceSessionsHttp(informationApplication, dossierSpecial));
  TApplicationGraphique::Instance().SetServicePolice(std::make_unique<TFMXSystemFontServiceOv>());
}

void TApplicationInstalleurNorvelPrimaire::OuvrirJournal(IDossierSpecial& ADossierSpecial) {
  FDossierJournaux = DossierJournaux(ADossierSpecial);
  auto journalPropre = [&] {
    CreerDossierEtParents(FDossierJournaux);
    SYSTEMTIME instant;
    GetLocalTime(&instant);
    const std::wstring chemin = FDossierJournaux + NomJournal(instant, GetCurrentProcessId());
    auto journal = std::make_shared<TJournalFichier>(chemin, FConsole);
    // This run's file counts among the ten kept.
    GarderDerniersJournaux(FDossierJournaux, JournauxGardes);
    return journal;
  };
  std::shared_ptr<TJournalFichier> journal;
  if (!FOptions.Journal.empty()) {
    const std::wstring chemin = TPath::Expand(FOptions.Journal);
    journal = std::make_shared<TJournalFichier>(chemin, FConsole);
    if (!journal->Ouvert()) {
      // The reason goes to a journal of the assistant's own, the run stops at its start.
      FErreurArguments = Format(Msg::JournalImpossible, {chemin, TexteErreurSysteme(journal->CodeErreur())});
      journal = journalPropre();
    }
  } else {
    journal = journalPropre();
  }
  DefinirJournalProcessus(journal);
}

void TApplicationInstalleurNorvelPrimaire::FinaliserApplication() {
  Journaliser(Format(Msg::JournalFin, {CodeSortie(), TexteCodeSortie(FCodeSortie)}), TypeNatureLigneJournal::Progression);
  SupprimerExtension(IID_ISessionsClientsHttp);
  SupprimerExtension(IID_IPileGestionMessageSimple);
  SupprimerExtension(IID_IGestionSkin);
  TApplicationOvalisFmx::FinaliserApplication();
  FExclusivite.reset();
  DefinirJournalProcessus(nullptr);
}

bool TApplicationInstalleurNorvelPrimaire::Silencieux() const {
  // Read again from the line itself: a line that could not be read still says it wants no window.
  return FOptions.Mode == TypeModeDeploiement::Silencieux || TLigneDeCommande::ParametrePresent(L"Silencieux");
}

void TApplicationInstalleurNorvelPrimaire::Signaler(const std::wstring& AMessage, TypeCodeSortie ACode) {
  FCodeSortie = ACode;
  Journaliser(Format(Msg::JournalErreur, {AMessage}), TypeNatureLigneJournal::Erreur);
  if (!Silencieux()) AfficherMessageErreur(AMessage, L"");
}

void TApplicationInstalleurNorvelPrimaire::TraiterErreurInitialisation(const std::wstring& classe,
                                                                      const std::wstring& message) {
  FCodeSortie = TypeCodeSortie::EchecInitialisation;
  Journaliser(Format(Msg::JournalErreur, {message}), TypeNatureLigneJournal::Erreur);
  if (!Silencieux()) TApplicationOvalisFmx::TraiterErreurInitialisation(classe, message);
}

void TApplicationInstalleurNorvelPrimaire::TraiterErreurExecution(const std::wstring& classe, const std::wstring& message) {
  FCodeSortie = TypeCodeSortie::EchecInitialisation;
  Journaliser(Format(Msg::JournalErreur, {message}), TypeNatureLigneJournal::Erreur);
  if (!Silencieux()) TApplicationOvalisFmx::TraiterErreurExecution(classe, message);
}

void TApplicationInstalleurNorvelPrimaire::AfficherAideLigneDeCommande() {
  const std::wstring aide = TexteAideDeploiement(FDossierJournaux);
  if (FConsole->Presente())
    FConsole->EcrireLigne(aide);
  else if (!Silencieux())
    AfficherMessageInformation(aide);
}

void TApplicationInstalleurNorvelPrimaire::LancerApplication() {
  if (FOptions.Aide) {
    AfficherAideLigneDeCommande();
    throw EAnnulation();
  }
  if (FErreurArguments) {
    Signaler(*FErreurArguments, TypeCodeSortie::ArgumentsInvalides);
    throw EAnnulation();
  }
  // The wizard holds the machine's installation too, so that an unattended run waits for it;
  // it goes on without it, as it always did.
  FExclusivite.emplace();
  if (!FOptions.SansAssistance()) {
    Journaliser(Msg::JournalModeFenetre);
    LancerAssistant();
    return;
  }
  if (!FExclusivite->Obtenue()) {
    Signaler(Msg::AutreInstallationEnCours, TypeCodeSortie::InstallationEnCours);
    throw EAnnulation();
  }
  LancerSansAssistance();
  TApplicationGraphique::Instance().Terminer();
}

void TApplicationInstalleurNorvelPrimaire::LancerAssistant() {
  // The values the form needs, captured once: the closure holds the services until released.
  struct TypeValeurs {
    TRef<IAttente> LAttente;
    TRef<IInformationApplication> LInformationApplication;
    TRef<ISessionsClientsHttp> LSessionsHttp;
    TRef<IDossierSpecial> LDossierSpecial;
    std::wstring LCheminInstallation;
    std::wstring LRne;
    TApplicationInstalleurNorvelPrimaire* Self;
  };
  auto valeurs = std::make_shared<TypeValeurs>();
  valeurs->LAttente = GetAttente();
  valeurs->LInformationApplication = GetInformationApplication();
  valeurs->LSessionsHttp = GetSessionsHttp();
  valeurs->LDossierSpecial = GetDossierSpecial();
  TLigneDeCommande::ValeurParam(L"CheminInstallation", valeurs->LCheminInstallation);
  valeurs->LRne = FOptions.Rne;
  valeurs->Self = this;
  CreerFiche([this] { return std::unique_ptr<TFiche>(NouvelleFiche()); }, &FFiche, [valeurs] {
    TFicheInstalleurNorvelPrimaire& fiche = *valeurs->Self->Fiche();
    fiche.Initialiser(valeurs->LAttente, valeurs->LDossierSpecial, valeurs->LInformationApplication,
                      valeurs->LSessionsHttp, valeurs->LCheminInstallation);
    if (!valeurs->LRne.empty()) fiche.PreRemplirRne(valeurs->LRne);
  });
}

void TApplicationInstalleurNorvelPrimaire::LancerSansAssistance() {
  const auto informationApplication = GetInformationApplication();
  const bool passif = FOptions.Mode == TypeModeDeploiement::Passif;
  Journaliser(passif ? Msg::JournalModePassif : Msg::JournalModeSilencieux);
  const auto dbg = TLigneDeCommande::ParamsDbg();
  const bool sansUtilisateur =
      SessionSansUtilisateur() || std::find(dbg.begin(), dbg.end(), ParametreDbgSansUtilisateur) != dbg.end();
  if (sansUtilisateur) Journaliser(Msg::JournalSansUtilisateur);

  TFenetreProgression* fenetre = nullptr;
  if (passif) {
    const std::wstring titre = TitreFicheInstalleur(informationApplication->GetVersion());
    CreerFiche([titre] { return std::make_unique<TFenetreProgression>(titre); }, &FFiche);
    fenetre = static_cast<TFenetreProgression*>(FFiche);
  }
  const TRef<ISessionsClientsHttp> sessions = GetSessionsHttp();
  auto* sansAssistance = dynamic_cast<TSessionsClientsHttpSansAssistance*>(sessions.Get());
  TDeroulementSansAssistance deroulement(
      TDeroulementSansAssistance::TypeServices{
          GetAttente(), GetDossierSpecial(), informationApplication, sessions,
          [sansAssistance] { return sansAssistance ? sansAssistance->ProxySansAuthentification() : std::wstring(); }},
      FOptions, [fenetre](const std::wstring& texte) {
        if (fenetre) fenetre->AfficherEtape(texte);
      });
  FCodeSortie = deroulement.Executer(sansUtilisateur);
}

void TApplicationInstalleurNorvelPrimaire::ArreterApplication() {
  if (FFiche) TApplicationGraphique::Instance().DetruireFiche(std::exchange(FFiche, nullptr));
  TApplicationOvalisFmx::ArreterApplication();
}

std::unique_ptr<TFicheInstalleurNorvelPrimaire> TApplicationInstalleurNorvelPrimaire::NouvelleFiche() {
  return std::make_unique<TFicheInstalleurNorvelPrimaire>();
}

TRef<IDossierSpecial> TApplicationInstalleurNorvelPrimaire::GetDossierSpecial() {
  return FDictionnaireExtensions.Service<IDossierSpecial>();
}

TRef<IInformationApplication> TApplicationInstalleurNorvelPrimaire::GetInformationApplication() {
  return FDictionnaireExtensions.Service<IInformationApplication>();
}

TRef<IAttente> TApplicationInstalleurNorvelPrimaire::GetAttente() { return FDictionnaireExtensions.Service<IAttente>(); }

TRef<ISessionsClientsHttp> TApplicationInstalleurNorvelPrimaire::GetSessionsHttp() {
  return FDictionnaireExtensions.Service<ISessionsClientsHttp>();
}

TRef<ISessionsClientsHttp> TApplicationInstalleurNorvelPrimaire::NouveauServiceSessionsHttp(
    TRef<IInformationApplication> AInformationApplication, TRef<IDossierSpecial> ADossierSpecial) {
  if (FOptions.SansAssistance())
    return NouvelObjet<TSessionsClientsHttpSansAssistance>(std::move(AInformationApplication),
                                                          std::move(ADossierSpecial));
  return NouvelObjet<TSessionsClientsHttpAppGraphiqueFmx>(std::move(AInformationApplication),
                                                         std::move(ADossierSpecial), true);
}

}  // namespace norvel

namespace norvel {
static_assert(MemesGuid(__uuidof(IGestionSkin), IID_IGestionSkin));
static_assert(MemesGuid(__uuidof(IPileGestionMessageSimple), IID_IPileGestionMessageSimple));
}  // namespace norvel
