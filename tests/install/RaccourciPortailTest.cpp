// The portal shortcut: a real shell link on a desktop folder of our own, read back through the
// shell; the host desktop's property list and companion program, in a copy of this test program
// that has a "webloc" folder beside it.
#include <gtest/gtest.h>
#include <windows.h>
#include <objidl.h>
#include <shellapi.h>
#include <shlobj.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

#include "platform/RestrictionsApiWindows.h"
#include "core/Chaines.h"
#include "core/Com.h"
#include "core/ErreurSysteme.h"
#include "core/Exceptions.h"
#include "core/Format.h"
#include "core/Messages.h"
#include "install/BureauEssai.h"
#include "install/RaccourciPortail.h"
#include "support/CheminsTest.h"
#include "support/EnvironnementTest.h"
#include "support/ProcessusEnfant.h"
#include "support/RegistreIsole.h"

using namespace norvel;
using namespace norvel::test;

namespace {

namespace fs = std::filesystem;

std::string LireFichier(const fs::path& chemin) {
  std::ifstream f(chemin, std::ios::binary);
  return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

std::vector<std::wstring> FichiersDe(const fs::path& dossier) {
  std::vector<std::wstring> noms;
  for (const auto& entree : fs::directory_iterator(dossier)) noms.push_back(entree.path().filename().wstring());
  return noms;
}

class RaccourciBureau : public testing::Test {
 protected:
  TInitialisationCom FCom;
  TDossierTemporaire FDossier;
  fs::path FBureau = FDossier.Chemin() / L"Bureau";
  std::wstring FIcone = FDossier.Fichier(L"Portail.ico");

  void SetUp() override { fs::create_directories(FBureau); }
};

}  // namespace

TEST_F(RaccourciBureau, ShellLinkToThePortalReadsBack) {
  TBureauIsole isole(FBureau.wstring());
  const std::wstring url = L"https://ecole.example.fr/portail/?rne=0750001A&mode=web";
  const auto resultat = CreerRaccourciPortail(L"École Jules-Ferry", url, FIcone);
  ASSERT_TRUE(resultat.Succes) << VersUtf8(resultat.Message);
  EXPECT_EQ(L"", resultat.Message);

  const auto lien = LireLien((FBureau / L"École Jules-Ferry - Portail NORVEL Primaire.lnk").wstring());
  SignalerCibleSousWine();
  EXPECT_EQ(CibleAttendue(url), lien.Cible);
  EXPECT_EQ(L"", lien.Arguments);
  EXPECT_EQ(L"", lien.DossierTravail);
  EXPECT_EQ(L"Permet de lancer votre navigateur vers le portail NORVEL Primaire de l'école \"École Jules-Ferry\"",
            lien.Description);
  EXPECT_EQ(FIcone, lien.FichierIcone);
  EXPECT_EQ(0, lien.IndexIcone);
  EXPECT_EQ(std::vector<std::wstring>{L"École Jules-Ferry - Portail NORVEL Primaire.lnk"}, FichiersDe(FBureau));
}

TEST_F(RaccourciBureau, SeparatorsInTheSchoolNameNeverLeaveTheDesktop) {
  TBureauIsole isole(FBureau.wstring());
  struct Cas {
    const wchar_t* ecole;
    const wchar_t* fichier;
  };
  const Cas cas[] = {
      {L"Ecole A\\B", L"B - Portail NORVEL Primaire.lnk"},
      {L"C:Ecole", L"Ecole - Portail NORVEL Primaire.lnk"},
      {L"..\\..\\Ecole", L"Ecole - Portail NORVEL Primaire.lnk"},
      {L"../Ecole/Annexe", L"Annexe - Portail NORVEL Primaire.lnk"},
  };
  for (const auto& c : cas) {
    SCOPED_TRACE(VersUtf8(c.ecole));
    fs::remove_all(FBureau);
    fs::create_directories(FBureau);
    const auto resultat = CreerRaccourciPortail(c.ecole, L"https://ecole.example.fr/", FIcone);
    ASSERT_TRUE(resultat.Succes) << VersUtf8(resultat.Message);
    EXPECT_EQ(std::vector<std::wstring>{c.fichier}, FichiersDe(FBureau));
    EXPECT_FALSE(fs::exists(FDossier.Chemin() / L"Ecole - Portail NORVEL Primaire.lnk"));
  }
}

TEST_F(RaccourciBureau, RunningTwiceReplacesTheLink) {
  TBureauIsole isole(FBureau.wstring());
  const auto chemin = (FBureau / L"Ecole - Portail NORVEL Primaire.lnk").wstring();
  {
    std::ofstream(fs::path(chemin)) << "pas un raccourci";
  }
  ASSERT_TRUE(CreerRaccourciPortail(L"Ecole", L"https://premier.example.fr/", FIcone).Succes);
  EXPECT_EQ(CibleAttendue(L"https://premier.example.fr/"), LireLien(chemin).Cible);
  ASSERT_TRUE(CreerRaccourciPortail(L"Ecole", L"https://second.example.fr/", FIcone).Succes);
  EXPECT_EQ(CibleAttendue(L"https://second.example.fr/"), LireLien(chemin).Cible);
}

TEST_F(RaccourciBureau, ExistingLinkKeptWhenReplacementIsNotAsked) {
  TBureauIsole isole(FBureau.wstring());
  const auto chemin = FBureau / L"Lien.lnk";
  { std::ofstream(chemin) << "existant"; }
  CreerRaccourciBureau(L"Lien", L"https://ecole.example.fr/", L"", false, L"", L"description", FIcone);
  EXPECT_EQ("existant", LireFichier(chemin));
  CreerRaccourciBureau(L"Autre", L"https://ecole.example.fr/", L"-a", false, L"C:\\", L"description", FIcone);
  const auto autre = LireLien((FBureau / L"Autre.lnk").wstring());
  EXPECT_EQ(L"-a", autre.Arguments);
  EXPECT_EQ(L"C:\\", autre.DossierTravail);
}

// Without a desktop folder, or when the link cannot be saved, the user would have no shortcut:
// the step says so rather than show a success.
TEST_F(RaccourciBureau, MissingDesktopOrFailedSaveFailsTheStep) {
  {
    TBureauIsole isole(L"");
    EXPECT_EQ(L"", DossierBureau());
    const auto resultat = CreerRaccourciPortail(L"Ecole", L"https://ecole.example.fr/", FIcone);
    EXPECT_FALSE(resultat.Succes);
    EXPECT_EQ(Format(Msg::ErreurInterne, {ERROR_FILE_NOT_FOUND, TexteErreurSysteme(ERROR_FILE_NOT_FOUND),
                                         L"RegQueryValueEx Shell Folders\\Desktop"}),
              resultat.Message);
  }
  {
    TBureauIsole isole((FBureau / L"absent").wstring());
    const auto resultat = CreerRaccourciPortail(L"Ecole", L"https://ecole.example.fr/", FIcone);
    EXPECT_FALSE(resultat.Succes);
    EXPECT_TRUE(CommencePar(resultat.Message, L"Erreur interne (IPersistFile.Save, 0x")) << VersUtf8(resultat.Message);
  }
  {
    TBureauIsole isole(FBureau.wstring());
    const auto resultat = CreerRaccourciPortail(L"Ecole *?|", L"https://ecole.example.fr/", FIcone);
    EXPECT_FALSE(resultat.Succes) << "a name the file system refuses";
  }
  EXPECT_TRUE(FichiersDe(FBureau).empty());
}

TEST(ContenuWebloc, EscapingAndExactBytes) {
  struct Cas {
    const wchar_t* texte;
    bool guillemets;
    const wchar_t* attendu;
  };
  const Cas cas[] = {
      {L"a&b<c>d\"e", false, L"a&amp;b&lt;c&gt;d\"e"},
      {L"a&b<c>d\"e", true, L"a&amp;b&lt;c&gt;d&quot;e"},
      {L"&lt;", false, L"&amp;lt;"},
      {L"", false, L""},
  };
  for (const auto& c : cas) EXPECT_EQ(c.attendu, EchapperXml(c.texte, c.guillemets)) << VersUtf8(c.texte);

  EXPECT_EQ(
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" \"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
      "<plist version=\"1.0\">\n"
      "  <dict>\n"
      "    <key>URL</key>\n"
      "    <string>https://\xC3\xA9" "cole.example.fr/?a=1&amp;b=\"2\"&amp;c=&lt;3&gt;</string>\n"
      "  </dict>\n"
      "</plist>",
      ContenuWebloc(L"https://école.example.fr/?a=1&b=\"2\"&c=<3>"));
}

// ---- Host desktop: runs in a copy of this program so that its own folder holds "webloc".

// Arguments: desktop folder (may be ""), school name, portal URL, icon file. Prints the success
// flag and the message.
NORVEL_PROGRAMME_ENFANT(RaccourciPortail) {
  int nombre = 0;
  wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &nombre);
  if (nombre != 5) return 2;
  TInitialisationCom com;
  TBureauIsole isole(arguments[1]);
  const auto resultat = CreerRaccourciPortail(arguments[2], arguments[3], arguments[4]);
  EcrireLigneEnfant(resultat.Succes ? L"1" : L"0");
  EcrireLigneEnfant(resultat.Message);
  LocalFree(arguments);
  return 0;
}

