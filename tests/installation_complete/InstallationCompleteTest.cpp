// The whole installation through the assistant's own window, as a person goes through it: the
// real InstalleurNorvelPrimaire.exe, driven by the UI driver (tools/pilote) along the steps of
// tools/pilote/installation-complete.txt, against the stand-in world (web service, download
// server, Squid as the machine's proxy) with an earlier client version installed. A screenshot
// of the screen follows each step (build/installation-complete/). Then what the installation
// left is checked: the portal shortcut, the earlier version gone, the new one installed from
// the signed setup, the client opened with its connection file.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "core/Chaines.h"
#include "core/Com.h"
#include "core/Handle.h"
#include "http/InfoHttp.h"
#include "installation_complete/BureauTemporaire.h"
#include "installation_complete/EcoleFerry.h"
#include "install/BureauEssai.h"
#include "install/ClientTemoin.h"
#include "install/TelechargementSetup.h"
#include "support/CaptureEcran.h"
#include "support/CheminsTest.h"
#include "support/EnvironnementTest.h"
#include "support/Monde.h"
#include "support/ProcessusEnfant.h"
#include "support/ProxyMachineTemporaire.h"
#include "support/Sondage.h"

using namespace norvel;
using namespace norvel::test;

namespace {

namespace fs = std::filesystem;

// One step of the scenario: its name and the driver's arguments.
struct TEtapeScenario {
  std::wstring Nom;
  std::wstring Arguments;
};

std::vector<TEtapeScenario> LireScenario() {
  const std::wstring fichier = FichierSource(L"tools\\pilote\\installation-complete.txt");
  std::vector<TEtapeScenario> etapes;
  for (const std::wstring& ligne : Decouper(DepuisUtf8(LireOctets(fichier)), L'\n')) {
    const std::wstring propre = Trim(ligne);
    if (propre.empty() || propre[0] == L'#') continue;
    const size_t barre = propre.find(L'|');
    if (barre == std::wstring::npos) throw std::runtime_error("ligne de scénario sans « | » : " + VersUtf8(propre));
    etapes.push_back({Trim(propre.substr(0, barre)), Trim(propre.substr(barre + 1))});
  }
  return etapes;
}

class InstallationComplete : public testing::Test {
 protected:
  void SetUp() override {
    EffacerClientsCatalogue();
    fs::remove_all(FCaptures);
    fs::create_directories(FCaptures);
    // The setup the school's record names: the stand-in setup signed by OVALIS SAS.
    fs::create_directories(FTelechargements);
    fs::copy_file(FNouvelle.Setup(L"ovalis"), FTelechargements + L"\\" + SetupEcole, fs::copy_options::overwrite_existing);
    fs::create_directories(FBureau);
  }
  void TearDown() override { EffacerClientsCatalogue(); }

  // Runs the driver to its end on the assistant's windows (other test programs may show the
  // same window at the same time); its output goes to the test's.
  DWORD Piloter(const std::wstring& arguments, DWORD delaiMs = 180000) {
    TProgrammeEnfantEnCours pilote(L"pilote", L"-processus " + std::to_wstring(FProcessusAssistant) + L" " + arguments,
                                   FichierBuild(L"tools\\pilote.exe"));
    return pilote.AttendreFin(delaiMs);
  }

  DWORD FProcessusAssistant = 0;
  TInitialisationCom FCom;
  const TCopiesSetup FAncienne{L"setup-signe-win32"}, FNouvelle{L"setup-signe"};
  const std::wstring FCaptures = FichierBuild(L"installation-complete");
  const std::wstring FTelechargements = FCaptures + L"\\telechargements";
  TDossierTemporaire FTemp;
  const std::wstring FBureau = FTemp.Fichier(L"Bureau");
  const std::wstring FDossierAncien = FTemp.Fichier(L"Client 2022");
  const std::wstring FDossierClient = FTemp.Fichier(L"Client NORVEL Primaire");
};

}  // namespace

