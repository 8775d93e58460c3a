// The wizard's window in this test program: the page and its stack, the school lookup against
// the stand-in web service (real HTTPS on 127.0.0.1), answers that come back after a later
// click, the confirmation and the terms, the progress of steps 5 to 7, the keyboard, the
// internal menu and the display scale.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <filesystem>
#include <functional>

#include "platform/AppelThreadPrincipal.h"
#include "ui/MenuOvalis.h"
#include "core/Chaines.h"
#include "core/Format.h"
#include "core/Messages.h"
#include "core/ErreurSysteme.h"
#include "support/CaptureEcran.h"
#include "support/CheminsTest.h"
#include "support/Pilote.h"
#include "support/RegistreIsole.h"
#include "support/Sondage.h"
#include "support/TextesEntiers.h"
#include "support/UtilisateurProxyBasic.h"
#include "wizard/FicheInstalleurEssai.h"

using namespace norvel;
using namespace norvel::test;

namespace {

const std::wstring EcoleFerry = L"École élémentaire Jules Ferry";
const std::wstring EcolePins = L"Ecole Allée des pins";

// Registers the witness program of the tests as the handler of "https" addresses, in the
// classes root of this process (a private copy while a TRegistreIsole redirects it).
void EnregistrerNavigateurTemoin() {
  HKEY cle = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CLASSES_ROOT, L"https\\shell\\open\\command", 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                            &cle, nullptr),
            ERROR_SUCCESS);
  const std::wstring commande = L"\"" + FichierBuild(L"tools\\temoin.exe") + L"\" \"%1\"";
  RegSetValueExW(cle, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(commande.c_str()),
                 static_cast<DWORD>((commande.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(cle);
}

class FicheInstalleur : public testing::Test {
 protected:
  TBancFiche FBanc;

  // Step 2 with a school found.
  void JusquALEcole(const std::wstring& identifiant = L"0750001A") {
    FBanc.Ouvrir();
    FBanc.Saisir(identifiant);
    FBanc.Cliquer(Id::BtnValidationRNE);
    ASSERT_TRUE(FBanc.Visible(Id::PanelEtape3)) << VersUtf8(FBanc.Texte(Id::LabelErreurEtape2));
  }
};

}  // namespace

TEST_F(FicheInstalleur, LaPageAuDepartDeLEtape2) {
  FBanc.Ouvrir();
  EXPECT_EQ(FBanc.Fiche().Titre(), L"Assistant d'installation de NORVEL Primaire - 1.9.0.0");
  RECT client;
  GetClientRect(FBanc.Fenetre(), &client);
  EXPECT_EQ(client.right, 783);
  EXPECT_EQ(client.bottom, 521) << "the height of the side image";
  EXPECT_EQ(GetMenu(FBanc.Fenetre()), nullptr) << "the internal menu is hidden on an ordinary machine";

  EXPECT_EQ(FBanc.PileMontree(), (std::vector<int>{Id::PanelEtape1, Id::PanelEtape2}));
  EXPECT_TRUE(FBanc.Visible(Id::ImageCheckEtape1));
  EXPECT_FALSE(FBanc.Visible(Id::PatienceEtape1));
  EXPECT_EQ(FBanc.Texte(Id::LabelEtape1), L"1/7. Test accès internet");
  EXPECT_EQ(FBanc.Texte(Id::LabelEtape2), L"2/7. Saisie du RNE");
  EXPECT_EQ(FBanc.Texte(Id::LabelEtape2Explication), L"Saisissez le RNE de l'école (ou l'identifiant fourni par Ovalis)");
  EXPECT_EQ(FBanc.Texte(Id::LabelEtape3), L"3/7. Confirmation de l'école");
  EXPECT_EQ(FBanc.Texte(Id::LabelEtape4), L"4/7. Acceptation des ");
  EXPECT_EQ(FBanc.Texte(Id::LabelEtape4Lien), L"conditions générales d'utilisation");
  EXPECT_EQ(FBanc.Texte(Id::CheckboxCGUEtape4), L"J'ai lu et j'accepte les conditions générales d'utilisation");
  EXPECT_EQ(FBanc.Texte(Id::LabelEtape5),
            L"5/7. Création sur le bureau d'un raccourci vers le portail de l'école (Espaces web)");
  EXPECT_EQ(FBanc.Texte(Id::LabelEtape6), L"") << "set by the school lookup";
  EXPECT_EQ(FBanc.Texte(Id::btnFermer), L"Fermer");
  EXPECT_FALSE(FBanc.Actif(Id::BtnValidationRNE));
  EXPECT_EQ(GetFocus(), FBanc.Controle(Id::EditRNE));

  // The stack: step 1 at 10 pixels from the top, step 2 25 pixels below it; "Fermer" in the corner.
  EXPECT_EQ(FBanc.Place(Id::PanelEtape1).top, 10);
  EXPECT_EQ(FBanc.Place(Id::PanelEtape2).top, FBanc.Place(Id::PanelEtape1).bottom + 25);
  const RECT fermer = FBanc.Place(Id::btnFermer);
  EXPECT_EQ(fermer.right, 783 - 79 - 8);
  EXPECT_EQ(fermer.bottom, 521 - 8);
  EXPECT_EQ(fermer.right - fermer.left, 89);
  ExigerTextesEntiers(FBanc.Fenetre());
  FBanc.Capturer(L"1-acces-internet-puis-etape-2");
}

// ---- Step 1

namespace {

const std::wstring TitreChoix = L"Choix meilleure configuration http";

// The configuration in force reaches nothing: its proxy is dead. The configuration also tests
// a plain-HTTP page that only Squid reaches, so that a search can offer Squid for both schemes.
void AccesEnPanne(TBancFiche& banc) {
  banc.Sessions().AppliquerPropositionModifConfig(PropositionProxy(L"127.0.0.1:9", {L"<local>"}));
  banc.Sessions().AjouterUrlTest(TBancFiche::Monde().Url("http", L"/page-essai-assistant", L"internet.test"));
}

}  // namespace

TEST_F(FicheInstalleur, AccesEnEchecUneConfigurationTrouveeEstChoisieEtAppliquee) {
  AccesEnPanne(FBanc);
  FBanc.Sessions().AjouterProxyConnu(TBancFiche::Squid());
  // The user reads the window while the dialog is up, then validates the first proposal.
  const auto r = PiloterPendant(OptionTitre(TitreChoix) + L"-delai 90000 attendre-fenetre -- fenetre \"" +
                                    TitreFicheInstalleur(VersionDepuisNumeros({1, 9, 0, 0})) +
                                    L"\" -- lire LabelErreurEtape1 -- fenetre \"" + TitreChoix +
                                    L"\" -- lignes ListePropositions -- cliquer BtnValider",
                                [&] { FBanc.Ouvrir(); });
  ASSERT_EQ(r.Code, 0u) << VersUtf8(r.Erreurs);
  EXPECT_EQ(r.Sortie, L"Accès internet en échec. Recherche d'une meilleure configuration ...\n0\t1\t"
                      L"Utiliser des paramètres personnalisés\\r\\nPour les connexions HTTP :" + TBancFiche::Squid() +
                      L"\\r\\nPour les connexions HTTPS :" + TBancFiche::Squid() +
                      L"\\r\\nServeurs en accès direct :<local>\n");
  EXPECT_EQ(FBanc.Texte(Id::LabelErreurEtape1), L"Une configuration http fonctionnelle a été appliquée.");
  EXPECT_EQ(FBanc.CouleurTexte(Id::LabelErreurEtape1), RGB(0, 0, 0));
  EXPECT_TRUE(FBanc.Visible(Id::ImageCheckEtape1));
  EXPECT_FALSE(FBanc.Visible(Id::PatienceEtape1));
  EXPECT_EQ(FBanc.PileMontree(), (std::vector<int>{Id::PanelEtape1, Id::LabelErreurEtape1, Id::PanelEtape2}));
  EXPECT_EQ(FBanc.Sessions().GetProxyHttpsOvalis(), TBancFiche::Squid());
  EXPECT_EQ(GetFocus(), FBanc.Controle(Id::EditRNE));
  FBanc.Capturer(L"1-configuration-appliquee");
}

// The shared file cannot be written (here another program holds it open, as an
// administrator's file refuses a standard user): the chosen configuration serves this run, the
// window says that it was not saved and why, and the thread saves it once the file is free.
TEST_F(FicheInstalleur, AccesEnEchecLaConfigurationChoisieQuiNePeutEtreEnregistreeLeDit) {
  AccesEnPanne(FBanc);
  FBanc.Sessions().AjouterProxyConnu(TBancFiche::Squid());
  const std::wstring fichier = FBanc.Sessions().ThreadConfig().NomFichier();
  ASSERT_TRUE(AttendreQue([&] { return std::filesystem::exists(fichier); }, 5000));
  {
    THandleFichier lecteur(CreateFileW(fichier.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(lecteur);
    const auto r = PiloterPendant(OptionTitre(TitreChoix) + L"-delai 90000 attendre-fenetre -- cliquer BtnValider",
                                  [&] { FBanc.Ouvrir(); });
    ASSERT_EQ(r.Code, 0u) << VersUtf8(r.Erreurs);
    EXPECT_TRUE(CommencePar(FBanc.Texte(Id::LabelErreurEtape1),
                            L"La configuration http choisie fonctionne pour cette session mais n'a pas pu être "
                            L"enregistrée : Erreur interne (MoveFileEx, 0x"))
        << VersUtf8(FBanc.Texte(Id::LabelErreurEtape1));
    EXPECT_EQ(FBanc.CouleurTexte(Id::LabelErreurEtape1), RGB(255, 0, 0));
    EXPECT_TRUE(FBanc.Visible(Id::ImageCheckEtape1));
    EXPECT_EQ(FBanc.PileMontree(), (std::vector<int>{Id::PanelEtape1, Id::LabelErreurEtape1, Id::PanelEtape2}));
    EXPECT_EQ(FBanc.Sessions().GetProxyHttpsOvalis(), TBancFiche::Squid());
    EXPECT_EQ(LireOctets(fichier).find(VersUtf8(L"<ProxyHttpsOvalis>" + TBancFiche::Squid())), std::string::npos);
    FBanc.Capturer(L"1-configuration-non-enregistree");
  }
  EXPECT_TRUE(FBanc.Pomper([&] {
    return LireOctets(fichier).find(VersUtf8(L"<ProxyHttpsOvalis>" + TBancFiche::Squid())) != std::string::npos;
  }));
}

TEST_F(FicheInstalleur, AccesEnEchecLeChoixRefuseArreteLAssistant) {
  AccesEnPanne(FBanc);
  FBanc.Sessions().AjouterProxyConnu(TBancFiche::Squid());
  const auto r = PiloterPendant(OptionTitre(TitreChoix) + L"-delai 90000 attendre-fenetre -- cliquer BtnAnnuler",
                                [&] { FBanc.Ouvrir(); });
  ASSERT_EQ(r.Code, 0u) << VersUtf8(r.Erreurs);
  EXPECT_EQ(FBanc.Texte(Id::LabelErreurEtape1), L"Annulation choix meilleure configuration");
  EXPECT_EQ(FBanc.CouleurTexte(Id::LabelErreurEtape1), RGB(255, 0, 0));
  EXPECT_EQ(FBanc.PileMontree(), (std::vector<int>{Id::PanelEtape1, Id::LabelErreurEtape1}));
  EXPECT_FALSE(FBanc.Visible(Id::ImageCheckEtape1));
  EXPECT_FALSE(FBanc.Visible(Id::PatienceEtape1));
  EXPECT_EQ(GetFocus(), FBanc.Controle(Id::btnFermer));
  EXPECT_EQ(FBanc.Sessions().GetProxyHttpsOvalis(), L"127.0.0.1:9") << "nothing applied";
  FBanc.Capturer(L"1-choix-annule");
}

TEST_F(FicheInstalleur, AccesEnEchecSansAucuneConfigurationQuiFonctionne) {
  AccesEnPanne(FBanc);
  // Squid, known since the bench went through it, is forgotten: nothing reaches the pages.
  FBanc.Sessions().SupprimerTabProxiesConnus({TBancFiche::Squid()});
  FBanc.Ouvrir();
  EXPECT_EQ(FBanc.Texte(Id::LabelErreurEtape1), L"Aucune configuration http fonctionnelle n'a été trouvée.");
  EXPECT_EQ(FBanc.PileMontree(), (std::vector<int>{Id::PanelEtape1, Id::LabelErreurEtape1}));
  EXPECT_FALSE(FBanc.Visible(Id::PatienceEtape1));
  EXPECT_FALSE(FBanc.Visible(Id::ImageCheckEtape1));
  ExigerTextesEntiers(FBanc.Fenetre());
  FBanc.Capturer(L"1-aucune-configuration");
}

// The configured proxy asks for Basic credentials: the access test shows the login dialog above
// the window, which refuses a blank login; with the right credentials the page goes through and
// the step passes. The https page is the stand-in's, reached directly: Wine cannot reach an https
// page through an authenticating proxy.
TEST_F(FicheInstalleur, AccesParUnProxyQuiDemandeSesIdentifiants) {
  const TUtilisateurProxyBasic utilisateur(TBancFiche::Monde());
  FBanc.Sessions().AppliquerPropositionModifConfig(PropositionProxy(utilisateur.Proxy, {L"<local>"}));
  FBanc.Sessions().AjouterUrlTest(TBancFiche::Monde().Url("http", L"/page-essai-authentifiee", L"internet.test"));
  FBanc.Sessions().AjouterUrlTest(TBancFiche::Monde().Url("https", L"/page-essai-directe"));
  const auto pilote = PiloterPendant(L"-delai 90000 " + utilisateur.Commandes(), [&] { FBanc.Ouvrir(); });
  ASSERT_EQ(pilote.Code, 0u) << VersUtf8(pilote.Erreurs);
  utilisateur.VerifierSortie(pilote);
  EXPECT_TRUE(FBanc.Visible(Id::ImageCheckEtape1));
  EXPECT_EQ(FBanc.PileMontree(), (std::vector<int>{Id::PanelEtape1, Id::PanelEtape2}));
  EXPECT_TRUE(utilisateur.ServiePourLUtilisateur("/page-essai-authentifiee"));

  const std::wstring fichier = FBanc.Sessions().ThreadConfig().NomFichier();
  EXPECT_TRUE(FinitPar(fichier, L"\\ConfigClientsHttp.xcfg")) << VersUtf8(fichier);
  const TypeInfoAuthHttp stockes = utilisateur.InfoAuthDuFichier(fichier);
  EXPECT_EQ(stockes.Schema, uint32_t{WINHTTP_AUTH_SCHEME_BASIC});
  EXPECT_EQ(stockes.Identifiant.GetValeur(), utilisateur.Utilisateur);
  EXPECT_EQ(stockes.MotDePasse.GetValeur(), utilisateur.MotDePasse);
}

TEST_F(FicheInstalleur, RechercheDeLEcoleErreursEtModification) {
  FBanc.Ouvrir();
  // Blanks count as a text: the lookup runs with an empty identifier and shows its error.
  FBanc.Saisir(L"   ");
  EXPECT_TRUE(FBanc.Actif(Id::BtnValidationRNE));
  FBanc.Cliquer(Id::BtnValidationRNE);
  EXPECT_EQ(FBanc.Texte(Id::LabelErreurEtape2), L"Erreur HTTP 404 : Ressource introuvable : /api/InfosNP/");
  EXPECT_EQ(FBanc.PileMontree(), (std::vector<int>{Id::PanelEtape1, Id::PanelEtape2, Id::LabelErreurEtape2}));
  EXPECT_EQ(FBanc.CouleurTexte(Id::LabelErreurEtape2), RGB(255, 0, 0));
  EXPECT_EQ(FBanc.Place(Id::LabelErreurEtape2).left, 39);
  FBanc.Capturer(L"2-erreur-recherche");

  // Any edit hides the error; an empty box disables "Valider".
  FBanc.Saisir(L"");
  EXPECT_FALSE(FBanc.Visible(Id::LabelErreurEtape2));
  EXPECT_FALSE(FBanc.Actif(Id::BtnValidationRNE));

  // The identifier travels without the blanks around it.
  FBanc.Saisir(L" \t0750001A  ");
  FBanc.Cliquer(Id::BtnValidationRNE);
  EXPECT_EQ(FBanc.PileMontree(), (std::vector<int>{Id::PanelEtape1, Id::PanelEtape2, Id::PanelEtape3}));
  EXPECT_EQ(FBanc.Texte(Id::LabelNomEcole), EcoleFerry);
  EXPECT_EQ(FBanc.Texte(Id::LabelAdresseEcole), L"12, rue des Écoles");
  EXPECT_EQ(FBanc.Texte(Id::LabelCodePostalVilleEcole), L"75005 Paris");
  EXPECT_EQ(FBanc.Texte(Id::LabelPaysEcole), L"France");
  EXPECT_EQ(FBanc.Texte(Id::LabelEtape6), L"6/7. Installation du Client NORVEL Primaire 2023 sur le poste");
  EXPECT_EQ(FBanc.Texte(Id::LabelEtape7), L"7/7. Lancement du client NORVEL Primaire");
  EXPECT_EQ(FBanc.Texte(Id::LabelNatureActionEtape7), L"Test connectivité");
  EXPECT_EQ(FBanc.Place(Id::PanelEtape3).top, FBanc.Place(Id::PanelEtape2).bottom + 25);
  ExigerTextesEntiers(FBanc.Fenetre());
  FBanc.Capturer(L"3-ecole-trouvee");

  // A failed lookup after a successful one, without an edit in between: the school stays, the
  // error comes between steps 2 and 3.
  FBanc.Saisir(L"0750001A~erreur500");
  FBanc.Saisir(L"0750001A");
  ASSERT_FALSE(FBanc.Visible(Id::PanelEtape3)) << "an edit hides the school at once";
  FBanc.Capturer(L"3-modification-cache-l-ecole");
  FBanc.Cliquer(Id::BtnValidationRNE);
  ASSERT_TRUE(FBanc.Visible(Id::PanelEtape3));
  FBanc.Saisir(L"9999999Z");
  FBanc.Cliquer(Id::BtnValidationRNE);
  EXPECT_EQ(FBanc.Texte(Id::LabelErreurEtape2), L"Aucun établissement ne correspond à l'identifiant « 9999999Z »");
  EXPECT_FALSE(FBanc.Visible(Id::PanelEtape3)) << "edited before the click";

  FBanc.Saisir(L"0130009B");
  FBanc.Cliquer(Id::BtnValidationRNE);
  FBanc.Cliquer(Id::BtnValidationRNE);  // the same again, now failing on the server's side
  ASSERT_TRUE(FBanc.Visible(Id::PanelEtape3));
  EXPECT_EQ(FBanc.Texte(Id::LabelNomEcole), EcolePins);
  EXPECT_EQ(FBanc.Texte(Id::LabelEtape6), L"6/7. Installation du Client NORVEL Primaire 2022 sur le poste");
  EXPECT_EQ(FBanc.Texte(Id::LabelNatureActionEtape7), L"Configuration");
}

TEST_F(FicheInstalleur, LeBoutonParDefautSuitLEtape) {
  FBanc.Ouvrir();
  const auto parDefaut = [&] { return static_cast<int>(LOWORD(SendMessageW(FBanc.Fenetre(), DM_GETDEFID, 0, 0))); };
  FBanc.Saisir(L"0750001A");
  EXPECT_EQ(parDefaut(), Id::BtnValidationRNE);
  FBanc.Cliquer(Id::BtnValidationRNE);
  ASSERT_TRUE(FBanc.Visible(Id::PanelEtape3));
  // Clicked, "Valider" has the focus and Enter would press it; back in the box, Enter confirms.
  EXPECT_EQ(parDefaut(), Id::BtnValidationRNE);
  SetFocus(FBanc.Controle(Id::EditRNE));
  EXPECT_EQ(parDefaut(), Id::BtnValidationEcole);
  EXPECT_EQ(GetWindowLongPtrW(FBanc.Controle(Id::BtnValidationEcole), GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
  EXPECT_EQ(GetWindowLongPtrW(FBanc.Controle(Id::BtnValidationRNE), GWL_STYLE) & BS_TYPEMASK, BS_PUSHBUTTON);
  FBanc.Saisir(L"0750001");
  EXPECT_EQ(parDefaut(), Id::BtnValidationRNE);
  FBanc.Saisir(L"");
  EXPECT_EQ(parDefaut(), Id::BtnValidationRNE) << "still the default, but disabled: Enter does nothing";
  EXPECT_FALSE(FBanc.Actif(Id::BtnValidationRNE));
}

// The fault mended here: a lookup started while an earlier one still waits answers first (the
// waits nest), and the earlier answer, arriving after it, must not replace it.
TEST_F(FicheInstalleur, UneReponseArriveeApresCelleDUnClicPlusRecentNEstPasMontree) {
  FBanc.Ouvrir();
  // The user validates, then corrects the identifier and validates again before the answer.
  FBanc.Saisir(L"0750001A~lent=1500");
  bool premierFini = false;
  AppelerSurThreadPrincipal([&] {
    // Runs while the first lookup waits.
    AppelerSurThreadPrincipal([&] {
      FBanc.Saisir(L"0130009B");
      FBanc.Cliquer(Id::BtnValidationRNE);
    });
    FBanc.Cliquer(Id::BtnValidationRNE);
    premierFini = true;
  });
  ASSERT_TRUE(FBanc.Pomper([&] { return premierFini; }));
  EXPECT_EQ(FBanc.Texte(Id::LabelNomEcole), EcolePins);
  EXPECT_EQ(FBanc.Texte(Id::LabelEtape6), L"6/7. Installation du Client NORVEL Primaire 2022 sur le poste");

  // An edit alone also outdates the answer awaited: the school shown always matches the box.
  FBanc.Saisir(L"0750001A~lent=800");
  premierFini = false;
  AppelerSurThreadPrincipal([&] {
    AppelerSurThreadPrincipal([&] { FBanc.Saisir(L"0750001B"); });
    FBanc.Cliquer(Id::BtnValidationRNE);
    premierFini = true;
  });
  ASSERT_TRUE(FBanc.Pomper([&] { return premierFini; }));
  EXPECT_FALSE(FBanc.Visible(Id::PanelEtape3));
  EXPECT_FALSE(FBanc.Visible(Id::LabelErreurEtape2));
}

namespace {

// The window with the internal menu, which this machine enables while the window is made.
class FicheAvecMenuOvalis : public FicheInstalleur {
 protected:
  void SetUp() override {
    // Only for the start: the real machine keys hold the test authority that HTTPS needs.
    TRegistreIsole machine(HKEY_LOCAL_MACHINE);
    machine.EcrireChaine(CleUsageInterne, ValeurMenuOvalis, L"1");
    FBanc.Ouvrir();
  }
  int PositionModeTest() const {
    TMenuPopupOvalis* menu = FBanc.Fiche().MenuOvalis();
    for (int i = 0; menu && i < menu->NombreElements(); ++i)
      if (menu->TexteElement(i) == L"Mode RNE Test") return i;
    return -1;
  }
  // Chooses the item as the user would: the menu is refreshed as it opens, then the command.
  void BasculerModeTest() {
    TMenuPopupOvalis* menu = FBanc.Fiche().MenuOvalis();
    SendMessageW(FBanc.Fenetre(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu->Handle()), 0);
    SendMessageW(FBanc.Fenetre(), WM_COMMAND, MAKEWPARAM(menu->IdCommande(PositionModeTest()), 0), 0);
  }
  bool ModeTestCoche() const { return FBanc.Fiche().MenuOvalis()->ElementCoche(PositionModeTest()); }
};

}  // namespace

TEST_F(FicheAvecMenuOvalis, LeModeTestSeBasculeEntreLesRecherches) {
  HMENU barre = GetMenu(FBanc.Fenetre());
  ASSERT_NE(barre, nullptr);
  wchar_t texte[64] = L"";
  GetMenuStringW(barre, 0, texte, 64, MF_BYPOSITION);
  EXPECT_STREQ(texte, L"MenuOvalis");
  TMenuPopupOvalis* menu = FBanc.Fiche().MenuOvalis();
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(PositionModeTest(), menu->NombreElements() - 1) << "the window's own item comes last";
  RECT client;
  GetClientRect(FBanc.Fenetre(), &client);
  EXPECT_EQ(client.bottom, 521) << "the menu bar adds to the window, not to the page";

  EXPECT_FALSE(ModeTestCoche());
  BasculerModeTest();
  EXPECT_TRUE(FBanc.Fiche().ModeTest());
  EXPECT_TRUE(ModeTestCoche());
  FBanc.Saisir(L"VH2022");
  FBanc.Cliquer(Id::BtnValidationRNE);
  EXPECT_EQ(FBanc.Texte(Id::LabelNomEcole), L"Ecole Victor");
  BasculerModeTest();
  EXPECT_FALSE(ModeTestCoche());
  FBanc.Cliquer(Id::BtnValidationRNE);
  EXPECT_EQ(FBanc.Texte(Id::LabelErreurEtape2), L"Aucun établissement ne correspond à l'identifiant « VH2022 »");
}

// The fault mended here, as the user meets it without editing: the same identifier validated
// twice, the first lookup still waiting on the web service when the second one (in test mode)
// answers. The first answer, arriving later, is not shown over the second.
TEST_F(FicheAvecMenuOvalis, SeulLeDernierClicEstMontre) {
  FBanc.Saisir(L"VH2022~lent=1500");
  bool premierFini = false;
  AppelerSurThreadPrincipal([&] {
    // Runs while the first lookup waits.
    AppelerSurThreadPrincipal([&] {
      BasculerModeTest();
      FBanc.Cliquer(Id::BtnValidationRNE);
    });
    FBanc.Cliquer(Id::BtnValidationRNE);
    premierFini = true;
  });
  ASSERT_TRUE(FBanc.Pomper([&] { return premierFini; }));
  EXPECT_TRUE(FBanc.Visible(Id::PanelEtape3));
  EXPECT_EQ(FBanc.Texte(Id::LabelNomEcole), L"Ecole Victor");
  EXPECT_FALSE(FBanc.Visible(Id::LabelErreurEtape2)) << "the first click's error came last and stays unseen";
}

// Once the school is confirmed, a lookup still waiting changes nothing.
TEST_F(FicheAvecMenuOvalis, LaConfirmationFigeLEcole) {
  BasculerModeTest();
  FBanc.Saisir(L"VH2022~lent=1500");
  FBanc.Cliquer(Id::BtnValidationRNE);
  ASSERT_EQ(FBanc.Texte(Id::LabelNomEcole), L"Ecole Victor");
  BasculerModeTest();
  bool rechercheFinie = false;
  AppelerSurThreadPrincipal([&] {
    AppelerSurThreadPrincipal([&] { FBanc.Cliquer(Id::BtnValidationEcole); });
    FBanc.Cliquer(Id::BtnValidationRNE);
    rechercheFinie = true;
  });
  ASSERT_TRUE(FBanc.Pomper([&] { return rechercheFinie; }));
  EXPECT_TRUE(FBanc.Visible(Id::PanelEtape4));
  EXPECT_FALSE(FBanc.Visible(Id::LabelErreurEtape2));
  EXPECT_EQ(FBanc.Texte(Id::LabelNomEcole), L"Ecole Victor");
}

TEST_F(FicheInstalleur, ConfirmationPuisConditions) {
  JusquALEcole();
  FBanc.Cliquer(Id::BtnValidationEcole);
  EXPECT_EQ(FBanc.PileMontree(), (std::vector<int>{Id::PanelEtape1, Id::PanelEtape2, Id::PanelEtape3, Id::PanelEtape4}));
  EXPECT_EQ(FBanc.Place(Id::PanelEtape4).top, FBanc.Place(Id::PanelEtape3).bottom + 25);
  for (int id : {Id::EditRNE, Id::BtnValidationRNE, Id::BtnValidationEcole}) EXPECT_FALSE(FBanc.Actif(id)) << id;
  EXPECT_EQ(SendMessageW(FBanc.Fenetre(), DM_GETDEFID, 0, 0), 0) << "no default button any more";
  EXPECT_EQ(GetFocus(), FBanc.Controle(Id::CheckboxCGUEtape4));
  EXPECT_TRUE(FBanc.Actif(Id::CheckboxCGUEtape4)) << "ticked without opening the terms";
  ExigerTextesEntiers(FBanc.Fenetre());
  // The link and its title read as one line.
  EXPECT_EQ(FBanc.Place(Id::LabelEtape4Lien).left, FBanc.Place(Id::LabelEtape4).right);
  FBanc.Capturer(L"4-conditions");

  FBanc.Cliquer(Id::CheckboxCGUEtape4);
  EXPECT_EQ(SendMessageW(FBanc.Controle(Id::CheckboxCGUEtape4), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_FALSE(FBanc.Actif(Id::CheckboxCGUEtape4)) << "frozen: the installation starts once";
  EXPECT_EQ(FBanc.PileMontree(),
            (std::vector<int>{Id::PanelEtape1, Id::PanelEtape2, Id::PanelEtape3, Id::PanelEtape4, Id::PanelEtape5}));
  EXPECT_FALSE(FBanc.Visible(Id::ImageCheckEtape5));
  EXPECT_EQ(GetFocus(), FBanc.Controle(Id::btnFermer));
  FBanc.Capturer(L"4-conditions-acceptees");
}

// The link asks the shell to "open" the terms page: here the handler of "https" addresses is the
// witness program of the tests, registered in a private copy of the classes root.
TEST_F(FicheInstalleur, LeLienOuvreLesConditionsAvecLeNavigateur) {
  JusquALEcole();
  FBanc.Cliquer(Id::BtnValidationEcole);
  TDossierTemporaire dossier;
  const std::wstring temoin = dossier.Fichier(L"navigateur.txt");
  TVariableEnvironnement fichierTemoin(L"NORVEL_TEMOIN_FICHIER", temoin);
  {
    TRegistreIsole classes(HKEY_CLASSES_ROOT);
    // No handler for "https" addresses: the user is told to choose a browser.
    FBanc.Cliquer(Id::LabelEtape4Lien);
    EXPECT_EQ(FBanc.Exceptions, std::vector<std::wstring>{L"Veuillez définir un navigateur par défaut"});

    EnregistrerNavigateurTemoin();
    FBanc.Cliquer(Id::LabelEtape4Lien);
  }
  // Until both of the witness's lines are read back: under Wine a read right after the file's
  // name appears could still find it empty.
  ASSERT_TRUE(AttendreQue([&] { return std::ranges::count(LireOctets(temoin), '\n') == 2; }, 20000))
      << "the browser was not started; " << FBanc.Exceptions.size() << " error(s), the last: "
      << VersUtf8(FBanc.Exceptions.back());
  EXPECT_NE(LireOctets(temoin).find("https://conditions.norvel-primaire.test/conditions-generales-de-vente"),
            std::string::npos)
      << LireOctets(temoin);
  EXPECT_EQ(FBanc.Exceptions.size(), 1u);
  EXPECT_TRUE(FBanc.Actif(Id::CheckboxCGUEtape4));

  // Once ticked, opening the terms again does not free the box: the installation starts once.
  FBanc.Cliquer(Id::CheckboxCGUEtape4);
  std::filesystem::remove(temoin);
  {
    TRegistreIsole classes(HKEY_CLASSES_ROOT);
    EnregistrerNavigateurTemoin();
    FBanc.Cliquer(Id::LabelEtape4Lien);
  }
  // Until both of the witness's lines are read back: under Wine a read right after the file's
  // name appears could still find it empty.
  ASSERT_TRUE(AttendreQue([&] { return std::ranges::count(LireOctets(temoin), '\n') == 2; }, 20000));
  EXPECT_FALSE(FBanc.Actif(Id::CheckboxCGUEtape4));
}

namespace {

struct TScenarioInstallation {
  const char* Nom;
  std::vector<TypeAppelAbonne> Evenements;
  std::vector<int> Pile;  // shown below step 4
  std::wstring SousEtape;
  bool SousEtapeRouge;
  std::vector<int> Coches;  // shown ticks among steps 5, 6, 7
  bool PatienceEtape6;
};

// Steps 1 to 4 as a person goes through them, the installation's worker then making `appels`.
void AccepterLesConditions(TBancFiche& banc, const std::vector<TypeAppelAbonne>& appels) {
  banc.Ouvrir();
  banc.Fiche().FEvenementsInstallation = appels;
  banc.Saisir(L"0750001A");
  banc.Cliquer(Id::BtnValidationRNE);
  banc.Cliquer(Id::BtnValidationEcole);
  banc.Cliquer(Id::CheckboxCGUEtape4);
}

}  // namespace

// The worker's events reach the window through the installation manager, one per idle pass.
TEST_F(FicheInstalleur, ProgressionDesEtapes5a7) {
  const std::wstring version = L"Client NORVEL Primaire 2022 (Win64)";
  const std::wstring desinstallation = L"Désinstallation de " + version + L" en cours ...";
  using I = IAbonneEvenementInstallationsClientLourd;
  const TypeAppelAbonne raccourci = &I::RaccourciPortailCree, telechargement = &I::TelechargementEnCours,
                        installation = &I::InstallationEnCours, configuration = &I::InstallationTerminee;
  const TScenarioInstallation scenarios[] = {
      {"complete",
       {raccourci, AppelAvec(&I::DesinstallationEnCours, version), telechargement, installation, configuration, &I::LancementTermine},
       {Id::PanelEtape5, Id::PanelEtape6, Id::LabelSousEtapeInstallation, Id::PanelEtape7},
       L"Installation réalisée avec succès", false, {Id::ImageCheckEtape5, Id::ImageCheckEtape6, Id::ImageCheckEtape7},
       false},
      {"désinstallation en cours",
       {raccourci, AppelAvec(&I::DesinstallationEnCours, version)},
       {Id::PanelEtape5, Id::PanelEtape6, Id::LabelSousEtapeInstallation}, desinstallation, false,
       {Id::ImageCheckEtape5}, true},
      {"raccourci en échec, la suite continue",
       {AppelAvec(&I::EchecRaccourciPortail, L"Accès refusé au bureau"), telechargement},
       {Id::PanelEtape5, Id::LabelErreurEtape5, Id::PanelEtape6, Id::LabelSousEtapeInstallation},
       L"Téléchargement de l'installation en cours ...", false, {}, true},
      {"désinstallation en échec",
       {raccourci, AppelAvec(&I::DesinstallationEnCours, version), AppelAvec(&I::EchecDesinstallation, L"Code de sortie 5")},
       {Id::PanelEtape5, Id::PanelEtape6, Id::LabelSousEtapeInstallation}, desinstallation + L" Code de sortie 5", true,
       {Id::ImageCheckEtape5}, false},
      // The catalogue or the registry unreadable before any removal: the message alone, shown.
      {"échec avant toute désinstallation",
       {raccourci, AppelAvec(&I::EchecDesinstallation, L"Catalogue des produits illisible")},
       {Id::PanelEtape5, Id::PanelEtape6, Id::LabelSousEtapeInstallation}, L"Catalogue des produits illisible", true,
       {Id::ImageCheckEtape5}, false},
      {"téléchargement en échec",
       {raccourci, telechargement, AppelAvec(&I::EchecTelechargement, L"Erreur HTTP 404 : Not Found")},
       {Id::PanelEtape5, Id::PanelEtape6, Id::LabelSousEtapeInstallation},
       L"Erreur lors du téléchargement : Erreur HTTP 404 : Not Found", true, {Id::ImageCheckEtape5}, false},
      {"installation en échec",
       {raccourci, telechargement, installation, AppelAvec(&I::EchecInstallation, L"Code de sortie 1603")},
       {Id::PanelEtape5, Id::PanelEtape6, Id::LabelSousEtapeInstallation},
       L"Erreur lors de l'installation : Code de sortie 1603", true, {Id::ImageCheckEtape5}, false},
      {"lancement en échec",
       {raccourci, telechargement, installation, configuration, AppelAvec(&I::EchecLancement, L"Aucune application associée")},
       {Id::PanelEtape5, Id::PanelEtape6, Id::LabelSousEtapeInstallation, Id::PanelEtape7, Id::LabelErreurEtape7},
       L"Installation réalisée avec succès", false, {Id::ImageCheckEtape5, Id::ImageCheckEtape6}, false},
  };
  for (const auto& s : scenarios) {
    SCOPED_TRACE(s.Nom);
    TBancFiche banc;
    AccepterLesConditions(banc, s.Evenements);

    std::vector<int> pile = {Id::PanelEtape1, Id::PanelEtape2, Id::PanelEtape3, Id::PanelEtape4};
    pile.insert(pile.end(), s.Pile.begin(), s.Pile.end());
    EXPECT_TRUE(banc.Pomper([&] {
      return banc.PileMontree() == pile && banc.Texte(Id::LabelSousEtapeInstallation) == s.SousEtape &&
             banc.Visible(Id::ImageCheckEtape7) == (std::string(s.Nom) == "complete");
    }));
    EXPECT_EQ(banc.PileMontree(), pile);
    EXPECT_EQ(banc.Texte(Id::LabelSousEtapeInstallation), s.SousEtape);
    EXPECT_EQ(banc.CouleurTexte(Id::LabelSousEtapeInstallation), s.SousEtapeRouge ? RGB(255, 0, 0) : RGB(0, 0, 0));
    for (int coche : {Id::ImageCheckEtape5, Id::ImageCheckEtape6, Id::ImageCheckEtape7})
      EXPECT_EQ(banc.Visible(coche), std::find(s.Coches.begin(), s.Coches.end(), coche) != s.Coches.end()) << coche;
    EXPECT_EQ(banc.Visible(Id::PatienceEtape6), s.PatienceEtape6);
    const RECT sousEtape = banc.Place(Id::LabelSousEtapeInstallation);
    // 32 pixels high while step 6 runs, the height of its one line once it has ended well.
    const int hauteurAttendue = s.SousEtape == L"Installation réalisée avec succès"
                                    ? HauteurTexteRenvoye(banc.Controle(Id::LabelSousEtapeInstallation), 704 - 39 - 8)
                                    : 32;
    EXPECT_EQ(sousEtape.bottom - sousEtape.top, hauteurAttendue);
    EXPECT_EQ(sousEtape.left, 39);
    if (banc.Visible(Id::LabelErreurEtape5)) {
      EXPECT_EQ(banc.Texte(Id::LabelErreurEtape5), L"Accès refusé au bureau");
      EXPECT_EQ(banc.CouleurTexte(Id::LabelErreurEtape5), RGB(255, 0, 0));
    }
    if (banc.Visible(Id::LabelErreurEtape7)) {
      EXPECT_EQ(banc.Texte(Id::LabelErreurEtape7), L"Aucune application associée");
    }
    if (banc.Visible(Id::LabelNatureActionEtape7)) {
      EXPECT_EQ(banc.Texte(Id::LabelNatureActionEtape7), L"Test connectivité");
    }
    EXPECT_EQ(banc.Visible(Id::LabelNatureActionEtape7), std::string(s.Nom) == "complete");
    ExigerTextesEntiers(banc.Fenetre());
  }
}

// The download's progress under step 6: the bar and the line follow each call; a size that
// is not known shows a marquee; the end of the download, or its failure, takes the bar away.
TEST_F(FicheInstalleur, ProgressionDuTelechargement) {
  using I = IAbonneEvenementInstallationsClientLourd;
  constexpr uint64_t Mio = 1048576;
  const auto progression = [](uint64_t recus, uint64_t total) -> TypeAppelAbonne {
    return [=](I& abonne) { abonne.ProgressionTelechargement(recus, total); };
  };
  const TypeAppelAbonne raccourci = &I::RaccourciPortailCree, telechargement = &I::TelechargementEnCours;
  constexpr int Marquee = -1, SansBarre = -2;
  struct TCas {
    const char* Nom;
    const wchar_t* Capture;
    std::vector<TypeAppelAbonne> Appels;
    std::wstring SousEtape;
    int Position;  // of the bar, per mille
    bool Patience;
  };
  const TCas cas[] = {
      {"taille connue", L"6-telechargement-42-pour-cent",
       {raccourci, telechargement, progression(0, 200 * Mio), progression(84 * Mio, 200 * Mio)},
       L"Téléchargement de l'installation en cours ... 42 % (84,0 Mio sur 200,0 Mio)", 420, true},
      {"taille inconnue", L"6-telechargement-taille-inconnue", {raccourci, telechargement, progression(3 * Mio, 0)},
       L"Téléchargement de l'installation en cours ... 3,0 Mio reçus", Marquee, true},
      {"téléchargement en échec", L"6-telechargement-en-echec",
       {raccourci, telechargement, progression(84 * Mio, 200 * Mio),
        AppelAvec(&I::EchecTelechargement, L"Erreur HTTP 503 : Service Unavailable")},
       L"Erreur lors du téléchargement : Erreur HTTP 503 : Service Unavailable", SansBarre, false},
      {"téléchargement fini", L"6-telechargement-fini",
       {raccourci, telechargement, progression(200 * Mio, 200 * Mio), &I::InstallationEnCours},
       L"Installation en cours ...", SansBarre, true},
  };
  for (const TCas& c : cas) {
    SCOPED_TRACE(c.Nom);
    TBancFiche banc;
    AccepterLesConditions(banc, c.Appels);
    EXPECT_TRUE(banc.Pomper([&] { return banc.Texte(Id::LabelSousEtapeInstallation) == c.SousEtape; }))
        << VersUtf8(banc.Texte(Id::LabelSousEtapeInstallation));

    std::vector<int> pile = {Id::PanelEtape1, Id::PanelEtape2, Id::PanelEtape3, Id::PanelEtape4,
                             Id::PanelEtape5, Id::PanelEtape6, Id::LabelSousEtapeInstallation};
    if (c.Position != SansBarre) pile.push_back(Id::BarreProgressionEtape6);
    EXPECT_EQ(banc.PileMontree(), pile);
    EXPECT_EQ(banc.Visible(Id::PatienceEtape6), c.Patience);
    const HWND barre = banc.Controle(Id::BarreProgressionEtape6);
    ASSERT_NE(barre, nullptr);
    if (c.Position != SansBarre) {
      EXPECT_EQ((GetWindowLongPtrW(barre, GWL_STYLE) & PBS_MARQUEE) != 0, c.Position == Marquee);
      if (c.Position != Marquee) {
        const LRESULT haut = SendMessageW(barre, PBM_GETRANGE, FALSE, 0);
        EXPECT_EQ(SendMessageW(barre, PBM_GETPOS, 0, 0) * 1000 / haut, c.Position);
      }
      // Under the line, as wide as it.
      const RECT ligne = banc.Place(Id::LabelSousEtapeInstallation), place = banc.Place(Id::BarreProgressionEtape6);
      EXPECT_EQ(place.left, ligne.left);
      EXPECT_EQ(place.right, ligne.right);
      EXPECT_GE(place.top, ligne.bottom);
    }
    ExigerTextesEntiers(banc.Fenetre());
    banc.Capturer(c.Capture);
  }
}

TEST_F(FicheInstalleur, ToutAuClavier) {
  FBanc.Ouvrir();
  const HWND fiche = FBanc.Fenetre();
  auto touche = [&](UINT code) {
    const HWND focus = GetFocus();
    PostMessageW(focus, WM_KEYDOWN, code, 1);
    PostMessageW(focus, WM_KEYUP, code, 1 | (3u << 30));
    // Queued calls run at the first idle step, once the keys are handled.
    bool traitees = false;
    AppelerSurThreadPrincipal([&] { traitees = true; });
    FBanc.Pomper([&] { return traitees; });
  };
  ASSERT_EQ(GetFocus(), FBanc.Controle(Id::EditRNE));
  for (wchar_t c : std::wstring(L"0750001A")) PostMessageW(GetFocus(), WM_CHAR, c, 1);
  EXPECT_TRUE(FBanc.Pomper([&] { return FBanc.Texte(Id::EditRNE) == L"0750001A"; }, 5000))
      << VersUtf8(FBanc.Texte(Id::EditRNE));
  touche(VK_RETURN);
  ASSERT_TRUE(FBanc.Pomper([&] { return FBanc.Visible(Id::PanelEtape3); }));

  // Tab goes through the page in its order.
  std::vector<int> ordre;
  HWND controle = GetFocus();
  do {
    ordre.push_back(GetDlgCtrlID(controle));
    controle = GetNextDlgTabItem(fiche, controle, FALSE);
  } while (controle && controle != GetFocus() && ordre.size() < 10);
  EXPECT_EQ(ordre, (std::vector<int>{Id::EditRNE, Id::BtnValidationRNE, Id::BtnValidationEcole, Id::btnFermer}));

  // A focused button is the one Enter presses; elsewhere Enter presses the default one.
  touche(VK_TAB);
  EXPECT_EQ(GetFocus(), FBanc.Controle(Id::BtnValidationRNE));
  EXPECT_EQ(LOWORD(SendMessageW(fiche, DM_GETDEFID, 0, 0)), Id::BtnValidationRNE);
  touche(VK_TAB);
  EXPECT_EQ(GetFocus(), FBanc.Controle(Id::BtnValidationEcole));
  touche(VK_TAB);
  touche(VK_TAB);
  EXPECT_EQ(GetFocus(), FBanc.Controle(Id::EditRNE));
  touche(VK_RETURN);
  ASSERT_TRUE(FBanc.Pomper([&] { return FBanc.Visible(Id::PanelEtape4); }));

  // Step 4: the link is reached with Shift+Tab from the box, which Space ticks.
  EXPECT_EQ(GetFocus(), FBanc.Controle(Id::CheckboxCGUEtape4));
  EXPECT_EQ(GetNextDlgTabItem(fiche, GetFocus(), TRUE), FBanc.Controle(Id::LabelEtape4Lien));
  touche(VK_SPACE);
  EXPECT_TRUE(FBanc.Visible(Id::PanelEtape5));
  EXPECT_EQ(GetFocus(), FBanc.Controle(Id::btnFermer));
}

TEST_F(FicheInstalleur, AffichageA150PourCent) {
  JusquALEcole();
  FBanc.Cliquer(Id::BtnValidationEcole);
  FBanc.Cliquer(Id::CheckboxCGUEtape4);
  FBanc.Fiche().Abonne()->RaccourciPortailCree();
  FBanc.Fiche().Abonne()->TelechargementEnCours();
  FBanc.Fiche().Abonne()->InstallationEnCours();
  FBanc.Fiche().Abonne()->InstallationTerminee();
  FBanc.Fiche().Abonne()->EchecLancement(L"Aucune application associée");

  RECT proposee{100, 50, 100 + 1200, 50 + 820};
  SendMessageW(FBanc.Fenetre(), WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&proposee));
  EXPECT_EQ(FBanc.Fiche().Ppp(), 144u);
  RECT client;
  GetClientRect(FBanc.Fenetre(), &client);
  EXPECT_EQ(client.right, 1175);
  EXPECT_EQ(client.bottom, 782);
  EXPECT_EQ(FBanc.Place(Id::PanelEtape1).top, 15);
  const RECT fermer = FBanc.Place(Id::btnFermer);
  EXPECT_EQ(fermer.right - fermer.left, 134);
  EXPECT_EQ(fermer.bottom - fermer.top, 33);
  RECT image;
  GetClientRect(FBanc.Controle(Id::ImageViewer), &image);
  EXPECT_EQ(image.right, 119);
  const RECT coche = FBanc.Place(Id::ImageCheckEtape5);
  EXPECT_EQ(coche.right - coche.left, 33);
  LOGFONTW police{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(FBanc.Controle(Id::LabelEtape1), WM_GETFONT, 0, 0)), sizeof(police),
             &police);
  EXPECT_EQ(police.lfHeight, -18);
  EXPECT_EQ(police.lfWeight, FW_BOLD);
  ExigerTextesEntiers(FBanc.Fenetre());
  FBanc.Capturer(L"150-pour-cent");

  SendMessageW(FBanc.Fenetre(), WM_DPICHANGED, MAKEWPARAM(96, 96), reinterpret_cast<LPARAM>(&proposee));
  GetClientRect(FBanc.Fenetre(), &client);
  EXPECT_EQ(client.right, 783);
  ExigerTextesEntiers(FBanc.Fenetre());
}

// ---- Room for the longest messages

namespace {

RECT PlaceDans(HWND controle, HWND repere) {
  RECT place{};
  GetWindowRect(controle, &place);
  MapWindowPoints(nullptr, repere, reinterpret_cast<POINT*>(&place), 2);
  return place;
}

// The steps shown follow one another without overlapping, and none of them reaches "Fermer",
// which stays whole inside the window.
void ExigerPageSansChevauchement(const TBancFiche& banc) {
  const HWND principal = banc.Controle(Id::PanelPrincipal);
  const RECT fermer = banc.Place(Id::btnFermer);
  RECT page{};
  GetClientRect(principal, &page);
  EXPECT_GE(fermer.top, 0);
  EXPECT_LE(fermer.bottom, page.bottom);
  const auto pile = banc.PileMontree();
  for (size_t i = 0; i < pile.size(); ++i) {
    const RECT place = banc.Place(pile[i]);
    RECT commun{};
    EXPECT_FALSE(IntersectRect(&commun, &place, &fermer)) << "control " << pile[i] << " runs into \"Fermer\"";
    if (i + 1 < pile.size()) EXPECT_LE(place.bottom, banc.Place(pile[i + 1]).top) << pile[i] << " over " << pile[i + 1];
  }
  // Nothing inside a step reaches beyond its panel.
  for (int id : pile) {
    const HWND element = banc.Controle(id);
    RECT interieur{};
    GetClientRect(element, &interieur);
    for (HWND enfant = GetWindow(element, GW_CHILD); enfant; enfant = GetWindow(enfant, GW_HWNDNEXT)) {
      if (!IsWindowVisible(enfant)) continue;
      const RECT place = PlaceDans(enfant, element);
      EXPECT_LE(place.right, interieur.right) << GetDlgCtrlID(enfant);
      EXPECT_LE(place.bottom, interieur.bottom) << GetDlgCtrlID(enfant);
    }
  }
}

// The longest messages the steps really show: the system's own texts of failed calls and a
// long certificate subject.
std::wstring ErreurAppel(const wchar_t* appel, DWORD code) { return MessageDe(ErreurSystemeCode(code, Msg::ErreurInterne, appel)); }

const std::wstring SujetCertificatLong =
    L"C=FR, S=Île-de-France, L=Paris, O=Société d'édition de logiciels pour l'enseignement primaire et la gestion "
    L"des écoles, OU=Service des certificats de signature de code et de l'intégrité des programmes, "
    L"CN=Éditeur de démonstration des logiciels scolaires";

}  // namespace

TEST_F(FicheInstalleur, LesMessagesLesPlusLongsTiennentEtRienNeCouvreFermer) {
  struct TScenario {
    const char* Nom;
    bool AccesEnEchec;  // step 1's message stays shown
    std::function<void(IAbonneEvenementInstallationsClientLourd&)> Progression;
  } scenarios[] = {
      {"tout affiché", true,
       [](IAbonneEvenementInstallationsClientLourd& f) {
         f.EchecRaccourciPortail(ErreurAppel(L"IPersistFile::Save", static_cast<DWORD>(E_ACCESSDENIED)));
         f.DesinstallationEnCours(L"Client NORVEL Primaire 2022 (Win32)");
         f.TelechargementEnCours();
         f.InstallationEnCours();
         f.InstallationTerminee();
         f.EchecLancement(ErreurAppel(L"ShellExecuteEx", ERROR_NO_ASSOCIATION));
       }},
      {"installation refusée", false,
       [](IAbonneEvenementInstallationsClientLourd& f) {
         f.RaccourciPortailCree();
         f.TelechargementEnCours();
         f.InstallationEnCours();
         f.EchecInstallation(Format(Msg::ErreurVerificationSignature, {Format(Msg::NomCertificat, {SujetCertificatLong})}));
       }},
      {"désinstallation en échec", false,
       [](IAbonneEvenementInstallationsClientLourd& f) {
         f.RaccourciPortailCree();
         f.DesinstallationEnCours(L"Client NORVEL Primaire 2022 (Win32)");
         f.EchecDesinstallation(ErreurAppel(L"CreateProcess", ERROR_BAD_EXE_FORMAT) + L" " +
                                ErreurAppel(L"WaitForSingleObject", ERROR_INVALID_HANDLE));
       }},
  };
  int numero = 0;
  for (const auto& s : scenarios) {
    SCOPED_TRACE(s.Nom);
    ++numero;
    TBancFiche banc;
    if (s.AccesEnEchec) {
      AccesEnPanne(banc);
      banc.Sessions().AjouterProxyConnu(TBancFiche::Squid());
      const auto r = PiloterPendant(OptionTitre(TitreChoix) + L"-delai 90000 attendre-fenetre -- cliquer BtnValider",
                                    [&] { banc.Ouvrir(); });
      ASSERT_EQ(r.Code, 0u) << VersUtf8(r.Erreurs);
      ASSERT_TRUE(banc.Visible(Id::LabelErreurEtape1));
    } else {
      banc.Ouvrir();
    }
    banc.Saisir(L"0750001A");
    banc.Cliquer(Id::BtnValidationRNE);
    banc.Cliquer(Id::BtnValidationEcole);
    banc.Cliquer(Id::CheckboxCGUEtape4);
    s.Progression(*banc.Fiche().Abonne());
    for (UINT ppp : {96u, 144u}) {
      SCOPED_TRACE(ppp);
      if (ppp != 96) ChangerEchelle(banc.Fenetre(), 96, ppp);
      ExigerTextesEntiers(banc.Fenetre());
      ExigerPageSansChevauchement(banc);
      RECT client{};
      GetClientRect(banc.Fenetre(), &client);
      EXPECT_EQ(client.right, MulDiv(783, static_cast<int>(ppp), 96));
      EXPECT_GE(client.bottom, MulDiv(521, static_cast<int>(ppp), 96)) << "at least the side image's height";
      banc.Capturer(L"messages-longs-" + std::to_wstring(numero) + L"-" + std::to_wstring(ppp * 100 / 96));
    }
  }
}

TEST_F(FicheInstalleur, LIndicateurDePatienceNeTourneQueMontre) {
  JusquALEcole();
  FBanc.Cliquer(Id::BtnValidationEcole);
  FBanc.Cliquer(Id::CheckboxCGUEtape4);
  auto indicateur = [&](int id) {
    return dynamic_cast<TIndicateurPatience*>(
        reinterpret_cast<TFenetreObjet*>(GetWindowLongPtrW(FBanc.Controle(id), GWLP_USERDATA)));
  };
  ASSERT_NE(indicateur(Id::PatienceEtape6), nullptr);
  EXPECT_FALSE(indicateur(Id::PatienceEtape1)->Anime()) << "hidden since step 1 ended";
  FBanc.Fiche().Abonne()->RaccourciPortailCree();
  const int depart = indicateur(Id::PatienceEtape6)->Etape();
  ASSERT_TRUE(FBanc.Pomper([&] { return indicateur(Id::PatienceEtape6)->Etape() != depart; }, 3000));
  EXPECT_TRUE(indicateur(Id::PatienceEtape6)->Anime());
  FBanc.Fiche().Abonne()->TelechargementEnCours();
  FBanc.Fiche().Abonne()->EchecTelechargement(L"Erreur HTTP 404 : Not Found");
  FBanc.Laisser(600);
  EXPECT_FALSE(indicateur(Id::PatienceEtape6)->Anime());
  const int arret = indicateur(Id::PatienceEtape6)->Etape();
  FBanc.Laisser(600);
  EXPECT_EQ(indicateur(Id::PatienceEtape6)->Etape(), arret);
}
