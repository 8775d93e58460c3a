// The unattended run of a fleet deployment, end to end: the real InstalleurNorvelPrimaire.exe
// started with the deployment's switches, as a Group Policy script or Intune starts it, against
// the stand-in world (web service, download server, Squid as the machine's proxy). No UI driver:
// what counts is the exit code, the journal, and what the run left on the machine.
#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/Chaines.h"
#include "core/Com.h"
#include "http/InfoHttp.h"
#include "installation_complete/BureauTemporaire.h"
#include "installation_complete/EcoleFerry.h"
#include "install/BureauEssai.h"
#include "install/ClientTemoin.h"
#include "install/RaccourciPortail.h"
#include "install/TelechargementSetup.h"
#include "support/CaptureEcran.h"
#include "support/CheminsTest.h"
#include "support/EnvironnementTest.h"
#include "support/Monde.h"
#include "support/ProcessusEnfant.h"
#include "support/ProxyMachineTemporaire.h"
#include "support/Sondage.h"
#include "ui/IdentifiantsControles.h"

using namespace norvel;
using namespace norvel::test;

namespace {

namespace fs = std::filesystem;

// The instance of these runs: their configuration file and journals have folders of their own.
constexpr const wchar_t* Instance = L"SansAssistance";
// Names only the proxy resolves: the publisher's site (the built-in access test) and a
// download host that only a route through the proxy reaches.
constexpr const wchar_t* HoteTelechargementDuProxy = L"telechargement.test";
// The credentials of Squid's Basic port (tools/monde/squid.py), in the stored form a run of the
// assistant on another machine wrote them: the form holds no key of the machine that made it.
constexpr const wchar_t* IdentifiantStocke = L"0A2CB267FE5E17E3AE276DE4BE546C0532E1DD3101000000";
constexpr const wchar_t* MotDePasseStocke = L"86CC493D12FEA4845F48A3F1FC2AD324E410BB1E00000000";

std::wstring DossierDonneesCommunes() {
  PWSTR chemin = nullptr;
  SHGetKnownFolderPath(FOLDERID_ProgramData, 0, nullptr, &chemin);
  const std::wstring dossier = chemin ? chemin : L"";
  CoTaskMemFree(chemin);
  return dossier;
}

struct TExecution {
  DWORD Code = 0;
  std::wstring Journal;
};

class SansAssistance : public testing::Test {
 protected:
  void SetUp() override {
    EffacerClientsCatalogue();
    fs::remove_all(FDossier);
    fs::create_directories(FTelechargements);
    fs::copy_file(FNouvelle.Setup(L"ovalis"), FTelechargements + L"\\" + SetupEcole);
    fs::create_directories(FBureau);
    fs::remove_all(FDossierConfig);
  }
  void TearDown() override {
    EffacerClientsCatalogue();
    fs::remove_all(FDossierConfig);
  }

  const TMonde& Monde() {
    return MondePartage({.Squid = true,
                         .HotesDuProxy = {L"www.ovalis.fr=127.0.0.1", std::wstring(HoteTelechargementDuProxy) + L"=127.0.0.1"},
                         .Telechargements = CheminLinuxDepuisWindows(FTelechargements)});
  }

  // The run's arguments after the deployment's: its own folder for the client, its instance;
  // debugging parameters last, after "--".
  std::wstring Arguments(const std::wstring& deploiement, const std::wstring& journal, const std::wstring& dbg) const {
    return deploiement + L" -CheminInstallation \"" + FDossierClient + L"\" -instance " + Instance + L" -Journal \"" +
           journal + L"\"" + (dbg.empty() ? L"" : L" -- " + dbg);
  }

  TProgrammeEnfantEnCours Demarrer(const std::wstring& deploiement, const std::wstring& journal,
                                   const std::wstring& dbg = {}) {
    return TProgrammeEnfantEnCours(L"assistant", Arguments(deploiement, journal, dbg), FAssistant);
  }

  TExecution Executer(const std::wstring& deploiement, DWORD delaiMs = 240000, const std::wstring& dbg = {}) {
    const std::wstring journal = FTemp.Fichier(L"journal-" + std::to_wstring(++FNumero) + L".log");
    TProgrammeEnfantEnCours assistant = Demarrer(deploiement, journal, dbg);
    TExecution execution;
    execution.Code = assistant.AttendreFin(delaiMs);
    execution.Journal = LireJournal(journal);
    return execution;
  }