namespace {

class BureauHote : public testing::Test {
 protected:
  TDossierTemporaire FDossier;
  fs::path FProgramme = FDossier.Chemin() / L"InstalleurNorvelPrimaire.exe";
  fs::path FWebloc = FDossier.Chemin() / L"webloc";
  fs::path FBureau = FDossier.Chemin() / L"Bureau";
  fs::path FTemoin = FDossier.Chemin() / L"temoin.txt";

  void SetUp() override {
    fs::copy_file(CheminDeCeProgramme(), FProgramme);
    fs::create_directories(FBureau);
  }

  static fs::path CheminDeCeProgramme() {
    std::wstring chemin(32768, L'\0');
    chemin.resize(GetModuleFileNameW(nullptr, chemin.data(), static_cast<DWORD>(chemin.size())));
    return chemin;
  }

  void InstallerCompagnon() {
    fs::create_directories(FWebloc);
    fs::copy_file(FichierBuild(L"tools\\temoin.exe"), FWebloc / L"SetIconeWebloc");
  }

  // Runs the step in the copy; answers {success flag, message}.
  std::pair<std::wstring, std::wstring> Executer(const std::wstring& ecole, const std::wstring& url) {
    TVariableEnvironnement temoin(L"NORVEL_TEMOIN_FICHIER", FTemoin.wstring());
    const auto r = LancerProgrammeEnfant(L"RaccourciPortail", L"\"" + FBureau.wstring() + L"\" \"" + ecole + L"\" \"" +
                                                                   url + L"\" \"C:\\icones\\Portail.ico\"",
                                         FProgramme.wstring());
    EXPECT_EQ(0u, r.CodeSortie) << VersUtf8(r.Sortie);
    const auto lignes = Decouper(r.Sortie, L'\n');
    EXPECT_GE(lignes.size(), 2u) << VersUtf8(r.Sortie);
    if (lignes.size() < 2) return {};
    return {lignes[0], lignes[1]};
  }

