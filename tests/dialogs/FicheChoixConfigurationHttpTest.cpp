// The configuration choice dialog: the text of each kind of proposal, and the real dialog
// driven by the UI driver from another process (rows, selection, double-click, OK, Cancel,
// resizing), every row whole at 100 % and 150 %.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <vector>

#include "core/Chaines.h"
#include "core/Handle.h"
#include "dialogs/FicheChoixConfigurationHttp.h"
#include "support/CaptureEcran.h"
#include "support/Pilote.h"
#include "ui/IdentifiantsControles.h"

using namespace norvel;
using namespace norvel::test;
using enum TypeGenreConfigProxyClientsHttp;

namespace {

TypePropositionModifConfigClientsHttp Proposition(TypeGenreConfigProxyClientsHttp genre, std::wstring http = {},
                                                  std::wstring https = {}, TypeTabChaines exceptions = {},
                                                  std::wstring url = {}) {
  return {genre, std::move(http), std::move(https), std::move(exceptions), std::move(url)};
}

const TypeTabPropositionsModifConfigClientsHttp QuatrePropositions = {
    Proposition(gcpConfigSysteme),
    Proposition(gcpConfigOvalis, L"127.0.0.1:3128", L"127.0.0.1:3129", {L"intranet", L"localhost"}),
    Proposition(gcpUrlConfig, {}, {}, {}, L"http://127.0.0.1:8080/proxy.pac"),
    Proposition(gcpWpad),
};

const std::wstring TitreChoix = L"Choix meilleure configuration http";

struct TIssue {
  int Resultat = mrAucun;
  int Choix = -1;
  TResultatPilote Pilote;
};

// Shows the dialog for the proposals while the driver does its work on it.
TIssue Choisir(const TypeTabPropositionsModifConfigClientsHttp& propositions, const std::wstring& commandes) {
  auto fiche = TFicheChoixConfigurationHttp::CreateOv(nullptr, propositions);
  TIssue issue;
  issue.Pilote = PiloterPendant(OptionTitre(TitreChoix) + L"attendre-fenetre -- " + commandes,
                                [&] { issue.Resultat = fiche->ExecuterModal(); });
  issue.Choix = fiche->PropositionChoisie();
  return issue;
}

// A black and white picture of what a drawing leaves on white: the pixels darker than grey.
class TToile {
 public:
  TToile(int largeur, int hauteur) : FLargeur(largeur), FHauteur(hauteur), FDc(CreateCompatibleDC(nullptr)) {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(info.bmiHeader), largeur, -hauteur, 1, 32, BI_RGB};
    FBitmap = TBitmapGdi(CreateDIBSection(FDc, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&FPixels), nullptr, 0));
    FAncien = SelectObject(FDc, FBitmap.Get());
    const RECT tout{0, 0, largeur, hauteur};
    FillRect(FDc, &tout, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  }
  ~TToile() {
    SelectObject(FDc, FAncien);
    DeleteDC(FDc);
  }
  HDC Dc() const { return FDc; }
  // Pixels of ink in the rows above `hauteur`.
  int Encre(int hauteur) const {
    GdiFlush();
    int encre = 0;
    for (int i = 0; i < FLargeur * std::min(hauteur, FHauteur); ++i) {
      const BYTE* p = reinterpret_cast<const BYTE*>(&FPixels[i]);
      if (p[0] < 100 && p[1] < 100 && p[2] < 100) ++encre;
    }
    return encre;
  }

 private:
  int FLargeur, FHauteur;
  HDC FDc;
  TBitmapGdi FBitmap;
  DWORD* FPixels = nullptr;
  HGDIOBJ FAncien = nullptr;
};

