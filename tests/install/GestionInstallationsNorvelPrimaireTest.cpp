// The whole installation as the wizard runs it, on a real main loop: the manager's worker with
// its real stages against the stand-in world (download server, signed stand-in setup,
// uninstaller and client), the prefix's own list of installed programs and a desktop of the
// test. Each run is checked through the wizard's calls and what it left on the machine.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "core/Chaines.h"
#include "core/Com.h"
#include "install/BoucleInstallation.h"
#include "install/BureauEssai.h"
#include "install/ClientTemoin.h"
#include "install/GestionInstallationsNorvelPrimaire.h"
#include "install/TelechargementSetup.h"
#include "support/CheminsTest.h"
#include "support/EnvironnementTest.h"
#include "support/Monde.h"
#include "support/SessionsHttpEssai.h"

using namespace norvel;
using namespace norvel::test;

namespace {

namespace fs = std::filesystem;

constexpr const wchar_t* Ecole = L"École du Centre";
constexpr const wchar_t* Portail = L"https://centre.norvel-primaire.test/np/portail.html?ecole=centre&lang=fr";

std::wstring UrlTelechargement(const std::wstring& chemin) {
  return MondePartage({.Telechargements = CheminLinuxDepuisWindows(FichierBuild(L"setup-signe"))})
      .Url("http", L"/telechargement/" + chemin);
}

std::wstring Variable(const wchar_t* nom) {
  wchar_t valeur[4096] = {};
  GetEnvironmentVariableW(nom, valeur, 4096);
  return valeur;
}

void EcrireValeurMachine(const std::wstring& cle, DWORD type, const void* donnees, DWORD taille) {
  HKEY ouverte = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, cle.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &ouverte, nullptr),
            ERROR_SUCCESS);
  RegSetValueExW(ouverte, L"UninstallString", 0, type, static_cast<const BYTE*>(donnees), taille);
  RegCloseKey(ouverte);
}

class GestionInstallationsNorvelPrimaire : public testing::Test {
 protected:
  void SetUp() override {
    EffacerClientsCatalogue();
    fs::create_directories(FBureau);
  }
  void TearDown() override {
    if (FGestion) FGestion->Fermer();
    EffacerClientsCatalogue();
  }

  // The school's data as the wizard gives them, with its setup at that address.
  TypeDonneesInstallationClientLourd Donnees(const std::wstring& url) const {
    return {.Simulation = false,
            .CheminInstallation = FClient,
            .UrlTelechargement = url,
            .NomEcole = Ecole,
            .NomDomaine = L"serveur.centre.test",
            .Port = 21300,
            .ServeurEnService = true,
            .UrlPortail = Portail};
  }

  // Starts the installation as the wizard does once the terms are accepted, and runs the main
  // loop until the wizard has been told the installation's end (success or failure).
  void Installer(const std::wstring& url) {
    FGestion = NouvelObjet<TGestionInstallationsNorvelPrimaire>(FSessions.Sessions, FDossierSpecial, FAbonne);
    FGestion->LancerInstallation(Donnees(url));
    FBoucle.AttendreQue(
        [this] {
          if (FAbonne->Appels.empty()) return false;
          const std::wstring& derniere = FAbonne->Appels.back().Operation;
          return derniere == L"LancementTermine" || (CommencePar(derniere, L"Echec") && derniere != L"EchecRaccourciPortail");
        },
        std::chrono::seconds(120));
    // Closing waits for the worker's end, and the removal of the downloaded file.
    FGestion->Fermer();
  }

  std::vector<TAppel> Appels() const { return FAbonne->Appels; }

  TInitialisationCom FCom;
  TVariablesInstallation FVariables;
  TBoucleInstallation FBoucle;
  // The download goes direct, through the worker's duplicate of this service.
  TMachineSessionsHttp<> FSessions;
  TDossierTemporaire FTemp;
  const std::wstring FBureau = FTemp.Fichier(L"Bureau");
  const std::wstring FClient = FTemp.Fichier(L"Client NORVEL");
  TBureauIsole FBureauIsole{FBureau};
  TRef<TAbonneEnregistreur> FAbonne = NouvelObjet<TAbonneEnregistreur>(&FBoucle.Passage);
  TRef<TDossierSpecialFixe> FDossierSpecial = NouvelObjet<TDossierSpecialFixe>(FTemp.Chemin().wstring() + L"\\");
  TRef<TGestionInstallationsNorvelPrimaire> FGestion;
};

}  // namespace