  // The companion is not waited for: give it a few seconds to write down how it was started.
  std::string AttendreTemoin() {
    for (int i = 0; i < 200 && !fs::exists(FTemoin); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    return LireFichier(FTemoin);
  }
};

}  // namespace

TEST_F(BureauHote, PropertyListWrittenAndCompanionStarted) {
  InstallerCompagnon();
  TVariableEnvironnement hote(L"BUREAU_HOTE", L"Bureau Hôte 2");
  const std::wstring url = L"https://ecole.example.fr/portail?x=1&y=2";
  const auto [succes, message] = Executer(L"École Saint-Exupéry", url);
  EXPECT_EQ(L"1", succes) << VersUtf8(message);

  const std::wstring nom = L"École Saint-Exupéry - Portail NORVEL Primaire.webloc";
  EXPECT_EQ(ContenuWebloc(url), LireFichier(FWebloc / nom));
  EXPECT_EQ(VersUtf8(L"\"" + nom + L"\" Portail.icns Bureau Hôte 2\n" + FWebloc.wstring() + L"\n"), AttendreTemoin());
  EXPECT_TRUE(FichiersDe(FBureau).empty()) << "no shell link on a host desktop";
}

TEST_F(BureauHote, MissingCompanionFailsTheStepAfterWritingTheFile) {
  fs::create_directories(FWebloc);
  TVariableEnvironnement hote(L"BUREAU_HOTE", L"hote");
  const auto [succes, message] = Executer(L"Ecole", L"https://ecole.example.fr/");
  EXPECT_EQ(L"0", succes);
  EXPECT_EQ(Format(Msg::ErreurInterne, {ERROR_FILE_NOT_FOUND, TexteErreurSysteme(ERROR_FILE_NOT_FOUND),
                                       L"CreateProcess"}),
            message);
  EXPECT_TRUE(fs::exists(FWebloc / L"Ecole - Portail NORVEL Primaire.webloc"));
  EXPECT_TRUE(FichiersDe(FBureau).empty());
}

TEST_F(BureauHote, UnwritableFileFailsTheStepWithoutStartingTheCompanion) {
  InstallerCompagnon();
  fs::create_directories(FWebloc / L"Ecole - Portail NORVEL Primaire.webloc");  // a folder in the file's place
  TVariableEnvironnement hote(L"BUREAU_HOTE", L"hote");
  const auto [succes, message] = Executer(L"Ecole", L"https://ecole.example.fr/");
  EXPECT_EQ(L"0", succes);
  EXPECT_TRUE(CommencePar(message, L"Erreur interne (")) << VersUtf8(message);
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  EXPECT_FALSE(fs::exists(FTemoin));
}

// The host branch needs both the folder and a non-empty BUREAU_HOTE; otherwise the shell link.
TEST_F(BureauHote, EitherConditionMissingGivesTheShellLink) {
  struct Cas {
    const char* quoi;
    bool dossier;
    const wchar_t* hote;  // nullptr: unset
  };
  const Cas cas[] = {
      {"folder, variable unset", true, nullptr},
      {"folder, variable empty", true, L""},
      {"variable, no folder", false, L"hote"},
  };
  for (const auto& c : cas) {
    SCOPED_TRACE(c.quoi);
    fs::remove_all(FWebloc);
    fs::remove_all(FBureau);
    fs::create_directories(FBureau);
    if (c.dossier) InstallerCompagnon();
    const auto [succes, message] = [&] {
      const TVariableEnvironnement hote(L"BUREAU_HOTE", c.hote);
      return Executer(L"Ecole", L"https://ecole.example.fr/");
    }();
    EXPECT_EQ(L"1", succes) << VersUtf8(message);
    EXPECT_EQ(std::vector<std::wstring>{L"Ecole - Portail NORVEL Primaire.lnk"}, FichiersDe(FBureau));
    if (c.dossier) {
      EXPECT_EQ(std::vector<std::wstring>{L"SetIconeWebloc"}, FichiersDe(FWebloc));
    }
  }
}
