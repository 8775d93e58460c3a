#include "wizard/FicheInstalleurNorvelPrimaire.h"

#include <shellapi.h>

#include "platform/ApplicationGraphique.h"
#include "core/Exceptions.h"
#include "core/Format.h"
#include "core/Messages.h"
#include "dialogs/DemandeInfoAuthProxy.h"
#include "dialogs/FicheChoixConfigurationHttp.h"
#include "install/GestionInstallationsNorvelPrimaire.h"
#include "school/HotesNorvel.h"
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

// ---- Creation (FormCreate) and destruction (FormDestroy)

TFicheInstalleurNorvelPrimaire::TFicheInstalleurNorvelPrimaire() {
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
  // Waits for the stage the worker is in; what it still tells is no longer shown.
  FExecution.reset();
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
  FInformationApplication = AInformationApplication;
  FExecution = std::make_unique<TExecutionEtapes>(*this, std::move(AAttente), std::move(AInformationApplication),
                                                  ASessionsHttp, ACheminInstallation);
  FExecution->SetGestionInstallations(CreerGestionInstallations(ASessionsHttp, std::move(ADossierSpecial)));
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
                              Msg::MenuModeRneTest, [this] { BasculerModeTest(); }, [this] { return ModeTest(); }));
  SetMenu(Handle(), barre);
  FMenuOvalis = std::move(menu);
}


void TFicheInstalleurNorvelPrimaire::TesterAccesInternet() { FExecution->TesterAccesInternet(); }

std::optional<size_t> TFicheInstalleurNorvelPrimaire::ChoisirConfiguration(
    const TypeTabPropositionsModifConfigClientsHttp& APropositions) {
  const auto dialogue = TFicheChoixConfigurationHttp::CreateOv(this, APropositions);
  if (dialogue->ExecuterModal() != mrOK || dialogue->PropositionChoisie() < 0) return std::nullopt;
  return static_cast<size_t>(dialogue->PropositionChoisie());
}

std::optional<TypeInfoAuthHttp> TFicheInstalleurNorvelPrimaire::DemanderInfoAuthProxy(const std::wstring& AProxy) {
  TypeInfoAuthHttp infoAuth;
  if (!DemanderInfoAuthProxyGraphique(AProxy, infoAuth)) return std::nullopt;
  return infoAuth;
}

void TFicheInstalleurNorvelPrimaire::EditRNEChangeTracking() {
  FExecution->IdentifiantModifie(GetWindowTextLengthW(EditRNE) > 0);
}

void TFicheInstalleurNorvelPrimaire::BasculerModeTest() {
  FExecution->SetModeTest(!FExecution->ModeTest());
  if (FMenuOvalis) FMenuOvalis->MettreAJourActions();
}

void TFicheInstalleurNorvelPrimaire::BtnValidationRNEClick() { FExecution->ValiderIdentifiant(TexteControle(EditRNE)); }

void TFicheInstalleurNorvelPrimaire::BtnValidationEcoleClick() { FExecution->ConfirmerEcole(); }

std::wstring TFicheInstalleurNorvelPrimaire::UrlConditionsGenerales() { return UrlConditionsGeneralesOvalis; }

void TFicheInstalleurNorvelPrimaire::LabelEtape4LienClick() {
  const auto reponse = reinterpret_cast<INT_PTR>(
      ShellExecuteW(Handle(), L"open", UrlConditionsGenerales().c_str(), nullptr, nullptr, SW_SHOWNORMAL));
  if (reponse <= 32) throw EOvalis(Msg::NavigateurParDefautAbsent);
}

void TFicheInstalleurNorvelPrimaire::CheckboxCGUEtape4Change() { FExecution->AccepterConditions(); }

void TFicheInstalleurNorvelPrimaire::btnFermerClick() { PostMessageW(Handle(), WM_CLOSE, 0, 0); }

TRef<TGestionInstallationsClientLourd> TFicheInstalleurNorvelPrimaire::CreerGestionInstallations(
    TRef<ISessionsClientsHttp> ASessionsHttp, TRef<IDossierSpecial> ADossierSpecial) {
  return NouvelObjet<TGestionInstallationsNorvelPrimaire>(std::move(ASessionsHttp), std::move(ADossierSpecial),
                                                          Abonne());
}

// ---- The state of the steps, shown

void TFicheInstalleurNorvelPrimaire::SetImageIconeClientNP(bool millesime2023) {
  if (FIconeClientNP2023Choisie == millesime2023) return;
  FIconeClientNP2023Choisie = millesime2023;
  ImageIconeClientNP->SetImage(millesime2023 ? &FIconeClientNP2023 : &FIconeClientNP);
}

void TFicheInstalleurNorvelPrimaire::AfficherMessage(HWND libelle, const std::optional<std::wstring>& texte) {
  SetTexte(libelle, texte.value_or(L""));
  Montrer(libelle, texte.has_value());
}

