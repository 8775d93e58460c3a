// Failures of the installation as the assistant's window shows them: the wizard's window with
// the assistant's own installation manager, against the stand-in download server, the signed
// copies of the stand-in setup and the prefix's list of installed programs. Each case sets the
// world, goes through steps 1 to 4 as a person does, then reads which label, directly below
// which step, shows which message, and which ticks are shown.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "core/Chaines.h"
#include "install/ClientTemoin.h"
#include "install/TelechargementSetup.h"
#include "installation_complete/BureauTemporaire.h"
#include "installation_complete/EcoleFerry.h"
#include "support/CaptureEcran.h"
#include "support/CheminsTest.h"
#include "wizard/FicheInstalleurEssai.h"

using namespace norvel;
using namespace norvel::test;

namespace {

namespace fs = std::filesystem;

struct TCasEchec {
  const char* Nom;
  const wchar_t* Capture;  // the screenshot's name
  // The copy of the stand-in setup served under the school's setup name ("ovalis",
  // "non-signe", "autre-editeur"); empty: none, the server answers 404.
  std::wstring Copie;
  // What follows the school's identifier at step 2: faults of its record.
  std::wstring DefautsFiche;
  // The setup leaves ".ncprim" without a program.
  bool SansAssociation;
  // The version the setup installs is already listed, with an "UninstallString" that is no text:
  // step 6 fails before any removal started.
  bool UninstallStringNonTexte;
  // The stack below step 4 once the installation stopped: the failed step, then its label.
  std::vector<int> Pile;
  int Libelle;
  std::wstring Debut;  // of the label's text
  std::vector<int> Coches;  // shown, among those of steps 5 to 7
};

}  // namespace