TEST_F(InstallationComplete, SevenStepsWithAnEarlierVersionInstalled) {
  const TMonde& monde = MondePartage({.Squid = true,
                                        .HotesDuProxy = {L"www.ovalis.fr=127.0.0.1"},
                                        .Telechargements = CheminLinuxDepuisWindows(FTelechargements)});
  // The machine's proxy is the world's Squid (local addresses go direct): the assistant's
  // built-in test page answers through it.
  const TProxyMachineTemporaire proxy({WINHTTP_ACCESS_TYPE_NAMED_PROXY, monde.AdresseProxy("squid_ouvert"),
                                       L"<local>;localhost;127.0.0.1"});
  // The development environment, whose web service is the world's; the desktop of the test.
  const std::wstring assistant = FichierBuild(L"InstalleurNorvelPrimaire.exe");
  const TValeurRegistreTemporaire environnement(L"Software\\Ovalis\\EnvironnementDeploiement", assistant, L"development");
  const TBureauTemporaire bureau(FBureau);
  const TVariableEnvironnement port(L"OV_PORT_INFOSNP_DEVELOPPEMENT", std::to_wstring(monde.Port("https")));

  const TypeRetourExecutable ancienne = InstallerCopie(FAncienne.Setup(L"ovalis"), FDossierAncien);
  ASSERT_EQ(ancienne.CodeRetour, 0u) << VersUtf8(ancienne.SortieErr);
  ASSERT_TRUE(UninstallString(FAncienne.Cle).has_value());

  TProgrammeEnfantEnCours fenetre(L"assistant", L"-CheminInstallation \"" + FDossierClient + L"\" -instance InstallationComplete",
                                  assistant);
  FProcessusAssistant = GetProcessId(fenetre.Processus());
  int numero = 0;
  for (const TEtapeScenario& etape : LireScenario()) {
    ++numero;
    SCOPED_TRACE(VersUtf8(etape.Nom));
    std::printf("== Étape %d/7 : %s\n", numero, VersUtf8(etape.Nom).c_str());
    const DWORD code = Piloter(etape.Arguments);
    CaptureEcran(FCaptures + L"\\etape-" + std::to_wstring(numero) + L".png");
    ASSERT_EQ(code, 0u) << "l'étape n'a pas abouti (capture etape-" << numero << ".png)";
  }
  EXPECT_EQ(numero, 7);
  // Every tick on the window, and no error under any step.
  EXPECT_EQ(Piloter(L"attendre-visible ImageCheckEtape1 -- attendre-visible ImageCheckEtape5 -- attendre-visible "
                    L"ImageCheckEtape6 -- attendre-visible ImageCheckEtape7 -- attendre-cache LabelErreurEtape5 -- "
                    L"attendre-cache LabelErreurEtape7 -- attendre-cache PatienceEtape6"),
            0u);

  // The shortcut on the desktop, to the school's portal.
  const TLienLu lien = LireLien(FBureau + L"\\" + NomEcole + L" - Portail NORVEL Primaire.lnk");
  SignalerCibleSousWine();
  EXPECT_EQ(lien.Cible, CibleAttendue(PortailEcole));
  // The earlier version removed; the downloaded, verified setup run into the folder given.
  EXPECT_FALSE(UninstallString(FAncienne.Cle).has_value());
  EXPECT_FALSE(fs::exists(FDossierAncien));
  const auto commande = UninstallString(FNouvelle.Cle);
  ASSERT_TRUE(commande.has_value());
  EXPECT_TRUE(CommencePar(*commande, L"\"" + FDossierClient + L"\\")) << VersUtf8(*commande);
  // The client opened with its connection file.
  const std::string recu = ConnexionRecue(FDossierClient);
  EXPECT_TRUE(FinitPar(DepuisUtf8(recu), L"\xFEFFServeur=" + std::wstring(NomEcole) + L":" + ServeurEcole + L":TestConnexion"))
      << recu;

  EXPECT_EQ(Piloter(L"fermer -- attendre-fermeture"), 0u);
  EXPECT_EQ(fenetre.AttendreFin(30000), 0u);
  // The access test reached the publisher's site through the machine's proxy: Squid notes the
  // tunnel, to the stand-in of www.ovalis.fr:443 it leads to, once it is closed.
  const std::string editeur = "CONNECT 127.0.0.1:" + std::to_string(monde.Port("https_editeur")) + " ";
  EXPECT_TRUE(AttendreQue([&] {
    std::istringstream journal(monde.JournalSquid());
    for (std::string ligne; std::getline(journal, ligne);)
      if (ligne.find(" TCP_TUNNEL/200 ") != std::string::npos && ligne.find(editeur) != std::string::npos) return true;
    return false;
  })) << monde.JournalSquid();
  // The downloaded setup went with the installation.
  EXPECT_FALSE(fs::exists(DossierTemporaireUtilisateur() + SetupEcole));
}