  static std::wstring LireJournal(const std::wstring& chemin) {
    const std::string octets = LireOctets(chemin);
    EXPECT_EQ(octets.rfind("\xEF\xBB\xBF", 0), 0u) << "UTF-8 with its mark: " << VersUtf8(chemin);
    return DepuisUtf8(octets.size() >= 3 ? octets.substr(3) : octets);
  }

  // The shared HTTP configuration file as an administrator copies it from the machine where the
  // assistant was run by hand: a kind of configuration (and its proxy), a test address of the
  // school's network, and (when given) the proxy's credentials in their stored form.
  void CopierConfigurationPartagee(const std::wstring& urlTest, const std::wstring& proxyAvecIdentifiants,
                                   const std::wstring& genre = L"gcpConfigSysteme", const std::wstring& proxyPropre = L"",
                                   const std::wstring& exceptionsPropres = L"") {
    fs::create_directories(FDossierConfig);
    std::wstring xml = L"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<ROOT VERSION=\"1\">\r\n  <Version1>\r\n"
                       L"    <UtiliserVersionsTLSDuSysteme>false</UtiliserVersionsTLSDuSysteme>\r\n"
                       L"    <GenreConfigProxy>" + genre + L"</GenreConfigProxy>\r\n"
                       L"    <ProxyHttpOvalis>" + proxyPropre + L"</ProxyHttpOvalis>\r\n"
                       L"    <ProxyHttpsOvalis>" + proxyPropre + L"</ProxyHttpsOvalis>\r\n"
                       L"    <ExceptionsProxiesOvalis>\r\n";
    for (const std::wstring& exception : Decouper(exceptionsPropres, L';'))
      if (!exception.empty()) xml += L"      <Exception>" + EchapperXml(exception) + L"</Exception>\r\n";
    xml += L"    </ExceptionsProxiesOvalis>\r\n    <UrlTest>\r\n";
    if (!urlTest.empty()) xml += L"      <Url>" + urlTest + L"</Url>\r\n";
    xml += L"    </UrlTest>\r\n    <InfoAuthProxies>\r\n";
    if (!proxyAvecIdentifiants.empty())
      xml += L"      <InfoAuthProxy Proxy=\"" + proxyAvecIdentifiants + L"\">\r\n        <Schema>1</Schema>\r\n"
             L"        <Identifiant>" + std::wstring(IdentifiantStocke) + L"</Identifiant>\r\n        <MotDePasse>" +
             std::wstring(MotDePasseStocke) + L"</MotDePasse>\r\n      </InfoAuthProxy>\r\n";
    xml += L"    </InfoAuthProxies>\r\n  </Version1>\r\n</ROOT>\r\n";
    EcrireOctets(FDossierConfig + L"\\ConfigClientsHttp.xcfg", "\xEF\xBB\xBF" + VersUtf8(xml));
  }

  void VerifierClientInstalle(const std::wstring& finConnexion) {
    const auto commande = UninstallString(FNouvelle.Cle);
    ASSERT_TRUE(commande.has_value());
    EXPECT_TRUE(CommencePar(*commande, L"\"" + FDossierClient + L"\\")) << VersUtf8(*commande);
    const std::string recu = ConnexionRecue(FDossierClient);
    EXPECT_TRUE(FinitPar(DepuisUtf8(recu), finConnexion)) << recu;
    EXPECT_FALSE(fs::exists(DossierTemporaireUtilisateur() + SetupEcole));
  }

  TInitialisationCom FCom;
  const TCopiesSetup FAncienne{L"setup-signe-win32"}, FNouvelle{L"setup-signe"}, FCopies{L"setup-signe"};
  const std::wstring FDossier = FichierBuild(L"sans-assistance");
  const std::wstring FTelechargements = FDossier + L"\\telechargements";
  const std::wstring FAssistant = FichierBuild(L"InstalleurNorvelPrimaire.exe");
  const std::wstring FDossierConfig = DossierDonneesCommunes() + L"\\Ovalis\\Commun\\" + Instance;
  TDossierTemporaire FTemp;
  const std::wstring FBureau = FTemp.Fichier(L"Bureau");
  const std::wstring FDossierAncien = FTemp.Fichier(L"Client 2022");
  const std::wstring FDossierClient = FTemp.Fichier(L"Client NORVEL Primaire");
  // The development environment, whose web service is the world's; the desktop of the test.
  const TValeurRegistreTemporaire FEnvironnement{L"Software\\Ovalis\\EnvironnementDeploiement", FAssistant, L"development"};
  const TBureauTemporaire FBureauTemporaire{FBureau};
  const TVariableEnvironnement FPort{L"OV_PORT_INFOSNP_DEVELOPPEMENT", std::to_wstring(Monde().Port("https"))};
  int FNumero = 0;
};

const std::wstring Deploiement = std::wstring(L"-RNE ") + RneEcole + L" -AccepterConditions -Silencieux";

}  // namespace