// The ink of one row as the dialog draws it, in the cell the list gives it, not selected.
int EncreLigne(HWND fiche, int ligne) {
  const HWND liste = GetDlgItem(fiche, IdControle::ChoixConfigurationHttp::ListePropositions);
  RECT cellule{};
  SendMessageW(liste, LB_GETITEMRECT, static_cast<WPARAM>(ligne), reinterpret_cast<LPARAM>(&cellule));
  const int largeur = cellule.right - cellule.left, hauteur = cellule.bottom - cellule.top;
  TToile toile(largeur, hauteur);
  DRAWITEMSTRUCT dessin{ODT_LISTBOX, IdControle::ChoixConfigurationHttp::ListePropositions, static_cast<UINT>(ligne),
                        ODA_DRAWENTIRE, 0, liste, toile.Dc(), RECT{0, 0, largeur, hauteur}, 0};
  SendMessageW(fiche, WM_DRAWITEM, dessin.CtlID, reinterpret_cast<LPARAM>(&dessin));
  // The row line at the bottom of the cell is not text.
  return toile.Encre(hauteur - 1);
}

// The ink of the whole text in the list's font, each line written out on a wide page.
int EncreTexteEntier(HWND fiche, const std::wstring& texte) {
  const HWND liste = GetDlgItem(fiche, IdControle::ChoixConfigurationHttp::ListePropositions);
  TToile toile(4000, 400);
  const HGDIOBJ ancienne = SelectObject(toile.Dc(), reinterpret_cast<HFONT>(SendMessageW(liste, WM_GETFONT, 0, 0)));
  SetBkMode(toile.Dc(), TRANSPARENT);
  RECT page{0, 0, 4000, 400};
  DrawTextW(toile.Dc(), texte.c_str(), static_cast<int>(texte.size()), &page, DT_LEFT | DT_TOP | DT_NOPREFIX);
  SelectObject(toile.Dc(), ancienne);
  return toile.Encre(400);
}

}  // namespace

TEST(TexteProposition, OneRowPerKindWithTheListsJoinedAndTheEmptyValuesNamed) {
  struct Cas {
    TypePropositionModifConfigClientsHttp proposition;
    std::wstring texte;
  } cas[] = {
      {Proposition(gcpConfigSysteme, L"ignoré:1"), L"Utiliser les paramètres de proxy par défaut du système"},
      {Proposition(gcpConfigOvalis, L"proxy:3128", L"proxy:3129", {L"a.local", L"b.local", L"<local>"}),
       L"Utiliser des paramètres personnalisés\r\nPour les connexions HTTP :proxy:3128\r\n"
       L"Pour les connexions HTTPS :proxy:3129\r\nServeurs en accès direct :a.local, b.local, <local>"},
      {Proposition(gcpConfigOvalis),
       L"Utiliser des paramètres personnalisés\r\nPour les connexions HTTP :(pas de serveur proxy)\r\n"
       L"Pour les connexions HTTPS :(pas de serveur proxy)\r\nServeurs en accès direct :(aucun serveur)"},
      {Proposition(gcpConfigOvalis, {}, L"seul:8443"),
       L"Utiliser des paramètres personnalisés\r\nPour les connexions HTTP :(pas de serveur proxy)\r\n"
       L"Pour les connexions HTTPS :seul:8443\r\nServeurs en accès direct :(aucun serveur)"},
      {Proposition(gcpUrlConfig, {}, {}, {}, L"http://wpad.local/wpad.dat"),
       L"Utiliser une adresse de configuration automatique (peut être lent)\r\nhttp://wpad.local/wpad.dat"},
      {Proposition(gcpWpad, {}, {}, {}, L"ignorée"),
       L"Détecter automatiquement les paramètres (Protocole WPAD, peut être très lent)"},
  };
  for (const auto& c : cas) EXPECT_EQ(c.texte, TexteProposition(c.proposition));
}

