#include "wizard/FicheInstalleurNorvelPrimaire.h"

#include <shellapi.h>

#include "platform/ApplicationGraphique.h"
#include "platform/Executable.h"
#include "core/Exceptions.h"
#include "core/Format.h"
#include "core/Messages.h"
#include "dialogs/FicheChoixConfigurationHttp.h"
#include "install/GestionInstallationsNorvelPrimaire.h"
#include "school/ApiRecuperationInfosHebNP.h"
#include "school/HotesNorvel.h"
#include "school/MockApiRecuperationInfosHebNP.h"
#include "ui/IdentifiantsControles.h"
#include "wizard/DispositionAssistant.h"

namespace norvel {

namespace Id = IdControle;

namespace {
// The internal menu's commands come after every control identifier.
constexpr UINT PremierIdCommandeMenu = 40001;
}  // namespace


std::wstring TitreFicheInstalleur(const TypeVersion& version) {
  return Format(Msg::TitreFicheAvecVersion, {Msg::TitreAssistant, VersionEnTexte(version)});
}

std::wstring FormaterTitreEtape(int numero, int total, const std::wstring& texte) {
  return Format(Msg::TitreEtape, {numero, total, texte});
}

std::wstring CodePlateformeInfosHeb() { return SystemeWindows64Bits() ? L"Win64" : L"Win32"; }

std::wstring SansBlancsAuxExtremites(const std::wstring& texte) {
  size_t debut = 0, fin = texte.size();
  while (debut < fin && texte[debut] <= L' ') ++debut;
  while (fin > debut && texte[fin - 1] <= L' ') --fin;
  return texte.substr(debut, fin - debut);
}

// ---- Creation (FormCreate) and destruction (FormDestroy)

TFicheInstalleurNorvelPrimaire::TFicheInstalleurNorvelPrimaire() : TImplemente(false) {
  ChargerImages();
  // Fixed size, single border, the system menu and the help button; the caption comes with
  // Initialiser.
  CreerFenetre(L"", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN, LargeurClientAssistant,
               FImageConfig.Origine.Hauteur);
  SetWindowLongPtrW(Handle(), GWL_EXSTYLE, GetWindowLongPtrW(Handle(), GWL_EXSTYLE) | WS_EX_CONTEXTHELP);
  CreerComposants();
  AppliquerImages();

  for (TCible c : {TCible(LabelErreurEtape1), TCible(ImageCheckEtape1), TCible(PanelEtape2), TCible(LabelErreurEtape2),
                   TCible(PanelEtape3), TCible(PanelEtape4), TCible(PanelEtape5), TCible(ImageCheckEtape5),
                   TCible(LabelErreurEtape5), TCible(LabelSousEtapeInstallation), TCible(PanelEtape6),
                   TCible(ImageCheckEtape6), TCible(PanelEtape7), TCible(LabelErreurEtape7), TCible(ImageCheckEtape7),
                   TCible(LabelNatureActionEtape7)})
    ShowWindow(c.Fenetre, SW_HIDE);
  EnableWindow(BtnValidationRNE, FALSE);
  // The box can be ticked without opening the terms.
  EnableWindow(CheckboxCGUEtape4, TRUE);
  Disposer();
}

TFicheInstalleurNorvelPrimaire::~TFicheInstalleurNorvelPrimaire() {
  // Waits for the stage the worker is in; its last events are no longer shown.
  if (FGestionInstallationsClientLourd) FGestionInstallationsClientLourd->Fermer();
  FGestionInstallationsClientLourd = nullptr;
}

// ---- Messages

LRESULT TFicheInstalleurNorvelPrimaire::TraiterMessage(UINT message, WPARAM w, LPARAM l) {
  switch (message) {
    case WM_COMMAND:
      TraiterCommande(LOWORD(w), HIWORD(w), reinterpret_cast<HWND>(l));
      return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      return CouleurControle(message, reinterpret_cast<HDC>(w), reinterpret_cast<HWND>(l));
    case DM_GETDEFID:
      if (const HWND bouton = BoutonEffectif()) return MAKELRESULT(GetDlgCtrlID(bouton), DC_HASDEFID);
      return 0;
    case WM_ACTIVATE:
      // The focus comes back where it was when the window is activated again.
      if (LOWORD(w) == WA_INACTIVE) {
        const HWND focus = GetFocus();
        FFocusSauve = focus && IsChild(Handle(), focus) ? focus : nullptr;
      } else {
        HWND focus = FFocusSauve;
        if (!focus || !IsWindowEnabled(focus) || !IsWindowVisible(focus)) focus = GetNextDlgTabItem(Handle(), nullptr, FALSE);
        if (focus) SetFocus(focus);
      }
      return 0;
    case WM_INITMENUPOPUP:
      if (FMenuOvalis && reinterpret_cast<HMENU>(w) == FMenuOvalis->Handle()) FMenuOvalis->MettreAJourActions();
      return 0;
  }
  return TFiche::TraiterMessage(message, w, l);
}


void TFicheInstalleurNorvelPrimaire::TraiterCommande(int id, int notification, HWND controle) {
  if (!controle && notification == 0) {
    // A menu command; IDOK and IDCANCEL, which Enter and Escape send without a default button, are none of ours.
    if (FMenuOvalis) FMenuOvalis->TraiterCommande(static_cast<UINT>(id));
    return;
  }
  if (notification == BN_SETFOCUS || notification == BN_KILLFOCUS || notification == EN_SETFOCUS) {
    MettreAJourBoutonsParDefaut();
    return;
  }
  if (id == Id::EditRNE) {
    if (notification == EN_CHANGE) EditRNEChangeTracking();
    return;
  }
  if (notification != BN_CLICKED || (controle && !IsWindowEnabled(controle))) return;
  switch (id) {
    case Id::BtnValidationRNE:
      if (IsWindowEnabled(BtnValidationRNE)) BtnValidationRNEClick();
      break;
    case Id::BtnValidationEcole:
      if (IsWindowEnabled(BtnValidationEcole)) BtnValidationEcoleClick();
      break;
    case Id::LabelEtape4Lien:
      LabelEtape4LienClick();
      break;
    case Id::CheckboxCGUEtape4:
      CheckboxCGUEtape4Change();
      break;
    case Id::btnFermer:
      btnFermerClick();
      break;
  }
}

// ---- Initialiser and the steps

void TFicheInstalleurNorvelPrimaire::Initialiser(TRef<IAttente> AAttente, TRef<IDossierSpecial> ADossierSpecial,
                                                 TRef<IInformationApplication> AInformationApplication,
                                                 TRef<ISessionsClientsHttp> ASessionsHttp,
                                                 const std::wstring& ACheminInstallation) {
  FAttente = std::move(AAttente);
  FInformationApplication = std::move(AInformationApplication);
  FSessionsHttp = std::move(ASessionsHttp);
  FCheminInstallation = ACheminInstallation;
  FGestionInstallationsClientLourd = CreerGestionInstallations(FSessionsHttp, std::move(ADossierSpecial));
  SetTitre(TitreFicheInstalleur(FInformationApplication->GetVersion()));
  ConfigurerMenuOvalis();
  SetImageLaterale(FImageConfig);
  // Centred again: the menu bar changes the frame.
  DimensionnerClient(Echelle()(LargeurClientAssistant), Echelle()(FImageConfig.Origine.Hauteur));
  Disposer();
  Afficher();
  TesterAccesInternet();
}

void TFicheInstalleurNorvelPrimaire::ConfigurerMenuOvalis() {
  HMENU barre = CreateMenu();
  HMENU popup = CreatePopupMenu();
  AppendMenuW(barre, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(popup), Msg::MenuOvalis);
  auto menu = std::make_unique<TMenuPopupOvalis>(popup, PremierIdCommandeMenu);
  if (!TMenuOvalis::Configurer(*menu, FInformationApplication.Get(), {})) {
    // Hidden on this machine: no menu bar at all.
    DestroyMenu(barre);
    return;
  }
  menu->InsererAction(-1, std::make_unique<TActionMenuOvalisFonction>(
                              Msg::MenuModeRneTest, [this] { BasculerModeTest(); }, [this] { return FModeTest; }));
  SetMenu(Handle(), barre);
  FMenuOvalis = std::move(menu);
}

void TFicheInstalleurNorvelPrimaire::TesterAccesInternet() {
  auto& application = TApplicationGraphique::Instance();
  Montrer(PatienceEtape1);
  TypeTabResultatsTestsConfigClientsHttp resultats;
  FSessionsHttp->TesterConfigCourante(FAttente.Get(), resultats);
  // Closed meanwhile: nothing more to show.
  if (application.Terminee()) return;
  // Some HTTPS server answered, whatever its answer: the way out works.
  if (TestsHttpsReussis(resultats)) {
    Montrer(ImageCheckEtape1);
    Cacher(PatienceEtape1);
    AfficherEtape2();
    return;
  }
  SetTexte(LabelErreurEtape1, Msg::AccesInternetEnEchec);
  Montrer(LabelErreurEtape1);
  TypeTabPropositionsModifConfigClientsHttp propositions;
  FSessionsHttp->RechercherAutresConfigs(FAttente.Get(), propositions);
  Cacher(PatienceEtape1);
  if (application.Terminee()) return;
  // The wizard stops at step 1: only "Fermer" remains.
  if (propositions.empty()) {
    SetTexte(LabelErreurEtape1, Msg::AucuneConfigurationHttp);
    SetFocus(btnFermer);
    return;
  }
  FSessionsHttp->VerifierChangementConfig(false);
  int choix = 0;
  if (!ChoisirConfiguration(propositions, choix)) {
    SetTexte(LabelErreurEtape1, Msg::AnnulationChoixConfiguration);
    SetFocus(btnFermer);
    return;
  }
  // Applied without a new test: the search has just seen it work.
  FSessionsHttp->AppliquerPropositionModifConfig(propositions[static_cast<size_t>(choix)]);
  SetCouleurTexte(LabelErreurEtape1, NoirMessage);
  SetTexte(LabelErreurEtape1, Msg::ConfigurationHttpAppliquee);
  Montrer(ImageCheckEtape1);
  AfficherEtape2();
}

bool TFicheInstalleurNorvelPrimaire::ChoisirConfiguration(const TypeTabPropositionsModifConfigClientsHttp& APropositions,
                                                          int& AChoix) {
  const auto dialogue = TFicheChoixConfigurationHttp::CreateOv(this, APropositions);
  if (dialogue->ExecuterModal() != mrOK) return false;
  AChoix = dialogue->PropositionChoisie();
  return AChoix >= 0 && static_cast<size_t>(AChoix) < APropositions.size();
}

void TFicheInstalleurNorvelPrimaire::AfficherEtape2() {
  Montrer(PanelEtape2);
  SetFocus(EditRNE);
  SetImageLaterale(FImageEcole);
}

void TFicheInstalleurNorvelPrimaire::EditRNEChangeTracking() {
  // An answer still awaited belongs to the text before this change: it will not be shown.
  ++FNumeroRecherche;
  Cacher(LabelErreurEtape2);
  const bool saisi = GetWindowTextLengthW(EditRNE) > 0;
  EnableWindow(BtnValidationRNE, saisi);
  if (saisi) DefinirBoutonParDefaut(BtnValidationRNE);
  Cacher(PanelEtape3);
  if (FBoutonParDefaut == BtnValidationEcole) DefinirBoutonParDefaut(nullptr);
}

void TFicheInstalleurNorvelPrimaire::BasculerModeTest() {
  FModeTest = !FModeTest;
  if (FMenuOvalis) FMenuOvalis->MettreAJourActions();
}

TRef<IApiRecuperationInfosHebNP> TFicheInstalleurNorvelPrimaire::CreerRechercheEcole() {
  if (FModeTest) return NouvelObjet<TMockApiRecuperationInfosHebNP>();
  return NouvelObjet<TApiRecuperationInfosHebNP>(FInformationApplication->GetEnvironnementDeploiement(), FAttente,
                                                 FSessionsHttp);
}

void TFicheInstalleurNorvelPrimaire::BtnValidationRNEClick() {
  Cacher(LabelErreurEtape2);
  const uint64_t numero = ++FNumeroRecherche;
  TypeInfosHebNP infos;
  std::wstring erreur;
  bool trouvee = false;
  try {
    // The request waits through the waiting service: the window stays alive meanwhile, and a
    // second click may start a second lookup.
    CreerRechercheEcole()->RecupererInfosHeb(SansBlancsAuxExtremites(TexteControle(EditRNE)), CodePlateformeInfosHeb(),
                                             infos);
    trouvee = true;
  } catch (const std::exception& e) {
    erreur = MessageDe(e);
  }
  // A later click, an edit or the school's confirmation came while this one waited: its answer
  // is stale, whether it arrives before or after theirs.
  if (numero != FNumeroRecherche) return;
  if (!trouvee) {
    SetTexte(LabelErreurEtape2, erreur);
    InsererSous(LabelErreurEtape2, PanelEtape2);
    return;
  }
  SetTexte(LabelNomEcole, infos.NomEcole);
  SetTexte(LabelAdresseEcole, infos.AdresseEcole);
  SetTexte(LabelCodePostalVilleEcole, Format(Msg::CodePostalEtVille, {infos.CodePostalEcole, infos.VilleEcole}));
  SetTexte(LabelPaysEcole, infos.PaysEcole);
  FIconeClientNP2023Choisie = infos.MillesimeServeur == L"2023";
  ImageIconeClientNP->SetImage(FIconeClientNP2023Choisie ? &FIconeClientNP2023 : &FIconeClientNP);
  InsererSous(PanelEtape3, PanelEtape2);
  SetTexte(LabelEtape6, FormaterTitreEtape(6, NombreEtapes, Format(Msg::EtapeInstallationClient, {infos.MillesimeServeur})));
  SetTexte(LabelEtape7, FormaterTitreEtape(7, NombreEtapes, Msg::EtapeLancementClient));
  SetTexte(LabelNatureActionEtape7, infos.ServeurEnService ? Msg::NatureTestConnectivite : Msg::NatureConfiguration);
  FUrlTelechargement = infos.UrlTelechargementClient;
  FSimulation = infos.Simulation;
  FNomEcole = infos.NomEcole;
  FNomDomaine = infos.NomDomaine;
  FPort = infos.Port;
  FServeurEnService = infos.ServeurEnService;
  FUrlPortail = infos.UrlPortail;
  DefinirBoutonParDefaut(BtnValidationEcole);
}

void TFicheInstalleurNorvelPrimaire::BtnValidationEcoleClick() {
  // The school is now fixed: no lookup still awaited may change it.
  ++FNumeroRecherche;
  InsererSous(PanelEtape4, PanelEtape3);
  EnableWindow(EditRNE, FALSE);
  EnableWindow(BtnValidationRNE, FALSE);
  EnableWindow(BtnValidationEcole, FALSE);
  DefinirBoutonParDefaut(nullptr);
  SetImageLaterale(FImageInstall);
  SetFocus(CheckboxCGUEtape4);
}

std::wstring TFicheInstalleurNorvelPrimaire::UrlConditionsGenerales() { return UrlConditionsGeneralesOvalis; }

void TFicheInstalleurNorvelPrimaire::LabelEtape4LienClick() {
  const auto reponse = reinterpret_cast<INT_PTR>(
      ShellExecuteW(Handle(), L"open", UrlConditionsGenerales().c_str(), nullptr, nullptr, SW_SHOWNORMAL));
  if (reponse <= 32) throw EOvalis(Msg::NavigateurParDefautAbsent);
  // Once ticked, the box stays frozen: the installation starts only once.
  if (!FInstallationLancee) EnableWindow(CheckboxCGUEtape4, TRUE);
}

void TFicheInstalleurNorvelPrimaire::CheckboxCGUEtape4Change() {
  InsererSous(PanelEtape5, PanelEtape4);
  EnableWindow(CheckboxCGUEtape4, FALSE);
  FInstallationLancee = true;
  SetFocus(btnFermer);
  FGestionInstallationsClientLourd->LancerInstallation(FSimulation, FCheminInstallation, FUrlTelechargement, FNomEcole,
                                                       FNomDomaine, FPort, FServeurEnService, FUrlPortail);
}

void TFicheInstalleurNorvelPrimaire::btnFermerClick() { PostMessageW(Handle(), WM_CLOSE, 0, 0); }

TRef<IAbonneEvenementInstallationsClientLourd> TFicheInstalleurNorvelPrimaire::Abonne() {
  return TRef<IAbonneEvenementInstallationsClientLourd>(static_cast<IAbonneEvenementInstallationsClientLourd*>(this));
}

TRef<TGestionInstallationsClientLourd> TFicheInstalleurNorvelPrimaire::CreerGestionInstallations(
    TRef<ISessionsClientsHttp> ASessionsHttp, TRef<IDossierSpecial> ADossierSpecial) {
  return NouvelObjet<TGestionInstallationsNorvelPrimaire>(std::move(ASessionsHttp), std::move(ADossierSpecial),
                                                          Abonne());
}
// ---- Steps 5 to 7

void TFicheInstalleurNorvelPrimaire::RaccourciPortailCree() {
  Montrer(ImageCheckEtape5);
  MontrerPanneauEtape6Sous(PanelEtape5);
}

void TFicheInstalleurNorvelPrimaire::EchecRaccourciPortail(const std::wstring& AMessage) {
  SetTexte(LabelErreurEtape5, AMessage);
  InsererSous(LabelErreurEtape5, PanelEtape5);
  // The installation goes on.
  MontrerPanneauEtape6Sous(LabelErreurEtape5);
}

void TFicheInstalleurNorvelPrimaire::DesinstallationEnCours(const std::wstring& ANomAffichage) {
  AfficherSousEtape(Format(Msg::DesinstallationEnCours, {ANomAffichage}));
}

void TFicheInstalleurNorvelPrimaire::EchecDesinstallation(const std::wstring& AMessage) {
  PasserSousEtapeEnErreur();
  SetTexte(LabelSousEtapeInstallation, TexteControle(LabelSousEtapeInstallation) + L" " + AMessage);
}

void TFicheInstalleurNorvelPrimaire::TelechargementEnCours() { AfficherSousEtape(Msg::TelechargementEnCours); }

void TFicheInstalleurNorvelPrimaire::EchecTelechargement(const std::wstring& AMessage) {
  PasserSousEtapeEnErreur();
  AfficherSousEtape(Format(Msg::ErreurTelechargement, {AMessage}));
}

void TFicheInstalleurNorvelPrimaire::InstallationEnCours() { SetTexte(LabelSousEtapeInstallation, Msg::InstallationEnCours); }

void TFicheInstalleurNorvelPrimaire::EchecInstallation(const std::wstring& AMessage) {
  PasserSousEtapeEnErreur();
  SetTexte(LabelSousEtapeInstallation, Format(Msg::ErreurInstallation, {AMessage}));
}

void TFicheInstalleurNorvelPrimaire::InstallationTerminee() {
  Cacher(PatienceEtape6);
  SetTexte(LabelSousEtapeInstallation, Msg::InstallationReussie);
  FDisposition->SetHauteurExacte(Id::LabelSousEtapeInstallation, true);
  Montrer(ImageCheckEtape6);
  InsererSous(PanelEtape7, LabelSousEtapeInstallation);
}

void TFicheInstalleurNorvelPrimaire::LancementTermine() {
  Montrer(ImageCheckEtape7);
  Montrer(LabelNatureActionEtape7);
}

void TFicheInstalleurNorvelPrimaire::EchecLancement(const std::wstring& AMessage) {
  SetTexte(LabelErreurEtape7, AMessage);
  // Under step 7, whose failure it reports.
  InsererSous(LabelErreurEtape7, PanelEtape7);
}

}  // namespace norvel