TEST_F(SansAssistance, InstallsTheClientAndExitsZero) {
  const TProxyMachineTemporaire proxy({WINHTTP_ACCESS_TYPE_NAMED_PROXY, Monde().AdresseProxy("squid_ouvert"),
                                       L"<local>;localhost;127.0.0.1"});
  const TypeRetourExecutable ancienne = InstallerCopie(FAncienne.Setup(L"ovalis"), FDossierAncien);
  ASSERT_EQ(ancienne.CodeRetour, 0u) << VersUtf8(ancienne.SortieErr);

  const TExecution execution = Executer(Deploiement);
  EXPECT_EQ(execution.Code, 0u) << VersUtf8(execution.Journal);
  // The shortcut, the earlier version gone, the signed setup run, the client opened.
  const TLienLu lien = LireLien(FBureau + L"\\" + NomEcole + L" - Portail NORVEL Primaire.lnk");
  SignalerCibleSousWine();
  EXPECT_EQ(lien.Cible, CibleAttendue(PortailEcole));
  EXPECT_FALSE(UninstallString(FAncienne.Cle).has_value());
  VerifierClientInstalle(L"\xFEFFServeur=" + std::wstring(NomEcole) + L":" + ServeurEcole + L":TestConnexion");
  // The story of the run, in order.
  size_t position = 0;
  for (const std::wstring& attendu :
       {std::wstring(L"InstalleurNorvelPrimaire 1.9, "), std::wstring(L"Windows "), std::wstring(L"Ligne de commande : "),
        std::wstring(L"Mode : sans assistance, silencieux"), std::wstring(L"Configuration HTTP : paramètres de proxy du système"),
        std::wstring(L"HTTP GET https://www.ovalis.fr:443/trs.html (par le proxy "),
        std::wstring(L"Étape 1/7 : accès internet réussi"), std::wstring(L"Étape 2/7 : recherche de l'école 0750001A"),
        std::wstring(L"HTTP GET https://localhost:") + std::to_wstring(Monde().Port("https")) + L"/api/InfosNP/0750001A?plateforme=Win64",
        std::wstring(L"Étape 3/7 : école ") + NomEcole, std::wstring(L"Étape 4/7 : conditions générales"),
        std::wstring(L"Étape 5/7 : raccourci vers le portail créé"), std::wstring(L"Étape 6/7 : désinstallation de Client NORVEL Primaire 2022 (Win32)"),
        std::wstring(L"Étape 6/7 : téléchargement de l'installation"), std::wstring(L"/telechargement/") + SetupEcole,
        std::wstring(L"Le programme d'installation s'est terminé avec le code 0"),
        std::wstring(L"Étape 7/7 : client NORVEL Primaire configuré"),
        std::wstring(L"Fin de l'exécution : code de sortie 0 (exécution réussie)")}) {
    const size_t trouve = execution.Journal.find(attendu, position);
    ASSERT_NE(trouve, std::wstring::npos) << VersUtf8(attendu) << "\n" << VersUtf8(execution.Journal);
    position = trouve;
  }
}

TEST_F(SansAssistance, ASetupThatAsksForARestartGivesItsCodeBack) {
  const TProxyMachineTemporaire proxy({WINHTTP_ACCESS_TYPE_NAMED_PROXY, Monde().AdresseProxy("squid_ouvert"),
                                       L"<local>;localhost;127.0.0.1"});
  // The setup inherits the assistant's environment.
  const TVariableEnvironnement redemarrage(L"NORVEL_SETUP_REDEMARRAGE", L"1");
  const TExecution execution = Executer(Deploiement);
  EXPECT_EQ(execution.Code, 3010u) << VersUtf8(execution.Journal);
  EXPECT_NE(execution.Journal.find(L"Le programme d'installation s'est terminé avec le code 3010"), std::wstring::npos);
  EXPECT_NE(execution.Journal.find(L"code de sortie 3010 (installation réussie, le poste doit redémarrer)"),
            std::wstring::npos);
  VerifierClientInstalle(L":TestConnexion");
}