TEST(FicheChoixConfigurationHttp, ShowsOneRowPerProposalAndValidatesTheFirstUntouched) {
  const auto issue = Choisir(QuatrePropositions, L"lignes ListePropositions -- lire BtnAnnuler -- cliquer BtnValider");
  ASSERT_EQ(0u, issue.Pilote.Code) << VersUtf8(issue.Pilote.Erreurs);
  EXPECT_EQ(L"0\t1\tUtiliser les paramètres de proxy par défaut du système\n"
            L"1\t0\tUtiliser des paramètres personnalisés\\r\\nPour les connexions HTTP :127.0.0.1:3128\\r\\n"
            L"Pour les connexions HTTPS :127.0.0.1:3129\\r\\nServeurs en accès direct :intranet, localhost\n"
            L"2\t0\tUtiliser une adresse de configuration automatique (peut être lent)\\r\\n"
            L"http://127.0.0.1:8080/proxy.pac\n"
            L"3\t0\tDétecter automatiquement les paramètres (Protocole WPAD, peut être très lent)\n"
            L"Annuler\n",
            issue.Pilote.Sortie);
  EXPECT_EQ(mrOK, issue.Resultat);
  EXPECT_EQ(0, issue.Choix);
}

TEST(FicheChoixConfigurationHttp, TheSelectedRowIsTheChoice) {
  struct Cas {
    std::wstring commandes;
    int resultat;
    int choix;
  } cas[] = {
      // A click selects; the last row selected is the one validated.
      {L"cliquer-ligne ListePropositions 3 -- cliquer-ligne ListePropositions 2 -- cliquer BtnValider", mrOK, 2},
      // A double-click chooses and closes at once.
      {L"double-cliquer-ligne ListePropositions 1", mrOK, 1},
      // Enter presses "Valider", the default button.
      {L"cliquer-ligne ListePropositions 3 -- entree", mrOK, 3},
      // "Annuler", or the close box: no choice to apply, whatever was selected.
      {L"cliquer-ligne ListePropositions 1 -- cliquer BtnAnnuler", mrAnnuler, 1},
      {L"cliquer-ligne ListePropositions 2 -- fermer", mrAnnuler, 2},
  };
  for (const auto& c : cas) {
    const auto issue = Choisir(QuatrePropositions, c.commandes);
    EXPECT_EQ(0u, issue.Pilote.Code) << VersUtf8(c.commandes) << " : " << VersUtf8(issue.Pilote.Erreurs);
    EXPECT_EQ(c.resultat, issue.Resultat) << VersUtf8(c.commandes);
    EXPECT_EQ(c.choix, issue.Choix) << VersUtf8(c.commandes);
  }
}

TEST(FicheChoixConfigurationHttp, WithoutProposalsThereIsNothingToValidate) {
  const auto issue = Choisir({}, L"etat BtnValider -- lignes ListePropositions -- cliquer BtnAnnuler");
  ASSERT_EQ(0u, issue.Pilote.Code) << VersUtf8(issue.Pilote.Erreurs);
  EXPECT_EQ(L"visible=1 actif=0 coche=-1\n", issue.Pilote.Sortie);
  EXPECT_EQ(mrAnnuler, issue.Resultat);
}