void TFicheInstalleurNorvelPrimaire::AfficherFocus(TypeFocusEtapes AFocus) {
  if (AFocus == FFocusAffiche) return;
  FFocusAffiche = AFocus;
  switch (AFocus) {
    case TypeFocusEtapes::Aucun:
      break;
    case TypeFocusEtapes::Identifiant:
      SetFocus(EditRNE);
      break;
    case TypeFocusEtapes::Conditions:
      SetFocus(CheckboxCGUEtape4);
      break;
    case TypeFocusEtapes::Fermer:
      SetFocus(btnFermer);
      break;
  }
}

// The order of the page never changes: an element revealed is already below the one it
// follows, and hidden ones take no room.
void TFicheInstalleurNorvelPrimaire::AfficherEtat(const TypeEtatEtapes& e) {
  FAffichageEnCours = true;
  Montrer(PatienceEtape1, e.PatienceEtape1);
  Montrer(ImageCheckEtape1, e.CocheEtape1);
  SetCouleurTexte(LabelErreurEtape1, e.MessageEtape1EnErreur ? RougeErreur : NoirMessage);
  AfficherMessage(LabelErreurEtape1, e.MessageEtape1);

  EnableWindow(EditRNE, e.SaisieIdentifiantPossible);
  EnableWindow(BtnValidationRNE, e.ValidationIdentifiantPossible);
  Montrer(PanelEtape2, e.Etape2);
  AfficherMessage(LabelErreurEtape2, e.ErreurEtape2);

  if (e.Ecole) {
    const TypeInfosHebNP& ecole = *e.Ecole;
    SetTexte(LabelNomEcole, ecole.NomEcole);
    SetTexte(LabelAdresseEcole, ecole.AdresseEcole);
    SetTexte(LabelCodePostalVilleEcole, Format(Msg::CodePostalEtVille, {ecole.CodePostalEcole, ecole.VilleEcole}));
    SetTexte(LabelPaysEcole, ecole.PaysEcole);
    SetImageIconeClientNP(ecole.MillesimeServeur == L"2023");
    SetTexte(LabelEtape6,
             FormaterTitreEtape(6, NombreEtapes, Format(Msg::EtapeInstallationClient, {ecole.MillesimeServeur})));
    SetTexte(LabelEtape7, FormaterTitreEtape(7, NombreEtapes, Msg::EtapeLancementClient));
    SetTexte(LabelNatureActionEtape7, ecole.ServeurEnService ? Msg::NatureTestConnectivite : Msg::NatureConfiguration);
  }
  EnableWindow(BtnValidationEcole, e.ConfirmationEcolePossible);
  Montrer(PanelEtape3, e.Etape3);

  EnableWindow(CheckboxCGUEtape4, e.ConditionsModifiables);
  Montrer(PanelEtape4, e.Etape4);

  Montrer(PanelEtape5, e.Etape5);
  Montrer(ImageCheckEtape5, e.CocheEtape5);
  AfficherMessage(LabelErreurEtape5, e.ErreurEtape5);

  Montrer(PanelEtape6, e.Etape6);
  Montrer(PatienceEtape6, e.PatienceEtape6);
  Montrer(ImageCheckEtape6, e.CocheEtape6);
  SetTexte(LabelSousEtapeInstallation, e.SousEtape);
  if (e.SousEtapeEnErreur) SetCouleurTexte(LabelSousEtapeInstallation, RougeErreur);
  // Two lines high while step 6 runs; once it has ended well, as high as its text.
  FDisposition->SetHauteurExacte(Id::LabelSousEtapeInstallation, e.CocheEtape6);
  Montrer(LabelSousEtapeInstallation, e.SousEtapeMontree);

  Montrer(PanelEtape7, e.Etape7);
  Montrer(ImageCheckEtape7, e.CocheEtape7);
  Montrer(LabelNatureActionEtape7, e.CocheEtape7);
  AfficherMessage(LabelErreurEtape7, e.ErreurEtape7);

  TImageEchelonnee& image = e.ImageLaterale == TypeImageLaterale::Configuration ? FImageConfig
                            : e.ImageLaterale == TypeImageLaterale::Ecole       ? FImageEcole
                                                                                : FImageInstall;
  if (&image != FImageLaterale) SetImageLaterale(image);
  DefinirBoutonParDefaut(e.BoutonParDefaut == TypeBoutonParDefaut::ValidationIdentifiant ? BtnValidationRNE
                         : e.BoutonParDefaut == TypeBoutonParDefaut::ValidationEcole     ? BtnValidationEcole
                                                                                         : nullptr);
  FAffichageEnCours = false;
  Disposer();
  AfficherFocus(e.Focus);
}

}  // namespace norvel
