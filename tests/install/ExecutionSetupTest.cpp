// The silent run of the downloaded setup (its signature checked, the file held until it runs,
// its log file and variables) and the connection file opened through the shell, with the real
// signed copies of the stand-in setup.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <string>

#include "platform/Chemins.h"
#include "core/Chaines.h"
#include "core/Exceptions.h"
#include "core/Format.h"
#include "core/Handle.h"
#include "install/ClientTemoin.h"
#include "install/DesinstallationVersions.h"
#include "install/ExecutionSetup.h"
#include "install/LancementClient.h"
#include "install/TelechargementSetup.h"
#include "support/CheminsTest.h"
#include "support/EnvironnementTest.h"

using namespace norvel;
using namespace norvel::test;

namespace {

namespace fs = std::filesystem;

std::wstring Variable(const wchar_t* nom) {
  wchar_t valeur[4096] = {};
  const DWORD longueur = GetEnvironmentVariableW(nom, valeur, 4096);
  return longueur < 4096 ? valeur : L"(trop long)";
}

std::wstring Message(const std::function<void()>& action) {
  try {
    action();
  } catch (const EOvalis& e) {
    return e.Message();
  }
  return L"";
}

// The variables the setup run sets for good, given back at the end of a test.
struct TVariablesSetup {
  TVariableEnvironnement Agent{L"OVALIS_IS_AGENT", nullptr}, Contexte{L"OVALIS_IS_CONTEXTEOUTILINSTALLEUR", nullptr},
      Raccourci{L"OVALIS_IS_RACCOURCI", nullptr}, Journal{L"OVALIS_IS_FICHIERLOG", nullptr},
      Dossier{L"OVALIS_IS_PATHEXE", nullptr}, Desinstallation{L"OVALIS_IS_UNINSTALL", nullptr};
};

class ExecutionSetup : public testing::Test {
 protected:
  void SetUp() override { EffacerInstallation(FCopies.Cle); }
  void TearDown() override {
    TOvRegistry registre(KEY_READ, HKEY_LOCAL_MACHINE);
    if (const auto commande = CommandeDesinstallation(registre, FCopies.Identifiant))
      DesinstallerVersion(FSequenceur, *commande);
    EffacerInstallation(FCopies.Cle);
  }

  // A copy of the setup where a download would put it.
  std::wstring Telecharge(const wchar_t* signataire) {
    const std::wstring fichier = FTemp.Fichier(L"SetupNorvelPrimaire.exe");
    fs::copy_file(FCopies.Setup(signataire), fichier, fs::copy_options::overwrite_existing);
    return fichier;
  }

  TVariablesSetup FVariables;
  TCopiesSetup FCopies{L"setup-signe"};
  TDossierTemporaire FTemp;
  TSequenceurLancementExecutable FSequenceur;
};

}  // namespace

TEST(JournalSetup, NewTemporaryFileHoldingOnlyTheUtf16Mark) {
  const std::wstring premier = CreerJournalSetup();
  const std::wstring second = CreerJournalSetup();
  EXPECT_NE(premier, second);
  for (const std::wstring& journal : {premier, second}) {
    EXPECT_EQ(DossierDe(journal) + L"\\", DossierTemporaireUtilisateur());
    EXPECT_TRUE(CommencePar(EnMinuscules(NomDe(journal)), L"tmp")) << VersUtf8(journal);
    EXPECT_EQ(LireOctets(journal), "\xFF\xFE");
    fs::remove(journal);
  }
}

TEST_F(ExecutionSetup, SignedSetupRunsSilentlyWithItsVariables) {
  const std::wstring dossier = FTemp.Fichier(L"Client NORVEL");
  const std::wstring setup = Telecharge(L"ovalis");
  InstallerClient(FSequenceur, setup, dossier);

  EXPECT_TRUE(UninstallString(FCopies.Cle).has_value());
  EXPECT_TRUE(fs::exists(dossier + L"\\ClientNorvelPrimaire.exe"));
  // The setup's variables, kept for the programs that follow; the program's own environment,
  // which other threads read, is left alone.
  const TypeVariablesEnvironnement& variables = FSequenceur.Variables();
  for (const wchar_t* nom : {L"OVALIS_IS_AGENT", L"OVALIS_IS_CONTEXTEOUTILINSTALLEUR", L"OVALIS_IS_RACCOURCI"})
    EXPECT_EQ(variables.at(nom), L"1") << VersUtf8(nom);
  EXPECT_EQ(variables.at(L"OVALIS_IS_PATHEXE"), dossier);
  for (const auto& [nom, valeur] : variables) EXPECT_EQ(Variable(nom.c_str()), L"") << VersUtf8(nom);
  // The log: the mark the assistant wrote, then the setup's own line.
  const std::wstring journal = variables.at(L"OVALIS_IS_FICHIERLOG");
  EXPECT_EQ(DossierDe(journal) + L"\\", DossierTemporaireUtilisateur());
  EXPECT_EQ(LignesDuJournal(journal), L"Installation de Client NORVEL Primaire " + FCopies.Identifiant + L" (Win64) dans \"" +
                                          dossier +
                                          L"\" : OVALIS_IS_AGENT=1, OVALIS_IS_CONTEXTEOUTILINSTALLEUR=1, "
                                          L"OVALIS_IS_RACCOURCI=1, OVALIS_IS_UNINSTALL=(absente)\r\n");
  fs::remove(journal);
  // Held no longer once the setup runs: the worker deletes it at its end.
  EXPECT_TRUE(DeleteFileW(setup.c_str()));
}