TEST(FicheChoixConfigurationHttp, TheListFollowsTheFormAndTheButtonsItsBottomRightCorner) {
  auto fiche = TFicheChoixConfigurationHttp::CreateOv(nullptr, QuatrePropositions);
  // "left,top,right,bottom" in the form's client area.
  auto rectangle = [&](int id) {
    RECT r{};
    GetWindowRect(GetDlgItem(fiche->Handle(), id), &r);
    MapWindowPoints(nullptr, fiche->Handle(), reinterpret_cast<POINT*>(&r), 2);
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
  };
  namespace Id = IdControle::ChoixConfigurationHttp;
  RECT client{};
  GetClientRect(fiche->Handle(), &client);
  EXPECT_EQ(395, client.right);
  EXPECT_EQ(315, client.bottom);
  EXPECT_EQ("8,8,387,277", rectangle(Id::ListePropositions));
  EXPECT_EQ("219,285,299,307", rectangle(Id::BtnAnnuler));
  EXPECT_EQ("307,285,387,307", rectangle(Id::BtnValider));

  RECT fenetre{};
  GetWindowRect(fiche->Handle(), &fenetre);
  SetWindowPos(fiche->Handle(), nullptr, 0, 0, fenetre.right - fenetre.left + 100, fenetre.bottom - fenetre.top + 50,
               SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ("8,8,487,327", rectangle(Id::ListePropositions));
  EXPECT_EQ("319,335,399,357", rectangle(Id::BtnAnnuler));
  EXPECT_EQ("407,335,487,357", rectangle(Id::BtnValider));
  // The single column is the list's width: a row spans it whole.
  RECT ligne{};
  SendMessageW(GetDlgItem(fiche->Handle(), Id::ListePropositions), LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&ligne));
  RECT interieur{};
  GetClientRect(GetDlgItem(fiche->Handle(), Id::ListePropositions), &interieur);
  EXPECT_EQ(interieur.right, ligne.right);
  EXPECT_GT(ligne.bottom - ligne.top, 50) << "a row is four lines high";
}

TEST(FicheChoixConfigurationHttp, EveryRowShowsItsWholeTextAt100And150PerCent) {
  // Besides the four kinds: a long list of servers reached directly and an automatic
  // configuration address longer than a row, which the rows must wrap.
  TypeTabChaines serveurs;
  for (int i = 1; i <= 12; ++i) serveurs.push_back(L"serveur-" + std::to_wstring(i) + L".intranet.ecole.local");
  auto propositions = QuatrePropositions;
  propositions.push_back(Proposition(gcpConfigOvalis, L"proxy.academie.example:3128", {}, serveurs));
  propositions.push_back(Proposition(
      gcpUrlConfig, {}, {}, {},
      L"http://configuration-automatique.academie.example:8080/scripts/ecoles-primaires/configuration-proxy.pac"));
  struct Cas {
    UINT ppp;
    const wchar_t* capture;
  } cas[] = {{96, L"choix-configuration-100"}, {144, L"choix-configuration-150"}};
  for (const auto& c : cas) {
    SCOPED_TRACE(c.ppp);
    auto fiche = TFicheChoixConfigurationHttp::CreateOv(nullptr, propositions);
    if (c.ppp != 96) ChangerEchelle(fiche->Handle(), 96, c.ppp);
    const HWND liste = GetDlgItem(fiche->Handle(), IdControle::ChoixConfigurationHttp::ListePropositions);
    RECT client{};
    GetClientRect(fiche->Handle(), &client);
    EXPECT_EQ(MulDiv(395, static_cast<int>(c.ppp), 96), client.right);
    int hauteurMinimale = INT_MAX;
    for (size_t ligne = 0; ligne < propositions.size(); ++ligne) {
      RECT cellule{};
      SendMessageW(liste, LB_GETITEMRECT, ligne, reinterpret_cast<LPARAM>(&cellule));
      hauteurMinimale = std::min<int>(hauteurMinimale, cellule.bottom - cellule.top);
      // Cut at the right or at the bottom, a row would show less of its text than the text has.
      const int attendue = EncreTexteEntier(fiche->Handle(), TexteProposition(propositions[ligne]));
      EXPECT_GE(EncreLigne(fiche->Handle(), static_cast<int>(ligne)), attendue * 97 / 100)
          << "row " << ligne << " : " << VersUtf8(TexteProposition(propositions[ligne]));
    }
    EXPECT_GT(hauteurMinimale, MulDiv(50, static_cast<int>(c.ppp), 96)) << "every row keeps room for four lines";
    RECT bouton{};
    GetWindowRect(GetDlgItem(fiche->Handle(), IdControle::ChoixConfigurationHttp::BtnValider), &bouton);
    EXPECT_EQ(MulDiv(80, static_cast<int>(c.ppp), 96), bouton.right - bouton.left);
    PhotographierFenetre(fiche->Handle(), L"captures-dialogues", c.capture);
  }
}