TEST_F(SansAssistance, EachFailureExitsWithItsCodeAndTheJournalNamesItsCause) {
  const TProxyMachineTemporaire proxy({WINHTTP_ACCESS_TYPE_NAMED_PROXY, Monde().AdresseProxy("squid_ouvert"),
                                       L"<local>;localhost;127.0.0.1"});
  struct TCas {
    const char* Nom;
    std::wstring Rne;
    std::wstring Copie;  // served under the school's setup name; empty: none, 404
    DWORD Code;
    std::wstring Cause;
  };
  const std::vector<TCas> cas = {
      {"unknown school", L"9999999Z", L"ovalis", 20003,
       L"Échec : Aucun établissement ne correspond à l'identifiant « 9999999Z »"},
      {"missing setup", RneEcole, L"", 20006, L"Étape 6/7 : échec du téléchargement : Erreur HTTP 404 : Not Found"},
      {"unsigned setup", RneEcole, L"non-signe", 20007,
       L"Étape 6/7 : échec de l'installation : Erreur de la vérification de la signature : La vérification de la "
       L"signature numérique a échoué (WinVerifyTrust, TRUST_E_NOSIGNATURE"},
  };
  for (const TCas& c : cas) {
    SCOPED_TRACE(c.Nom);
    EffacerClientsCatalogue();
    fs::remove(FTelechargements + L"\\" + SetupEcole);
    if (!c.Copie.empty()) fs::copy_file(FCopies.Setup(c.Copie), FTelechargements + L"\\" + SetupEcole);
    const TExecution execution = Executer(L"-RNE " + c.Rne + L" -AccepterConditions -Silencieux");
    EXPECT_EQ(execution.Code, c.Code) << VersUtf8(execution.Journal);
    EXPECT_NE(execution.Journal.find(c.Cause), std::wstring::npos) << VersUtf8(execution.Journal);
    EXPECT_NE(execution.Journal.find(L"Fin de l'exécution : code de sortie " + std::to_wstring(c.Code)), std::wstring::npos);
    EXPECT_FALSE(UninstallString(FNouvelle.Cle).has_value());
  }
}

TEST_F(SansAssistance, AProxyAskingForUnknownCredentialsThenTheSharedFileCopiedFromAnotherMachine) {
  // The machine goes out through Squid's port with Basic authentication; the school's setup is
  // on a host only the proxy reaches (Wine cannot tunnel HTTPS through a proxy that asks for
  // credentials, so the download over plain HTTP is where the proxy asks).
  const TMonde& monde = Monde();
  const std::wstring proxyAuth = monde.AdresseProxy("squid_auth");
  const TProxyMachineTemporaire proxy({WINHTTP_ACCESS_TYPE_NAMED_PROXY, proxyAuth, L"<local>;localhost;127.0.0.1"});
  const std::wstring urlTest = monde.Url("https", L"/acces");
  const std::wstring rne = std::wstring(RneEcole) + L"~urlTelechargementClient=http://" + HoteTelechargementDuProxy + L":" +
                           std::to_wstring(monde.Port("http")) + L"/telechargement/" + SetupEcole;

  CopierConfigurationPartagee(urlTest, L"");
  const TExecution sans = Executer(L"-RNE " + rne + L" -AccepterConditions -Silencieux");
  EXPECT_EQ(sans.Code, 20002u) << VersUtf8(sans.Journal);
  EXPECT_NE(sans.Journal.find(L"Le proxy " + proxyAuth + L" demande une authentification que le fichier de configuration "
                                                         L"partagé " + FDossierConfig + L"\\ConfigClientsHttp.xcfg ne contient pas"),
            std::wstring::npos)
      << VersUtf8(sans.Journal);
  EXPECT_NE(sans.Journal.find(L"copier au même emplacement sur les autres postes"), std::wstring::npos);
  EXPECT_FALSE(UninstallString(FNouvelle.Cle).has_value());

  // The file of a machine where the assistant was run by hand: the run goes through.
  CopierConfigurationPartagee(urlTest, proxyAuth);
  const TExecution avec = Executer(L"-RNE " + rne + L" -AccepterConditions -Silencieux");
  EXPECT_EQ(avec.Code, 0u) << VersUtf8(avec.Journal);
  VerifierClientInstalle(L":TestConnexion");
  EXPECT_NE(avec.Journal.find(L"identifiants enregistrés pour les proxies=" + proxyAuth), std::wstring::npos);
  EXPECT_NE(avec.Journal.find(L"HTTP GET http://telechargement.test:" + std::to_wstring(monde.Port("http")) +
                              L"/telechargement/" + SetupEcole + L" (par le proxy " + proxyAuth + L") : statut 200"),
            std::wstring::npos)
      << VersUtf8(avec.Journal);
  // No password in the journals, neither in clear nor in its stored form, nor a piece of it.
  const std::wstring motDePasse = monde.Valeur("squid_motdepasse");
  for (const TExecution* execution : {&sans, &avec})
    for (const std::wstring& secret : {motDePasse, std::wstring(MotDePasseStocke), std::wstring(MotDePasseStocke).substr(8, 24),
                                       std::wstring(IdentifiantStocke).substr(8, 24)})
      EXPECT_EQ(execution->Journal.find(secret), std::wstring::npos) << VersUtf8(secret);
}

