#include "dialogs/FicheChoixConfigurationHttp.h"

#include <algorithm>

#include "core/Format.h"
#include "core/Messages.h"
#include "ui/Composants.h"
#include "ui/IdentifiantsControles.h"

namespace norvel {

namespace {
namespace Id = IdControle::ChoixConfigurationHttp;

// Layout at design size (96 dots per inch): the list fills the form but for a margin of 8 and
// the row of buttons.
constexpr int LargeurClient = 395, HauteurClient = 315;
constexpr int Marge = 8, LargeurBouton = 80, HauteurBouton = 22;
constexpr int EspaceBoutons = HauteurClient - (Marge + 269);  // below the list
// A row's text keeps this room to the cell's sides and top; the row line takes the last pixel.
constexpr int RetraitTexte = 4, MargeHautTexte = 2;
// The grid's default row is a line of text and this padding; a proposal's row is four default
// rows, so that the four lines of the custom proposal fit, and more when its text wraps further.
constexpr int EspaceLigneGrille = 6, LignesParProposition = 4;
// The most a list box row can be.
constexpr int HauteurLigneMaximale = 255;

std::wstring Joindre(const TypeTabChaines& textes, std::wstring_view separateur) {
  std::wstring resultat;
  for (const auto& texte : textes) {
    if (!resultat.empty()) resultat += separateur;
    resultat += texte;
  }
  return resultat;
}

std::wstring OuSiVide(const std::wstring& texte, const wchar_t* siVide) { return texte.empty() ? siVide : texte; }
}  // namespace

std::wstring TexteProposition(const TypePropositionModifConfigClientsHttp& proposition) {
  using enum TypeGenreConfigProxyClientsHttp;
  switch (proposition.GenreConfigProxy) {
    case gcpConfigSysteme:
      return Msg::PropositionConfigSysteme;
    case gcpConfigOvalis:
      return std::wstring(Msg::PropositionConfigOvalis) + L"\r\n" + Msg::PourConnexionsHttp +
             OuSiVide(proposition.ProxyHttpOvalis, Msg::PasDeServeurProxy) + L"\r\n" + Msg::PourConnexionsHttps +
             OuSiVide(proposition.ProxyHttpsOvalis, Msg::PasDeServeurProxy) + L"\r\n" +
             Format(L"%s :", {Msg::ServeursEnAccesDirect}) +
             OuSiVide(Joindre(proposition.TabExceptionsProxiesOvalis, L", "), Msg::AucunServeur);
    case gcpUrlConfig:
      return std::wstring(Msg::PropositionUrlConfig) + L"\r\n" + proposition.UrlConfigProxies;
    case gcpWpad:
      return Msg::PropositionWpad;
  }
  return {};
}

std::unique_ptr<TFicheChoixConfigurationHttp> TFicheChoixConfigurationHttp::CreateOv(
    const TFiche* proprietaire, TypeTabPropositionsModifConfigClientsHttp propositions) {
  return std::unique_ptr<TFicheChoixConfigurationHttp>(
      new TFicheChoixConfigurationHttp(proprietaire, std::move(propositions)));
}

TFicheChoixConfigurationHttp::TFicheChoixConfigurationHttp(const TFiche* proprietaire,
                                                           TypeTabPropositionsModifConfigClientsHttp propositions)
    : FTabPropositions(std::move(propositions)) {
  // Sizeable, with the system menu as its only border icon.
  CreerFenetre(Msg::ChoixMeilleureConfigurationHttp, WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME,
               LargeurClient, HauteurClient, proprietaire ? proprietaire->Handle() : nullptr);
  FListePropositions = CreerControle(Handle(), L"LISTBOX", L"",
                                     WS_BORDER | WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY | LBS_OWNERDRAWVARIABLE |
                                         LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT,
                                     Id::ListePropositions);
  FBtnAnnuler = CreerControle(Handle(), L"BUTTON", Msg::Annuler, WS_TABSTOP | BS_PUSHBUTTON, Id::BtnAnnuler);
  FBtnValider = CreerControle(Handle(), L"BUTTON", Msg::Valider, WS_TABSTOP | BS_DEFPUSHBUTTON, Id::BtnValider);
  AppliquerPolices();
  for (const auto& proposition : FTabPropositions)
    SendMessageW(FListePropositions, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(TexteProposition(proposition).c_str()));
  // The first row is the one chosen until another is selected.
  SendMessageW(FListePropositions, LB_SETCURSEL, 0, 0);
  // Without a row there is nothing to confirm.
  EnableWindow(FBtnValider, !FTabPropositions.empty());
  Disposer();
  SetFocus(FListePropositions);
}

LRESULT TFicheChoixConfigurationHttp::TraiterMessage(UINT message, WPARAM w, LPARAM l) {
  if (message == WM_DRAWITEM && w == Id::ListePropositions) {
    DessinerLigne(*reinterpret_cast<const DRAWITEMSTRUCT*>(l));
    return TRUE;
  }
  if (message == WM_MEASUREITEM && w == Id::ListePropositions) {
    auto& mesure = *reinterpret_cast<MEASUREITEMSTRUCT*>(l);
    mesure.itemHeight = static_cast<UINT>(HauteurLigneProposition(static_cast<int>(mesure.itemID)));
    return TRUE;
  }
  return TFicheModale::TraiterMessage(message, w, l);
}

int TFicheChoixConfigurationHttp::BoutonParDefaut() const { return Id::BtnValider; }

void TFicheChoixConfigurationHttp::Commande(int identifiant, int notification) {
  const auto ligneCourante = [this] { return static_cast<int>(SendMessageW(FListePropositions, LB_GETCURSEL, 0, 0)); };
  if (identifiant == Id::ListePropositions) {
    if (notification == LBN_SELCHANGE && ligneCourante() != LB_ERR) ListePropositionsSelectCell(ligneCourante());
    if (notification == LBN_DBLCLK && ligneCourante() != LB_ERR) ListePropositionsCellDblClick(ligneCourante());
  } else if (notification == BN_CLICKED) {
    if (identifiant == Id::BtnValider && IsWindowEnabled(FBtnValider)) SetResultatModal(mrOK);
    if (identifiant == Id::BtnAnnuler) SetResultatModal(mrAnnuler);
  }
}

void TFicheChoixConfigurationHttp::ListePropositionsSelectCell(int ligne) { FPropositionChoisie = ligne; }

void TFicheChoixConfigurationHttp::ListePropositionsCellDblClick(int ligne) {
  FPropositionChoisie = ligne;
  SetResultatModal(mrOK);
}

void TFicheChoixConfigurationHttp::Redimensionnee(int, int) {
  if (FListePropositions) Disposer();  // the first size comes while the window is created
}

void TFicheChoixConfigurationHttp::Disposer() {
  const TEchelle& e = Echelle();
  RECT client;
  GetClientRect(Handle(), &client);
  const int largeur = client.right, hauteur = client.bottom;
  // The list keeps its margins to the four sides; the buttons keep theirs to the right and bottom.
  MoveWindow(FListePropositions, e(Marge), e(Marge), std::max(0, largeur - 2 * e(Marge)),
             std::max(0, hauteur - e(Marge) - e(EspaceBoutons)), TRUE);
  const int yBoutons = hauteur - e(Marge) - e(HauteurBouton);
  MoveWindow(FBtnAnnuler, largeur - 2 * e(Marge + LargeurBouton), yBoutons, e(LargeurBouton), e(HauteurBouton), TRUE);
  MoveWindow(FBtnValider, largeur - e(Marge + LargeurBouton), yBoutons, e(LargeurBouton), e(HauteurBouton), TRUE);
  ListePropositionsResized();
}

int TFicheChoixConfigurationHttp::LargeurTexteLigne() const {
  RECT interieur;
  GetClientRect(FListePropositions, &interieur);
  return std::max<int>(1, interieur.right - 2 * Echelle()(RetraitTexte));
}

int TFicheChoixConfigurationHttp::HauteurLigneProposition(int ligne) const {
  const TEchelle& e = Echelle();
  const int minimum = LignesParProposition * (HauteurLigne(Police()) + e(EspaceLigneGrille));
  if (ligne < 0 || static_cast<size_t>(ligne) >= FTabPropositions.size()) return minimum;
  const int texte =
      TailleTexte(Police(), TexteProposition(FTabPropositions[static_cast<size_t>(ligne)]), LargeurTexteLigne()).cy +
      e(MargeHautTexte) + 1;
  return std::min(HauteurLigneMaximale, std::max(minimum, texte));
}

void TFicheChoixConfigurationHttp::ListePropositionsResized() {
  // The single column is the list's whole width: its rows wrap again at the new width, and a
  // scroll bar that comes or goes changes that width once more.
  for (int passe = 0; passe < 2; ++passe) {
    const int largeur = LargeurTexteLigne();
    for (int ligne = 0; static_cast<size_t>(ligne) < FTabPropositions.size(); ++ligne)
      SendMessageW(FListePropositions, LB_SETITEMHEIGHT, static_cast<WPARAM>(ligne), HauteurLigneProposition(ligne));
    if (LargeurTexteLigne() == largeur) break;
  }
  InvalidateRect(FListePropositions, nullptr, TRUE);
}

void TFicheChoixConfigurationHttp::DessinerLigne(const DRAWITEMSTRUCT& dessin) const {
  if (dessin.itemID == static_cast<UINT>(-1)) return;
  const bool choisie = dessin.itemState & ODS_SELECTED;
  RECT cellule = dessin.rcItem;
  FillRect(dessin.hDC, &cellule, GetSysColorBrush(choisie ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  // The row line, at the bottom of each cell.
  RECT ligne{cellule.left, cellule.bottom - 1, cellule.right, cellule.bottom};
  FillRect(dessin.hDC, &ligne, GetSysColorBrush(COLOR_BTNFACE));
  const auto texte = TexteProposition(FTabPropositions.at(dessin.itemID));
  const HGDIOBJ ancienne = SelectObject(dessin.hDC, Police());
  SetBkMode(dessin.hDC, TRANSPARENT);
  SetTextColor(dessin.hDC, GetSysColor(choisie ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  const TEchelle& e = Echelle();
  RECT zoneTexte{cellule.left + e(RetraitTexte), cellule.top + e(MargeHautTexte), cellule.right - e(RetraitTexte),
                 cellule.bottom - 1};
  DrawTextW(dessin.hDC, texte.c_str(), static_cast<int>(texte.size()), &zoneTexte,
            DT_LEFT | DT_TOP | FormatTexteRenvoye);
  SelectObject(dessin.hDC, ancienne);
  if (dessin.itemState & ODS_FOCUS) DrawFocusRect(dessin.hDC, &cellule);
}

}  // namespace norvel
