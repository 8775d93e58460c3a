#include "wizard/FicheInstalleurNorvelPrimaire.h"

#include <shellapi.h>

#include <algorithm>

#include "app/ApplicationGraphique.h"
#include "app/Executable.h"
#include "core/Exceptions.h"
#include "core/Format.h"
#include "core/Messages.h"
#include "dialogs/FicheChoixConfigurationHttp.h"
#include "install/GestionInstallationsNorvelPrimaire.h"
#include "school/ApiRecuperationInfosHebNP.h"
#include "school/HotesNorvel.h"
#include "school/MockApiRecuperationInfosHebNP.h"
#include "wizard/IdentifiantsControles.h"

namespace norvel {

namespace Id = IdControle;

namespace {

// The page at 96 dots per inch: the side strip takes the image's width, the main panel the rest.
constexpr int LargeurClient = 783;
constexpr int MargeBord = 8;
constexpr int RetraitTitre = 15;
constexpr int RetraitContenu = 39;
constexpr int EcartEnLigne = 6;
constexpr int CoteImage = 22;
// The internal menu's commands come after every control identifier.
constexpr UINT PremierIdCommandeMenu = 40001;

constexpr COLORREF Rouge = RGB(0xFF, 0x00, 0x00);
constexpr COLORREF Noir = RGB(0x00, 0x00, 0x00);
constexpr COLORREF BleuLien = RGB(0x14, 0x52, 0xD2);

bool EstBoutonPoussoir(HWND controle) {
  wchar_t classe[16] = L"";
  GetClassNameW(controle, classe, 16);
  const auto type = GetWindowLongPtrW(controle, GWL_STYLE) & BS_TYPEMASK;
  return lstrcmpiW(classe, L"Button") == 0 && (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON);
}

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

const TImageBitmap& TFicheInstalleurNorvelPrimaire::TImageEchelonnee::ALaTaille(int largeur, int hauteur) {
  if (Origine.Largeur == largeur && Origine.Hauteur == hauteur) return Origine;
  if (AEchelle.Largeur != largeur || AEchelle.Hauteur != hauteur) AEchelle = Redimensionner(Origine, largeur, hauteur);
  return AEchelle;
}

// ---- Creation (FormCreate) and destruction (FormDestroy)

TFicheInstalleurNorvelPrimaire::TFicheInstalleurNorvelPrimaire() : TImplemente(false) {
  FImageConfig.Origine = ChargerImageRessource(L"IMAGE_CONFIG");
  FImageEcole.Origine = ChargerImageRessource(L"IMAGE_ECOLE");
  FImageInstall.Origine = ChargerImageRessource(L"IMAGE_INSTALL");
  FImageCocheVerte.Origine = ChargerImageRessource(L"IMAGE_COCHE");

  // Fixed size, single border, the system menu and the help button; the caption comes with
  // Initialiser.
  CreerFenetre(L"", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN, LargeurClient,
               FImageConfig.Origine.Hauteur);
  SetWindowLongPtrW(Handle(), GWL_EXSTYLE, GetWindowLongPtrW(Handle(), GWL_EXSTYLE) | WS_EX_CONTEXTHELP);
  FEchelle.Ppp = GetDpiForWindow(Handle());
  CreerPolices();
  ChargerIcones();
  CreerComposants();

  for (TControleImage* coche : {ImageCheckEtape1, ImageCheckEtape5, ImageCheckEtape6, ImageCheckEtape7})
    coche->SetImage(&FImageCocheVerte.ALaTaille(FEchelle(CoteImage), FEchelle(CoteImage)));
  ImageIconeClientNP->SetImage(&FIconeClientNP);
  ImageIconePortail->SetImage(&FIconePortail);

  for (TCible c : {TCible(LabelErreurEtape1), TCible(ImageCheckEtape1), TCible(PanelEtape2), TCible(LabelErreurEtape2),
                   TCible(PanelEtape3), TCible(PanelEtape4), TCible(PanelEtape5), TCible(ImageCheckEtape5),
                   TCible(LabelErreurEtape5), TCible(LabelSousEtapeInstallation), TCible(PanelEtape6),
                   TCible(ImageCheckEtape6), TCible(PanelEtape7), TCible(LabelErreurEtape7), TCible(ImageCheckEtape7),
                   TCible(LabelNatureActionEtape7)})
    ShowWindow(c.Fenetre, SW_HIDE);
  EnableWindow(BtnValidationRNE, FALSE);
  // The box can be ticked without opening the terms.
  EnableWindow(CheckboxCGUEtape4, TRUE);

  AjusterTailleFenetre(nullptr);
  Disposer();
}

TFicheInstalleurNorvelPrimaire::~TFicheInstalleurNorvelPrimaire() {
  // Waits for the stage the worker is in; its last events are no longer shown.
  if (FGestionInstallationsClientLourd) FGestionInstallationsClientLourd->Fermer();
  FGestionInstallationsClientLourd = nullptr;
  // The controls go before the fonts they use.
  FControles.clear();
}

HWND TFicheInstalleurNorvelPrimaire::CreerLibelle(HWND parent, int id, const std::wstring& texte, DWORD style) {
  return CreerControle(parent, L"STATIC", texte, SS_NOPREFIX | style, id);
}

HWND TFicheInstalleurNorvelPrimaire::CreerTitre(HWND parent, int id, const std::wstring& texte) {
  const HWND titre = CreerLibelle(parent, id, texte, SS_LEFT | SS_CENTERIMAGE);
  FTitres.push_back(titre);
  return titre;
}

HWND TFicheInstalleurNorvelPrimaire::CreerLibelleRouge(HWND parent, int id) {
  const HWND libelle = CreerLibelle(parent, id, L"", SS_LEFT | SS_CENTERIMAGE | SS_ENDELLIPSIS);
  FCouleursTexte.emplace_back(libelle, Rouge);
  return libelle;
}

TControleImage* TFicheInstalleurNorvelPrimaire::CreerImage(HWND parent, int id) {
  auto image = std::make_unique<TControleImage>(parent, id);
  auto* pointeur = image.get();
  FControles.push_back(std::move(image));
  return pointeur;
}

TIndicateurPatience* TFicheInstalleurNorvelPrimaire::CreerPatience(HWND parent, int id) {
  auto patience = std::make_unique<TIndicateurPatience>(parent, id);
  auto* pointeur = patience.get();
  FControles.push_back(std::move(patience));
  return pointeur;
}

TPanneau* TFicheInstalleurNorvelPrimaire::CreerPanneau(HWND parent, int id) {
  auto panneau = std::make_unique<TPanneau>(parent, id);
  auto* pointeur = panneau.get();
  FControles.push_back(std::move(panneau));
  return pointeur;
}

// In the order of the page, which is also the order of the Tab key.
void TFicheInstalleurNorvelPrimaire::CreerComposants() {
  ImageViewer = CreerImage(Handle(), Id::ImageViewer);
  PanelPrincipal = CreerPanneau(Handle(), Id::PanelPrincipal);
  const HWND principal = PanelPrincipal->Handle();

  PanelEtape1 = CreerPanneau(principal, Id::PanelEtape1);
  LabelEtape1 = CreerTitre(PanelEtape1->Handle(), Id::LabelEtape1, FormaterTitreEtape(1, NombreEtapes, Msg::EtapeTestAccesInternet));
  ImageCheckEtape1 = CreerImage(PanelEtape1->Handle(), Id::ImageCheckEtape1);
  PatienceEtape1 = CreerPatience(PanelEtape1->Handle(), Id::PatienceEtape1);
  LabelErreurEtape1 = CreerLibelleRouge(principal, Id::LabelErreurEtape1);

  PanelEtape2 = CreerPanneau(principal, Id::PanelEtape2);
  LabelEtape2 = CreerTitre(PanelEtape2->Handle(), Id::LabelEtape2, FormaterTitreEtape(2, NombreEtapes, Msg::EtapeSaisieRne));
  LabelEtape2Explication =
      CreerLibelle(PanelEtape2->Handle(), Id::LabelEtape2Explication, Msg::ExplicationSaisieRne, SS_LEFT | SS_CENTERIMAGE);
  EditRNE = CreerControle(PanelEtape2->Handle(), L"EDIT", L"", WS_TABSTOP | ES_AUTOHSCROLL, Id::EditRNE);
  BtnValidationRNE = CreerControle(PanelEtape2->Handle(), L"BUTTON", Msg::BoutonValiderRne,
                                   WS_TABSTOP | BS_PUSHBUTTON | BS_NOTIFY, Id::BtnValidationRNE);
  LabelErreurEtape2 = CreerLibelleRouge(principal, Id::LabelErreurEtape2);

  PanelEtape3 = CreerPanneau(principal, Id::PanelEtape3);
  LabelEtape3 =
      CreerTitre(PanelEtape3->Handle(), Id::LabelEtape3, FormaterTitreEtape(3, NombreEtapes, Msg::EtapeConfirmationEcole));
  PanelAdresse = CreerPanneau(PanelEtape3->Handle(), Id::PanelAdresse);
  for (auto [libelle, id] : {std::pair{&LabelNomEcole, Id::LabelNomEcole}, std::pair{&LabelAdresseEcole, Id::LabelAdresseEcole},
                             std::pair{&LabelCodePostalVilleEcole, Id::LabelCodePostalVilleEcole},
                             std::pair{&LabelPaysEcole, Id::LabelPaysEcole}})
    *libelle = CreerLibelle(PanelAdresse->Handle(), id, L"", SS_LEFT | SS_CENTERIMAGE | SS_ENDELLIPSIS);
  PanelValidationEcole = CreerPanneau(PanelEtape3->Handle(), Id::PanelValidationEcole);
  BtnValidationEcole = CreerControle(PanelValidationEcole->Handle(), L"BUTTON", Msg::BoutonConfirmationEcole,
                                     WS_TABSTOP | BS_PUSHBUTTON | BS_NOTIFY, Id::BtnValidationEcole);
  LabelModifRNE = CreerLibelle(PanelValidationEcole->Handle(), Id::LabelModifRNE, Msg::ModificationRne, SS_LEFT | SS_CENTERIMAGE);

  PanelEtape4 = CreerPanneau(principal, Id::PanelEtape4);
  PanelTitreEtape4 = CreerPanneau(PanelEtape4->Handle(), Id::PanelTitreEtape4);
  LabelEtape4 = CreerTitre(PanelTitreEtape4->Handle(), Id::LabelEtape4,
                      FormaterTitreEtape(4, NombreEtapes, Msg::EtapeAcceptationDes) + L" ");
  auto lien = std::make_unique<TLien>(PanelTitreEtape4->Handle(), Id::LabelEtape4Lien, Msg::LienConditionsGenerales);
  lien->SetCouleur(BleuLien);
  LabelEtape4Lien = lien.get();
  FControles.push_back(std::move(lien));
  CheckboxCGUEtape4 = CreerControle(PanelEtape4->Handle(), L"BUTTON", Msg::AcceptationConditions,
                                    WS_TABSTOP | BS_AUTOCHECKBOX | BS_NOTIFY, Id::CheckboxCGUEtape4);

  PanelEtape5 = CreerPanneau(principal, Id::PanelEtape5);
  LabelEtape5 = CreerTitre(PanelEtape5->Handle(), Id::LabelEtape5, FormaterTitreEtape(5, NombreEtapes, Msg::EtapeRaccourciPortail));
  ImageIconePortail = CreerImage(PanelEtape5->Handle(), Id::ImageIconePortail);
  ImageCheckEtape5 = CreerImage(PanelEtape5->Handle(), Id::ImageCheckEtape5);
  LabelErreurEtape5 = CreerLibelle(principal, Id::LabelErreurEtape5, L"", SS_LEFT | SS_EDITCONTROL);
  FCouleursTexte.emplace_back(LabelErreurEtape5, Rouge);

  // The titles of steps 6 and 7 come with the school.
  PanelEtape6 = CreerPanneau(principal, Id::PanelEtape6);
  LabelEtape6 = CreerTitre(PanelEtape6->Handle(), Id::LabelEtape6, L"");
  ImageIconeClientNP = CreerImage(PanelEtape6->Handle(), Id::ImageIconeClientNP);
  PatienceEtape6 = CreerPatience(PanelEtape6->Handle(), Id::PatienceEtape6);
  ImageCheckEtape6 = CreerImage(PanelEtape6->Handle(), Id::ImageCheckEtape6);
  LabelSousEtapeInstallation = CreerLibelle(principal, Id::LabelSousEtapeInstallation, L"", SS_LEFT | SS_EDITCONTROL);

  PanelEtape7 = CreerPanneau(principal, Id::PanelEtape7);
  LabelEtape7 = CreerTitre(PanelEtape7->Handle(), Id::LabelEtape7, L"");
  ImageCheckEtape7 = CreerImage(PanelEtape7->Handle(), Id::ImageCheckEtape7);
  LabelNatureActionEtape7 = CreerLibelle(PanelEtape7->Handle(), Id::LabelNatureActionEtape7, L"", SS_LEFT | SS_CENTERIMAGE);
  LabelErreurEtape7 = CreerLibelleRouge(principal, Id::LabelErreurEtape7);

  btnFermer = CreerControle(principal, L"BUTTON", Msg::BoutonFermer, WS_TABSTOP | BS_PUSHBUTTON | BS_NOTIFY, Id::btnFermer);

  // Top margin, height, indent: the page's design at 96 dots per inch.
  FPile.Ajouter(PanelEtape1->Handle(), 10, 22);
  FPile.Ajouter(LabelErreurEtape1, 2, 18, RetraitContenu);
  FPile.Ajouter(PanelEtape2->Handle(), 25, 65);
  FPile.Ajouter(LabelErreurEtape2, 2, 18, RetraitContenu);
  FPile.Ajouter(PanelEtape3->Handle(), 25, 100);
  FPile.Ajouter(PanelEtape4->Handle(), 25, 46);
  FPile.Ajouter(PanelEtape5->Handle(), 25, 22);
  FPile.Ajouter(LabelErreurEtape5, 2, 18, RetraitContenu, true);
  FPile.Ajouter(PanelEtape6->Handle(), 9, 22);
  FPile.Ajouter(LabelSousEtapeInstallation, 2, 32, RetraitContenu);
  FPile.Ajouter(PanelEtape7->Handle(), 25, 22);
  FPile.Ajouter(LabelErreurEtape7, 2, 18, RetraitContenu);

  AppliquerPolices();
}

// ---- Scale of the display

void TFicheInstalleurNorvelPrimaire::CreerPolices() {
  LOGFONTW description = TApplicationGraphique::Instance().DescriptionPoliceParDefaut(FEchelle.Ppp);
  FPolice = TPoliceGdi(CreateFontIndirectW(&description));
  description.lfWeight = FW_BOLD;
  FPoliceGras = TPoliceGdi(CreateFontIndirectW(&description));
  description.lfUnderline = TRUE;
  FPoliceLien = TPoliceGdi(CreateFontIndirectW(&description));
}

void TFicheInstalleurNorvelPrimaire::AppliquerPolices() {
  EnumChildWindows(
      Handle(),
      [](HWND controle, LPARAM l) -> BOOL {
        auto* fiche = reinterpret_cast<TFicheInstalleurNorvelPrimaire*>(l);
        HFONT police = fiche->FPolice.Get();
        if (controle == fiche->LabelEtape4Lien->Handle())
          police = fiche->FPoliceLien.Get();
        else if (std::find(fiche->FTitres.begin(), fiche->FTitres.end(), controle) != fiche->FTitres.end())
          police = fiche->FPoliceGras.Get();
        SendMessageW(controle, WM_SETFONT, reinterpret_cast<WPARAM>(police), TRUE);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(this));
}

void TFicheInstalleurNorvelPrimaire::ChargerIcones() {
  const int cote = FEchelle(CoteImage);
  FIconePortail = ChargerIconeRessource(L"PORTAILICONE", cote);
  FIconeClientNP = ChargerIconeRessource(L"CLIENTNPICONE", cote);
  FIconeClientNP2023 = ChargerIconeRessource(L"CLIENTNPICONE2023", cote);
}

void TFicheInstalleurNorvelPrimaire::AppliquerEchelle(UINT ppp, const RECT* zoneProposee) {
  FEchelle.Ppp = ppp;
  CreerPolices();
  AppliquerPolices();
  ChargerIcones();
  for (TControleImage* coche : {ImageCheckEtape1, ImageCheckEtape5, ImageCheckEtape6, ImageCheckEtape7})
    coche->SetImage(&FImageCocheVerte.ALaTaille(FEchelle(CoteImage), FEchelle(CoteImage)));
  ImageIconePortail->SetImage(&FIconePortail);
  ImageIconeClientNP->SetImage(FIconeClientNP2023Choisie ? &FIconeClientNP2023 : &FIconeClientNP);
  if (FImageLaterale) SetImageLaterale(*FImageLaterale);
  AjusterTailleFenetre(zoneProposee);
  Disposer();
}

void TFicheInstalleurNorvelPrimaire::AjusterTailleFenetre(const RECT* zoneProposee) {
  RECT cadre{0, 0, FEchelle(LargeurClient), FEchelle(FImageConfig.Origine.Hauteur)};
  AdjustWindowRectExForDpi(&cadre, static_cast<DWORD>(GetWindowLongPtrW(Handle(), GWL_STYLE)), GetMenu(Handle()) != nullptr,
                           static_cast<DWORD>(GetWindowLongPtrW(Handle(), GWL_EXSTYLE)), FEchelle.Ppp);
  const int largeur = cadre.right - cadre.left, hauteur = cadre.bottom - cadre.top;
  POINT position;
  if (zoneProposee) {
    position = {zoneProposee->left, zoneProposee->top};
  } else {
    // Centred on the work area of its screen.
    MONITORINFO ecran{sizeof(ecran)};
    GetMonitorInfoW(MonitorFromWindow(Handle(), MONITOR_DEFAULTTONEAREST), &ecran);
    position = {ecran.rcWork.left + (ecran.rcWork.right - ecran.rcWork.left - largeur) / 2,
                ecran.rcWork.top + (ecran.rcWork.bottom - ecran.rcWork.top - hauteur) / 2};
  }
  SetWindowPos(Handle(), nullptr, position.x, position.y, largeur, hauteur, SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  // The frame the system really draws may differ from the computed one (a process that is not
  // aware of the display's scale, a menu bar on two lines): the client area decides.
  RECT client;
  GetClientRect(Handle(), &client);
  const int ecartLargeur = FEchelle(LargeurClient) - client.right;
  const int ecartHauteur = FEchelle(FImageConfig.Origine.Hauteur) - client.bottom;
  if (ecartLargeur != 0 || ecartHauteur != 0)
    SetWindowPos(Handle(), nullptr, 0, 0, largeur + ecartLargeur, hauteur + ecartHauteur,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
}

// ---- Layout

void TFicheInstalleurNorvelPrimaire::DisposerEnLigne(HWND parent, int x, int y, int hauteur,
                                                    std::initializer_list<std::pair<HWND, int>> elements) {
  for (const auto& [element, largeur] : elements) {
    if (!EstMontre(element)) continue;
    const int l = largeur < 0 ? TailleTexte(element).cx : FEchelle(largeur);
    SetWindowPos(element, nullptr, x, y, l, hauteur, SWP_NOZORDER | SWP_NOACTIVATE);
    x += l + FEchelle(EcartEnLigne);
  }
}

void TFicheInstalleurNorvelPrimaire::Disposer() {
  const TEchelle& e = FEchelle;
  RECT client;
  GetClientRect(Handle(), &client);
  const int largeurImage = e(FImageConfig.Origine.Largeur);
  SetWindowPos(ImageViewer->Handle(), nullptr, 0, 0, largeurImage, client.bottom, SWP_NOZORDER | SWP_NOACTIVATE);
  const int largeur = client.right - largeurImage, hauteur = client.bottom;
  SetWindowPos(PanelPrincipal->Handle(), nullptr, largeurImage, 0, largeur, hauteur, SWP_NOZORDER | SWP_NOACTIVATE);
  SetWindowPos(btnFermer, nullptr, largeur - e(MargeBord) - e(89), hauteur - e(MargeBord) - e(22), e(89), e(22),
               SWP_NOZORDER | SWP_NOACTIVATE);
  // Sizes within the panels follow the stack, which places the panels themselves.
  const int texte = -1;
  const int hauteurTitre = e(20), hauteurLigne = e(18);

  DisposerEnLigne(PanelEtape1->Handle(), e(RetraitTitre), 0, e(22),
                  {{LabelEtape1, texte}, {ImageCheckEtape1->Handle(), CoteImage}, {PatienceEtape1->Handle(), 31}});

  SetWindowPos(LabelEtape2, nullptr, e(RetraitTitre), 0, TailleTexte(LabelEtape2).cx, hauteurTitre, SWP_NOZORDER);
  SetWindowPos(LabelEtape2Explication, nullptr, e(RetraitContenu), e(21), largeur - e(RetraitContenu) - e(MargeBord),
               hauteurLigne, SWP_NOZORDER);
  SetWindowPos(EditRNE, nullptr, e(RetraitContenu), e(42), e(164), e(22), SWP_NOZORDER);
  SetWindowPos(BtnValidationRNE, nullptr, e(RetraitContenu + 164 + 8), e(42), e(80), e(22), SWP_NOZORDER);

  SetWindowPos(LabelEtape3, nullptr, e(RetraitTitre), 0, TailleTexte(LabelEtape3).cx, hauteurTitre, SWP_NOZORDER);
  SetWindowPos(PanelAdresse->Handle(), nullptr, e(RetraitContenu), e(23), e(290), e(74), SWP_NOZORDER);
  int y = 0;
  for (HWND ligne : {LabelNomEcole, LabelAdresseEcole, LabelCodePostalVilleEcole, LabelPaysEcole}) {
    SetWindowPos(ligne, nullptr, 0, y, e(290), hauteurLigne, SWP_NOZORDER);
    y += e(74) / 4;
  }
  const int largeurValidation = std::max<int>(e(137), TailleTexte(LabelModifRNE).cx);
  SetWindowPos(PanelValidationEcole->Handle(), nullptr, e(RetraitContenu + 290 + 16), e(23) + (e(74) - e(44)) / 2,
               largeurValidation, e(44), SWP_NOZORDER);
  SetWindowPos(BtnValidationEcole, nullptr, 0, 0, e(137), e(22), SWP_NOZORDER);
  SetWindowPos(LabelModifRNE, nullptr, 0, e(26), largeurValidation, hauteurLigne, SWP_NOZORDER);

  SetWindowPos(PanelTitreEtape4->Handle(), nullptr, 0, 0, largeur, hauteurTitre, SWP_NOZORDER);
  const int largeurTitre4 = TailleTexte(LabelEtape4).cx;
  SetWindowPos(LabelEtape4, nullptr, e(RetraitTitre), 0, largeurTitre4, hauteurTitre, SWP_NOZORDER);
  SetWindowPos(LabelEtape4Lien->Handle(), nullptr, e(RetraitTitre) + largeurTitre4, 0,
               TailleTexte(LabelEtape4Lien->Handle()).cx + e(2), hauteurTitre, SWP_NOZORDER);
  // The box itself and its gap come before the text.
  SetWindowPos(CheckboxCGUEtape4, nullptr, e(RetraitContenu), e(24),
               TailleTexte(CheckboxCGUEtape4).cx + GetSystemMetricsForDpi(SM_CXMENUCHECK, e.Ppp) + e(8), hauteurTitre,
               SWP_NOZORDER);

  DisposerEnLigne(PanelEtape5->Handle(), e(RetraitTitre), 0, e(22),
                  {{LabelEtape5, texte}, {ImageIconePortail->Handle(), CoteImage}, {ImageCheckEtape5->Handle(), CoteImage}});
  DisposerEnLigne(PanelEtape6->Handle(), e(RetraitTitre), 0, e(22),
                  {{LabelEtape6, texte},
                   {ImageIconeClientNP->Handle(), CoteImage},
                   {PatienceEtape6->Handle(), CoteImage},
                   {ImageCheckEtape6->Handle(), CoteImage}});
  DisposerEnLigne(PanelEtape7->Handle(), e(RetraitTitre), 0, e(22),
                  {{LabelEtape7, texte}, {ImageCheckEtape7->Handle(), CoteImage}, {LabelNatureActionEtape7, texte}});

  FPile.Disposer(e, largeur, e(MargeBord));
}

// ---- Small changes of what is shown, each followed by the layout

// A keystroke in the identifier's box changes nothing shown most of the time: the layout runs
// only when something did change.
void TFicheInstalleurNorvelPrimaire::Montrer(TCible controle) {
  if (EstMontre(controle.Fenetre)) return;
  ShowWindow(controle.Fenetre, SW_SHOWNA);
  Disposer();
}

void TFicheInstalleurNorvelPrimaire::Cacher(TCible controle) {
  if (!EstMontre(controle.Fenetre)) return;
  ShowWindow(controle.Fenetre, SW_HIDE);
  Disposer();
}

void TFicheInstalleurNorvelPrimaire::InsererSous(TCible element, TCible reference) {
  FPile.InsererSous(element.Fenetre, reference.Fenetre);
  Disposer();
}

void TFicheInstalleurNorvelPrimaire::SetTexte(HWND controle, const std::wstring& texte) {
  if (TexteControle(controle) == texte) return;
  SetWindowTextW(controle, texte.c_str());
  Disposer();
}

void TFicheInstalleurNorvelPrimaire::SetCouleurTexte(HWND controle, COLORREF couleur) {
  const auto trouvee = std::find_if(FCouleursTexte.begin(), FCouleursTexte.end(),
                                    [controle](const auto& c) { return c.first == controle; });
  if (trouvee != FCouleursTexte.end())
    trouvee->second = couleur;
  else
    FCouleursTexte.emplace_back(controle, couleur);
  InvalidateRect(controle, nullptr, TRUE);
}

void TFicheInstalleurNorvelPrimaire::SetImageLaterale(TImageEchelonnee& image) {
  FImageLaterale = &image;
  ImageViewer->SetImage(&image.ALaTaille(FEchelle(image.Origine.Largeur), FEchelle(image.Origine.Hauteur)));
}

// The button that Enter presses: the focused push button, otherwise the default one.
HWND TFicheInstalleurNorvelPrimaire::BoutonEffectif() const {
  const HWND focus = GetFocus();
  if (focus && IsChild(Handle(), focus) && EstBoutonPoussoir(focus)) return focus;
  return FBoutonParDefaut;
}

void TFicheInstalleurNorvelPrimaire::MettreAJourBoutonsParDefaut() {
  const HWND effectif = BoutonEffectif();
  for (HWND bouton : {BtnValidationRNE, BtnValidationEcole, btnFermer})
    SendMessageW(bouton, BM_SETSTYLE, bouton == effectif ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

void TFicheInstalleurNorvelPrimaire::DefinirBoutonParDefaut(HWND bouton) {
  FBoutonParDefaut = bouton;
  MettreAJourBoutonsParDefaut();
}

// ---- Messages

LRESULT TFicheInstalleurNorvelPrimaire::CouleurControle(UINT message, HDC dc, HWND controle) {
  wchar_t classe[16] = L"";
  GetClassNameW(controle, classe, 16);
  // A disabled edit keeps the system's look.
  if (lstrcmpiW(classe, L"Edit") == 0) return DefWindowProcW(Handle(), message, reinterpret_cast<WPARAM>(dc),
                                                             reinterpret_cast<LPARAM>(controle));
  COLORREF couleur = GetSysColor(COLOR_WINDOWTEXT);
  for (const auto& [fenetre, c] : FCouleursTexte)
    if (fenetre == controle) couleur = c;
  SetTextColor(dc, couleur);
  SetBkColor(dc, GetSysColor(COLOR_WINDOW));
  return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
}

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
    case WM_DPICHANGED:
      AppliquerEchelle(LOWORD(w), reinterpret_cast<const RECT*>(l));
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
  AjusterTailleFenetre(nullptr);
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
  // It works either way; not saved, it would be lost at the end of this run.
  const std::wstring nonEnregistree = FSessionsHttp->AttendreEnregistrementConfig(FAttente.Get());
  if (application.Terminee()) return;
  if (nonEnregistree.empty()) {
    SetCouleurTexte(LabelErreurEtape1, Noir);
    SetTexte(LabelErreurEtape1, Msg::ConfigurationHttpAppliquee);
  } else {
    SetTexte(LabelErreurEtape1, Format(Msg::ConfigurationHttpNonEnregistree, {nonEnregistree}));
  }
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

void TFicheInstalleurNorvelPrimaire::MontrerPanneauEtape6Sous(TCible reference) {
  InsererSous(PanelEtape6, reference);
  Montrer(PatienceEtape6);
}

void TFicheInstalleurNorvelPrimaire::AfficherSousEtape(const std::wstring& texte) {
  SetTexte(LabelSousEtapeInstallation, texte);
  InsererSous(LabelSousEtapeInstallation, PanelEtape6);
}

void TFicheInstalleurNorvelPrimaire::PasserSousEtapeEnErreur() {
  Cacher(PatienceEtape6);
  SetCouleurTexte(LabelSousEtapeInstallation, Rouge);
}

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
  FPile.SetHauteurSuitTexte(LabelSousEtapeInstallation, true);
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
