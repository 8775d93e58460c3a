#include "dialogs/FicheChoixConfigurationHttp.h"

#include "core/Format.h"
#include "core/Messages.h"
#include "ui/IdentifiantsControles.h"

namespace norvel {

namespace {
namespace Id = IdControle::ChoixConfigurationHttp;

// Layout at design size: the list fills the form but for a margin of 8 and the row of buttons.
constexpr int LargeurClient = 395, HauteurClient = 315;
constexpr int Marge = 8, LargeurBouton = 80, HauteurBouton = 22;
constexpr int EspaceBoutons = HauteurClient - (Marge + 269);  // below the list, at design size

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
  FListePropositions = CreerControle(
      L"LISTBOX", L"",
      WS_BORDER | WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT,
      Id::ListePropositions, Marge, Marge, LargeurClient - 2 * Marge, HauteurClient - Marge - EspaceBoutons);
  FBtnAnnuler = CreerControle(L"BUTTON", Msg::Annuler, WS_TABSTOP | BS_PUSHBUTTON, Id::BtnAnnuler,
                              LargeurClient - 2 * (Marge + LargeurBouton), HauteurClient - Marge - HauteurBouton,
                              LargeurBouton, HauteurBouton);
  FBtnValider = CreerControle(L"BUTTON", Msg::Valider, WS_TABSTOP | BS_DEFPUSHBUTTON, Id::BtnValider,
                              LargeurClient - Marge - LargeurBouton, HauteurClient - Marge - HauteurBouton,
                              LargeurBouton, HauteurBouton);

  // Four of the grid's default rows per proposal, so that its four lines fit.
  HDC dc = GetDC(FListePropositions);
  const HGDIOBJ ancienne = SelectObject(dc, Police());
  TEXTMETRICW metriques{};
  GetTextMetricsW(dc, &metriques);
  SelectObject(dc, ancienne);
  ReleaseDC(FListePropositions, dc);
  const int hauteurLigneParDefaut = metriques.tmHeight + metriques.tmExternalLeading + 6;
  SendMessageW(FListePropositions, LB_SETITEMHEIGHT, 0, 4 * hauteurLigneParDefaut);

  for (const auto& proposition : FTabPropositions)
    SendMessageW(FListePropositions, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(TexteProposition(proposition).c_str()));
  // The first row is the one chosen until another is selected.
  SendMessageW(FListePropositions, LB_SETCURSEL, 0, 0);
  // Without a row there is nothing to confirm.
  EnableWindow(FBtnValider, !FTabPropositions.empty());
  SetFocus(FListePropositions);
}

LRESULT TFicheChoixConfigurationHttp::TraiterMessage(UINT message, WPARAM w, LPARAM l) {
  if (message == WM_DRAWITEM && w == Id::ListePropositions) {
    DessinerLigne(*reinterpret_cast<const DRAWITEMSTRUCT*>(l));
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

void TFicheChoixConfigurationHttp::Redimensionnee(int largeur, int hauteur) {
  if (!FListePropositions) return;  // the first size comes while the window is created
  // The list keeps its margins to the four sides; the buttons keep theirs to the right and bottom.
  MoveWindow(FListePropositions, Marge, Marge, std::max(0, largeur - 2 * Marge),
             std::max(0, hauteur - Marge - EspaceBoutons), TRUE);
  const int yBoutons = hauteur - Marge - HauteurBouton;
  MoveWindow(FBtnAnnuler, largeur - 2 * (Marge + LargeurBouton), yBoutons, LargeurBouton, HauteurBouton, TRUE);
  MoveWindow(FBtnValider, largeur - Marge - LargeurBouton, yBoutons, LargeurBouton, HauteurBouton, TRUE);
  ListePropositionsResized();
}

void TFicheChoixConfigurationHttp::ListePropositionsResized() {
  // The single column is the list's whole width: its rows are drawn again at the new width.
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
  RECT zoneTexte{cellule.left + 4, cellule.top + 2, cellule.right - 4, cellule.bottom - 1};
  DrawTextW(dessin.hDC, texte.c_str(), static_cast<int>(texte.size()), &zoneTexte, DT_LEFT | DT_TOP | DT_NOPREFIX);
  SelectObject(dessin.hDC, ancienne);
  if (dessin.itemState & ODS_FOCUS) DrawFocusRect(dessin.hDC, &cellule);
}

}  // namespace norvel