TEST(EchecsInstallation, EachFailureShownInRedUnderItsStep) {
  const TCopiesSetup copies(L"setup-signe");
  const std::wstring telechargements = TBancFiche::DossierTelechargements();
  const std::wstring setupServi = telechargements + L"\\" + SetupEcole;
  fs::create_directories(telechargements);
  TDossierTemporaire temp;
  const std::wstring bureau = temp.Fichier(L"Bureau");
  fs::create_directories(bureau);
  const TBureauTemporaire bureauTemporaire(bureau);
  const TVariablesInstallation variables;
  // The window as each run left it.
  const std::wstring captures = FichierBuild(L"echecs-installation");
  fs::create_directories(captures);

  const std::vector<int> echecEtape6 = {Id::PanelEtape5, Id::PanelEtape6, Id::LabelSousEtapeInstallation};
  const std::vector<int> echecEtape7 = {Id::PanelEtape5, Id::PanelEtape6, Id::LabelSousEtapeInstallation,
                                        Id::PanelEtape7, Id::LabelErreurEtape7};
  const std::vector<TCasEchec> cas = {
      {"missing setup", L"setup-absent", L"", L"", false, false, echecEtape6, Id::LabelSousEtapeInstallation,
       L"Erreur lors du téléchargement : Erreur HTTP 404 : Not Found", {Id::ImageCheckEtape5}},
      {"wrong content type", L"type-incorrect", L"ovalis", L"~telechargement=type-html", false, false, echecEtape6,
       Id::LabelSousEtapeInstallation,
       L"Erreur lors du téléchargement : TypeMime de " + std::wstring(SetupEcole) + L" invalide : text/html; charset=utf-8",
       {Id::ImageCheckEtape5}},
      {"unsigned setup", L"setup-non-signe", L"non-signe", L"", false, false, echecEtape6, Id::LabelSousEtapeInstallation,
       L"Erreur lors de l'installation : Erreur de la vérification de la signature : La vérification de la signature "
       L"numérique a échoué (WinVerifyTrust, TRUST_E_NOSIGNATURE + 0x",
       {Id::ImageCheckEtape5}},
      {"another publisher", L"autre-editeur", L"autre-editeur", L"", false, false, echecEtape6, Id::LabelSousEtapeInstallation,
       L"Erreur lors de l'installation : Erreur de la vérification de la signature : Nom du certificat = \"C=FR, "
       L"O=Editions Tiers, CN=EDITIONS TIERS\"",
       {Id::ImageCheckEtape5}},
      {"no program for .ncprim", L"ncprim-sans-programme", L"ovalis", L"", true, false, echecEtape7, Id::LabelErreurEtape7,
       L"Impossible de lancer le client NORVEL Primaire", {Id::ImageCheckEtape5, Id::ImageCheckEtape6}},
      // The registry's error alone (no removal had started), shown below step 6.
      {"non-text UninstallString", L"uninstallstring-non-texte", L"ovalis", L"", false, true, echecEtape6,
       Id::LabelSousEtapeInstallation, L"Type de données incorrect pour 'UninstallString'", {Id::ImageCheckEtape5}},
  };
  for (const TCasEchec& c : cas) {
    SCOPED_TRACE(c.Nom);
    EffacerClientsCatalogue();
    fs::remove(setupServi);
    if (!c.Copie.empty()) fs::copy_file(copies.Setup(c.Copie), setupServi);
    SetEnvironmentVariableW(L"NORVEL_SETUP_SANS_ASSOCIATION", c.SansAssociation ? L"1" : nullptr);
    if (c.UninstallStringNonTexte) {
      TCleRegistre cle;
      ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, copies.Cle.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                                cle.Adresse(), nullptr),
                ERROR_SUCCESS);
      const DWORD un = 1;
      RegSetValueExW(cle.Get(), L"UninstallString", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&un), sizeof un);
    }
    {
      TBancFiche banc;
      banc.InstallationReelle = true;
      banc.Ouvrir();
      banc.Saisir(RneEcole + c.DefautsFiche);
      banc.Cliquer(Id::BtnValidationRNE);
      banc.Cliquer(Id::BtnValidationEcole);
      banc.Cliquer(Id::CheckboxCGUEtape4);

      const bool arrivee = banc.Pomper(
          [&] { return banc.Visible(c.Libelle) && CommencePar(banc.Texte(c.Libelle), c.Debut); }, 120000);
      // The message itself starts the label: nothing comes before it.
      EXPECT_TRUE(arrivee) << VersUtf8(banc.Texte(c.Libelle));
      std::vector<int> pile = {Id::PanelEtape1, Id::PanelEtape2, Id::PanelEtape3, Id::PanelEtape4};
      pile.insert(pile.end(), c.Pile.begin(), c.Pile.end());
      EXPECT_EQ(banc.PileMontree(), pile);
      EXPECT_EQ(banc.CouleurTexte(c.Libelle), RGB(255, 0, 0));
      for (int coche : {Id::ImageCheckEtape5, Id::ImageCheckEtape6, Id::ImageCheckEtape7})
        EXPECT_EQ(banc.Visible(coche), std::count(c.Coches.begin(), c.Coches.end(), coche) == 1) << coche;
      // Stopped: no busy indicator is left turning.
      EXPECT_FALSE(banc.Visible(Id::PatienceEtape6));
      // Drawn as it is now, not as the last paint left it.
      RedrawWindow(banc.Fenetre(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
      CaptureFenetre(banc.Fenetre(), captures + L"\\" + c.Capture + L".png");
      EXPECT_TRUE(banc.Exceptions.empty()) << VersUtf8(banc.Exceptions.front());
    }
    // The setup ran (its uninstall command is there) only when it was the publisher's and step 6
    // got to it; the downloaded file went with the window.
    EXPECT_EQ(!UninstallString(copies.Cle).value_or(L"").empty(),
              c.Copie == L"ovalis" && c.DefautsFiche.empty() && !c.UninstallStringNonTexte);
    EXPECT_FALSE(fs::exists(DossierTemporaireUtilisateur() + SetupEcole));
  }
  EffacerClientsCatalogue();
  fs::remove(setupServi);
}