TEST_F(SansAssistance, AFailedAccessTestAppliesTheSearchsFirstProposal) {
  // The shared file names a proxy of the program's own that no longer answers (the school's own
  // servers go direct); the machine's proxy works: the search proposes it and nobody is there to
  // choose. (Wine keeps the route a session was opened with: the later requests of this run go
  // where the file's bypass list sends them, directly to the local stand-ins.)
  const TProxyMachineTemporaire proxy({WINHTTP_ACCESS_TYPE_NAMED_PROXY, Monde().AdresseProxy("squid_ouvert"),
                                       L"<local>;localhost;127.0.0.1"});
  CopierConfigurationPartagee(L"", L"", L"gcpConfigOvalis", L"127.0.0.1:1", L"<local>;localhost;127.0.0.1");
  const TExecution execution = Executer(Deploiement);
  EXPECT_EQ(execution.Code, 0u) << VersUtf8(execution.Journal);
  size_t position = 0;
  for (const wchar_t* attendu :
       {L"Configuration HTTP : paramètres personnalisés ; ", L"Accès internet en échec. Recherche d'une meilleure configuration ...",
        L"Recherche d'autres configurations : ", L"Étape 1/7 : première proposition retenue : ", L"Configuration appliquée : ",
        L"Une configuration http fonctionnelle a été appliquée.", L"Étape 2/7 : recherche de l'école 0750001A"}) {
    const size_t trouve = execution.Journal.find(attendu, position);
    ASSERT_NE(trouve, std::wstring::npos) << VersUtf8(attendu) << "\n" << VersUtf8(execution.Journal);
    position = trouve;
  }
  VerifierClientInstalle(L":TestConnexion");
}

TEST_F(SansAssistance, PassiveModeShowsItsProgressWhileASecondRunExits1618) {
  const TProxyMachineTemporaire proxy({WINHTTP_ACCESS_TYPE_NAMED_PROXY, Monde().AdresseProxy("squid_ouvert"),
                                       L"<local>;localhost;127.0.0.1"});
  // A slow download keeps the first run at work.
  const std::wstring journal = FTemp.Fichier(L"passif.log");
  TProgrammeEnfantEnCours premier =
      Demarrer(std::wstring(L"-RNE ") + RneEcole + L"~telechargement=lent=250 -AccepterConditions -Passif", journal);
  struct TRecherche {
    DWORD Processus;
    HWND Fenetre = nullptr;
  } recherche{GetProcessId(premier.Processus())};
  auto etape = [&] {
    recherche.Fenetre = nullptr;
    EnumWindows(
        [](HWND fenetre, LPARAM l) -> BOOL {
          auto* r = reinterpret_cast<TRecherche*>(l);
          DWORD processus = 0;
          GetWindowThreadProcessId(fenetre, &processus);
          if (processus == r->Processus && IsWindowVisible(fenetre) && GetDlgItem(fenetre, IdControle::LabelProgression))
            r->Fenetre = fenetre;
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&recherche));
    wchar_t texte[256] = L"";
    if (recherche.Fenetre) GetWindowTextW(GetDlgItem(recherche.Fenetre, IdControle::LabelProgression), texte, 256);
    return std::wstring(texte);
  };
  // The download's line, with its progress as the window shows it.
  ASSERT_TRUE(AttendreQue([&] { return CommencePar(etape(), L"Téléchargement de l'installation en cours ..."); }, 120000))
      << VersUtf8(etape()) << "\n" << VersUtf8(LireJournal(journal));
  wchar_t titre[128] = L"";
  GetWindowTextW(recherche.Fenetre, titre, 128);
  EXPECT_TRUE(CommencePar(titre, L"Assistant d'installation de NORVEL Primaire - 1.9")) << VersUtf8(titre);
  // No question: the window holds the step and its bar only.
  EXPECT_EQ(GetDlgItem(recherche.Fenetre, IDOK), nullptr);
  // Beside the other screenshots of the build, kept after the run.
  const std::wstring captures = FichierBuild(L"captures-sans-assistance");
  fs::create_directories(captures);
  CaptureEcran(captures + L"\\mode-passif.png");

  const TExecution second = Executer(Deploiement, 60000);
  EXPECT_EQ(second.Code, 1618u) << VersUtf8(second.Journal);
  EXPECT_NE(second.Journal.find(L"Une autre installation est en cours sur ce poste"), std::wstring::npos)
      << VersUtf8(second.Journal);

  EXPECT_EQ(premier.AttendreFin(240000), 0u) << VersUtf8(LireJournal(journal));
  EXPECT_NE(LireJournal(journal).find(L"Mode : sans assistance, fenêtre de progression"), std::wstring::npos);
  VerifierClientInstalle(L":TestConnexion");
}