TEST_F(GestionInstallationsNorvelPrimaire, EarlierVersionReplacedAndClientLaunched) {
  const TCopiesSetup ancienne(L"setup-signe-win32"), nouvelle(L"setup-signe");
  const std::wstring dossierAncien = FTemp.Fichier(L"Ancien client");
  const TypeRetourExecutable retour = InstallerCopie(ancienne.Setup(L"ovalis"), dossierAncien);
  ASSERT_EQ(retour.CodeRetour, 0u) << VersUtf8(retour.SortieErr);

  Installer(UrlTelechargement(L"SetupNorvelPrimaire-ovalis.exe"));

  const std::vector<TAppel> attendu = {{L"RaccourciPortailCree"},
                                       {L"DesinstallationEnCours", L"Client NORVEL Primaire 2022 (Win32)"},
                                       {L"TelechargementEnCours"},
                                       {L"InstallationEnCours"},
                                       {L"InstallationTerminee"},
                                       {L"LancementTermine"}};
  EXPECT_EQ(Appels(), attendu);

  // The shortcut on the desktop, to the portal, with the icon the manager wrote.
  const TLienLu lien = LireLien(FBureau + L"\\École du Centre - Portail NORVEL Primaire.lnk");
  SignalerCibleSousWine();
  EXPECT_EQ(lien.Cible, CibleAttendue(Portail));
  EXPECT_EQ(lien.FichierIcone, FTemp.Fichier(L"Portail.ico"));

  // The earlier version is gone, the new one is installed where the assistant said.
  EXPECT_FALSE(UninstallString(ancienne.Cle).has_value());
  EXPECT_FALSE(fs::exists(dossierAncien));
  const auto commande = UninstallString(nouvelle.Cle);
  ASSERT_TRUE(commande.has_value());
  EXPECT_TRUE(CommencePar(*commande, L"\"" + FClient + L"\\")) << VersUtf8(*commande);
  // Its setup knew about the removal before it; the program's own environment, which its other
  // threads read, was never changed.
  EXPECT_NE(LignesDuJournal(DernierJournalSetup(DossierTemporaireUtilisateur())).find(L"OVALIS_IS_UNINSTALL=1"),
            std::wstring::npos);
  for (const wchar_t* nom : {L"OVALIS_IS_UNINSTALL", L"OVALIS_IS_FICHIERLOG", L"OVALIS_IS_AGENT"})
    EXPECT_EQ(Variable(nom), L"") << VersUtf8(nom);

  // The client was opened with the connection file.
  const std::string recu = ConnexionRecue(FClient);
  const size_t finLigne = recu.find("\r\n");
  ASSERT_NE(finLigne, std::string::npos) << recu;
  EXPECT_TRUE(FinitPar(DepuisUtf8(recu.substr(0, finLigne)), L".ncprim")) << recu;
  EXPECT_EQ(recu.substr(finLigne + 2), "\xEF\xBB\xBF" + VersUtf8(L"Serveur=École du Centre:serveur.centre.test:21300:TestConnexion"));

  // The downloaded setup went with the worker.
  EXPECT_FALSE(fs::exists(DossierTemporaireUtilisateur() + L"SetupNorvelPrimaire-ovalis.exe"));

  // Its progress reached the window on the way, never backwards, up to the whole file.
  const auto& progressions = FAbonne->Progressions;
  ASSERT_FALSE(progressions.empty());
  const uint64_t taille = fs::file_size(FichierBuild(L"setup-signe\\SetupNorvelPrimaire-ovalis.exe"));
  EXPECT_EQ(progressions.back(), std::make_pair(taille, taille));
  for (size_t i = 1; i < progressions.size(); ++i) EXPECT_GE(progressions[i].first, progressions[i - 1].first) << i;
}

TEST_F(GestionInstallationsNorvelPrimaire, ClosingDuringTheDownloadStopsItAndLeavesNoFile) {
  // A trickle of the setup that would take far longer than the test.
  const std::wstring url = UrlTelechargement(L"~bloc=1024/~lent=200/SetupNorvelPrimaire-ovalis.exe");
  FGestion = NouvelObjet<TGestionInstallationsNorvelPrimaire>(FSessions.Sessions, FDossierSpecial, FAbonne);
  FGestion->LancerInstallation(Donnees(url));
  FBoucle.AttendreQue(
      [this] {
        for (const auto& [recus, total] : FAbonne->Progressions)
          if (recus > 0) return true;
        return false;
      },
      std::chrono::seconds(60));
  const std::wstring partiel = DossierTemporaireUtilisateur() + L"SetupNorvelPrimaire-ovalis.exe";
  EXPECT_TRUE(fs::exists(partiel)) << "the download writes as it receives";

  const auto debut = std::chrono::steady_clock::now();
  FGestion->Fermer();
  // The window's closing ends the download at once, not once the trickle is over.
  EXPECT_LT(std::chrono::steady_clock::now() - debut, std::chrono::seconds(5));
  EXPECT_FALSE(fs::exists(partiel));
  EXPECT_EQ(Appels(), (std::vector<TAppel>{{L"RaccourciPortailCree"}, {L"TelechargementEnCours"}}));
}

