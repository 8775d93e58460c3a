// The configuration choice dialog: the text of each kind of proposal, and the real dialog
// driven by the UI driver from another process (rows, selection, double-click, OK, Cancel,
// resizing).
#include <gtest/gtest.h>

#include "core/Chaines.h"
#include "dialogs/FicheChoixConfigurationHttp.h"
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