TEST_F(ExecutionSetup, NoInstallationFolderLeavesTheInheritedOne) {
  const std::wstring dossier = FTemp.Fichier(L"Dossier hérité");
  TVariableEnvironnement herite(L"OVALIS_IS_PATHEXE", dossier);
  InstallerClient(FSequenceur, Telecharge(L"ovalis"), L"");
  EXPECT_EQ(Variable(L"OVALIS_IS_PATHEXE"), dossier);
  EXPECT_EQ(FSequenceur.Variables().count(L"OVALIS_IS_PATHEXE"), 0u);
  EXPECT_TRUE(fs::exists(dossier + L"\\ClientNorvelPrimaire.exe"));
  fs::remove(FSequenceur.Variables().at(L"OVALIS_IS_FICHIERLOG"));
}

TEST_F(ExecutionSetup, RefusedOrUnheldSetupNeverRuns) {
  struct Cas {
    const char* nom;
    const wchar_t* copie;
    std::wstring erreur;  // the beginning of the message
  };
  const Cas cas[] = {
      {"unsigned", L"non-signe",
       L"Erreur de la vérification de la signature : La vérification de la signature numérique a échoué "
       L"(WinVerifyTrust, TRUST_E_NOSIGNATURE + 0x"},
      {"another publisher", L"autre-editeur",
       L"Erreur de la vérification de la signature : Nom du certificat = \"C=FR, O=Editions Tiers, CN=EDITIONS TIERS\""},
  };
  for (const auto& c : cas) {
    SCOPED_TRACE(c.nom);
    const std::wstring erreur = Message([&] { InstallerClient(FSequenceur, Telecharge(c.copie), FTemp.Fichier(L"Client")); });
    EXPECT_TRUE(CommencePar(erreur, c.erreur)) << VersUtf8(erreur);
    EXPECT_FALSE(UninstallString(FCopies.Cle).has_value());
  }

  // Another process still writes the file: it cannot be held, so it is not run.
  const std::wstring setup = Telecharge(L"ovalis");
  THandleFichier ecrivain(CreateFileW(setup.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(ecrivain);
  const std::wstring erreur = Message([&] { InstallerClient(FSequenceur, setup, FTemp.Fichier(L"Client")); });
  EXPECT_TRUE(CommencePar(erreur, L"Erreur interne (CreateFile, 0x00000020) : ")) << VersUtf8(erreur);
  EXPECT_FALSE(UninstallString(FCopies.Cle).has_value());
}

TEST(FichierConnexion, OneUtf8LineWithItsMark) {
  struct Cas {
    const wchar_t* ecole;
    uint16_t port;
    bool enService;
    const wchar_t* contenu;
  };
  const Cas cas[] = {
      {L"École Jules Ferry", 21300, true, L"Serveur=École Jules Ferry:serveur.ecole.test:21300:TestConnexion"},
      {L"Ecole des Pins", 21400, false, L"Serveur=Ecole des Pins:serveur.ecole.test:21400:ConfigurationSeulement"},
      // Written unchanged, even when it makes the line ambiguous.
      {L"Ecole A:B", 65535, true, L"Serveur=Ecole A:B:serveur.ecole.test:65535:TestConnexion"},
      // Still one line: a name holding a line break or another control character loses them.
      {L"Ecole\r\nServeur=pirate:1:TestConnexion\x1b", 21300, true,
       L"Serveur=EcoleServeur=pirate:1:TestConnexion:serveur.ecole.test:21300:TestConnexion"},
  };
  for (const auto& c : cas) {
    const std::wstring contenu = ContenuFichierConnexion(c.ecole, L"serveur.ecole.test", c.port, c.enService);
    EXPECT_EQ(contenu, c.contenu);
    const std::wstring fichier = EcrireFichierConnexion(contenu);
    EXPECT_EQ(ExtensionDe(fichier), L".ncprim");
    EXPECT_EQ(DossierDe(fichier) + L"\\", DossierTemporaireUtilisateur());
    EXPECT_EQ(LireOctets(fichier), "\xEF\xBB\xBF" + VersUtf8(c.contenu));
    // The platform's unique name stays taken by its own empty file.
    const std::wstring reserve = ChangerExtension(fichier, L".tmp");
    EXPECT_EQ(LireOctets(reserve), "");
    fs::remove(fichier);
    fs::remove(reserve);
  }
}

TEST(LancementClient, NoProgramForTheConnectionFile) {
  EffacerInstallation(L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\{AUCUN}");
  ASSERT_EQ(CommandeOuvertureNcprim(), L"");
  EXPECT_EQ(Message([] { ConfigurerEtLancerClient(L"Ecole", L"serveur.ecole.test", 21300, true); }),
            L"Impossible de lancer le client NORVEL Primaire");
}