TEST_F(GestionInstallationsNorvelPrimaire, EachFailureShownUnderItsStepAndTheInstallationStops) {
  const TCopiesSetup copies(L"setup-signe");
  const std::wstring signe = L"SetupNorvelPrimaire-ovalis.exe";
  const TAppel raccourci{L"RaccourciPortailCree"}, telechargement{L"TelechargementEnCours"},
      installation{L"InstallationEnCours"}, terminee{L"InstallationTerminee"};
  struct Cas {
    const char* nom;
    std::wstring chemin;                 // on the download server
    std::function<void()> preparer;      // the machine before the run
    std::vector<TAppel> attendu;         // the last call's argument is the beginning of its message
    bool setupLance;
  };
  const DWORD nombre = 1;
  const std::vector<Cas> cas = {
      {"missing setup", L"absent.exe", nullptr,
       {raccourci, telechargement, {L"EchecTelechargement", L"Erreur HTTP 404 : Not Found"}}, false},
      {"wrong content type", L"~type-html/" + signe, nullptr,
       {raccourci, telechargement,
        {L"EchecTelechargement", L"TypeMime de SetupNorvelPrimaire-ovalis.exe invalide : text/html; charset=utf-8"}},
       false},
      {"unsigned setup", L"SetupNorvelPrimaire-non-signe.exe", nullptr,
       {raccourci, telechargement, installation,
        {L"EchecInstallation", L"Erreur de la vérification de la signature : La vérification de la signature "
                               L"numérique a échoué (WinVerifyTrust, TRUST_E_NOSIGNATURE + 0x"}},
       false},
      {"another publisher", L"SetupNorvelPrimaire-autre-editeur.exe", nullptr,
       {raccourci, telechargement, installation,
        {L"EchecInstallation", L"Erreur de la vérification de la signature : Nom du certificat = \"C=FR, "
                               L"O=Editions Tiers, CN=EDITIONS TIERS\""}},
       false},
      {"no program for .ncprim", signe,
       [] { SetEnvironmentVariableW(L"NORVEL_SETUP_SANS_ASSOCIATION", L"1"); },
       {raccourci, telechargement, installation, terminee,
        {L"EchecLancement", L"Impossible de lancer le client NORVEL Primaire"}},
       true},
      {"uninstaller fails", signe,
       [] {
         const std::wstring commande = L"\"" + FichierBuild(L"tools\\processus_test.exe") + L"\" code 5 ignorer-suite";
         EcrireValeurMachine(CleVersionInstallee(CatalogueProduits()[0].Guid, L"Win64"), REG_SZ, commande.c_str(),
                             static_cast<DWORD>((commande.size() + 1) * sizeof(wchar_t)));
       },
       {raccourci, {L"DesinstallationEnCours", L"Client NORVEL Primaire 2020 (Win32)"},
        {L"EchecDesinstallation", L"Erreur code=5 \"\""}},
       false},
      // An error reading the list of installed programs is shown under its step, never left
      // behind an endless busy indicator.
      {"unreadable uninstall command", signe,
       [&nombre] {
         EcrireValeurMachine(CleVersionInstallee(CatalogueProduits()[3].Guid, L"Win32"), REG_DWORD, &nombre,
                             sizeof nombre);
       },
       {raccourci, {L"EchecDesinstallation", L"Type de données incorrect pour 'UninstallString'"}}, false},
  };
  for (const auto& c : cas) {
    SCOPED_TRACE(c.nom);
    EffacerClientsCatalogue();
    FAbonne->Appels.clear();
    SetEnvironmentVariableW(L"NORVEL_SETUP_SANS_ASSOCIATION", nullptr);
    if (c.preparer) c.preparer();

    Installer(UrlTelechargement(c.chemin));

    std::vector<TAppel> appels = Appels();
    ASSERT_EQ(appels.size(), c.attendu.size()) << testing::PrintToString(appels);
    const TAppel derniere = appels.back();
    appels.pop_back();
    EXPECT_EQ(appels, std::vector<TAppel>(c.attendu.begin(), c.attendu.end() - 1));
    EXPECT_EQ(derniere.Operation, c.attendu.back().Operation);
    EXPECT_TRUE(CommencePar(derniere.Argument, c.attendu.back().Argument)) << VersUtf8(derniere.Argument);
    EXPECT_EQ(UninstallString(copies.Cle).has_value(), c.setupLance);
    EXPECT_FALSE(fs::exists(DossierTemporaireUtilisateur() + NomFichierTelechargement(c.chemin)));
  }
}