TEST_F(SansAssistance, WithoutAUserSessionTheShortcutIsPublicAndNoClientStarts) {
  // Wine has no SYSTEM account: the run is told, through a debugging parameter, that it has no
  // user session, and takes every decision it takes as SYSTEM.
  const TProxyMachineTemporaire proxy({WINHTTP_ACCESS_TYPE_NAMED_PROXY, Monde().AdresseProxy("squid_ouvert"),
                                       L"<local>;localhost;127.0.0.1"});
  const fs::path lien = fs::path(DossierBureauCommun()) / (std::wstring(NomEcole) + L" - Portail NORVEL Primaire.lnk");
  fs::remove(lien);

  const TExecution execution = Executer(Deploiement, 240000, L"SansUtilisateur");
  EXPECT_EQ(execution.Code, 0u) << VersUtf8(execution.Journal);
  EXPECT_TRUE(fs::exists(lien));
  EXPECT_TRUE(fs::is_empty(FBureau));
  fs::remove(lien);
  EXPECT_TRUE(UninstallString(FNouvelle.Cle).has_value());
  const std::wstring connexion = DossierDonneesCommunes() + L"\\Ovalis\\InstalleurNorvelPrimaire\\MONOPOSTE\\" +
                                 Instance + L"\\NORVEL Primaire.ncprim";
  EXPECT_EQ(LireOctets(connexion), "\xEF\xBB\xBF" + VersUtf8(L"Serveur=" + std::wstring(NomEcole) + L":" + ServeurEcole +
                                                              L":ConfigurationSeulement"));
  EXPECT_NE(execution.Journal.find(L"Étape 7/7 : fichier de connexion écrit sans lancer le client (aucune session "
                                   L"utilisateur) : " + connexion),
            std::wstring::npos)
      << VersUtf8(execution.Journal);
  // No client was started: it would have recorded the file it was opened with.
  Sleep(2000);
  EXPECT_FALSE(fs::exists(FDossierClient + L"\\ConnexionRecue.txt"));
}

TEST_F(SansAssistance, ABadCommandLineExits1639AndSaysWhyOnTheConsoleAndInTheJournal) {
  const std::wstring journaux =
      DossierDonneesCommunes() + L"\\Ovalis\\InstalleurNorvelPrimaire\\MONOPOSTE\\" + Instance + L"\\Journaux";
  fs::remove_all(journaux);
  // Started with its output redirected, as a deployment script that keeps it.
  const TResultatEnfant enfant =
      LancerProgrammeEnfant(L"assistant", L"-Silencieux -instance " + std::wstring(Instance), FAssistant);
  EXPECT_EQ(enfant.CodeSortie, 1639u);
  const std::wstring raison = L"Une installation sans assistance a besoin de l'identifiant de l'école : ajoutez -RNE <identifiant>.";
  EXPECT_NE(enfant.Sortie.find(raison), std::wstring::npos) << VersUtf8(enfant.Sortie);
  EXPECT_NE(enfant.Sortie.find(L"Fin de l'exécution : code de sortie 1639 (ligne de commande incorrecte)"), std::wstring::npos);
  // Without -Journal, the journal is one file among the assistant's own.
  std::vector<fs::path> fichiers;
  for (const auto& entree : fs::directory_iterator(journaux)) fichiers.push_back(entree.path());
  ASSERT_EQ(fichiers.size(), 1u);
  EXPECT_TRUE(CommencePar(fichiers[0].filename().wstring(), L"InstalleurNorvelPrimaire-"));
  EXPECT_NE(LireJournal(fichiers[0].wstring()).find(raison), std::wstring::npos);
}
