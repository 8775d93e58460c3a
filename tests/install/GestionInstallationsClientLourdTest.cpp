// The installation manager and its worker on a real main loop: events reach the wizard's
// subscriber on the user-interface thread, in order, one per idle pass, even when the worker
// posts them faster than the loop runs; a failing stage ends the worker after its failure
// event; closing waits for the stage in progress (here a real program run by the worker's own
// process launcher). The stages are the test's own: each does the smallest real work that
// drives the worker (events, real programs, a real downloaded file).
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <thread>
#include <vector>

#include "platform/AttenteApplication.h"
#include "platform/ServicesApplication.h"
#include "core/Chaines.h"
#include "core/Exceptions.h"
#include "core/Handle.h"
#include "core/Ressources.h"
#include "install/GestionInstallationsClientLourd.h"
#include "http/EchangeHttp.h"
#include "install/BoucleInstallation.h"
#include "support/CheminsTest.h"
#include "support/Monde.h"
#include "support/SessionsHttpEssai.h"

using namespace norvel;
using namespace norvel::test;
using namespace std::chrono;

namespace {

using IAbonne = IAbonneEvenementInstallationsClientLourd;
class TThreadInstallationEssai;
using TypeEtapeEssai = std::function<void(TThreadInstallationEssai&)>;

// The stages a test gives; an empty one does the default: the shortcut succeeds, no earlier
// version is found, the download and the setup start (the setup runs a real program that ends
// with 0), the client is configured and launched.
struct TypeEtapesEssai {
  TypeEtapeEssai Raccourci, Desinstallation, Telechargement, Installation, Configuration;
};

class TThreadInstallationEssai : public TThreadInstallationClientLourd {
 public:
  TThreadInstallationEssai(TRef<ISessionsClientsHttp> sessionsHttp, TRef<IAbonne> abonne,
                           const TypeDonneesInstallationClientLourd& donnees, TypeEtapesEssai etapes)
      : TThreadInstallationClientLourd(std::move(sessionsHttp), std::move(abonne), donnees),
        FEtapes(std::move(etapes)) {}
  ~TThreadInstallationEssai() override { Arreter(); }

  using TThreadInstallationClientLourd::EchecEtape;
  using TThreadInstallationClientLourd::FSessionsHttp;

  // Runs the test program through the worker's own launcher and answers its exit code.
  DWORD LancerProgramme(const std::wstring& script) {
    TypeRetourExecutable retour;
    FSequenceur.DebutProcessus(FichierBuild(L"tools\\processus_test.exe"), script, L"", CP_UTF8, CP_UTF8, &retour);
    FSequenceur.Boucler(0);
    return retour.CodeRetour;
  }

  std::wstring FichierTelecharge;   // what the download stage produced
  std::wstring NomEcoleVu;          // the worker's own copy, read on its thread

 protected:
  void CreerRaccourciPortail() override {
    NomEcoleVu = FDonnees.NomEcole;
    Etape(FEtapes.Raccourci, [this] { Abonne().RaccourciPortailCree(); });
  }
  void DesinstallerAnciennesVersions() override { Etape(FEtapes.Desinstallation, [] {}); }
  std::wstring TelechargerInstallation() override {
    Etape(FEtapes.Telechargement, [this] { Abonne().TelechargementEnCours(); });
    return FichierTelecharge;
  }
  void InstallerClient(const std::wstring&) override {
    Etape(FEtapes.Installation, [this] {
      Abonne().InstallationEnCours();
      if (const DWORD code = LancerProgramme(L"code 0")) EchecEtape(&IAbonne::EchecInstallation, std::to_wstring(code));
    });
  }
  void ConfigurerEtLancerClient() override {
    Etape(FEtapes.Configuration, [this] {
      Abonne().InstallationTerminee();
      Abonne().LancementTermine();
    });
  }

 private:
  void Etape(const TypeEtapeEssai& donnee, const std::function<void()>& parDefaut) {
    donnee ? donnee(*this) : parDefaut();
  }
  TypeEtapesEssai FEtapes;
};

class TGestionEssai : public TGestionInstallationsClientLourd {
 public:
  using TGestionInstallationsClientLourd::TGestionInstallationsClientLourd;
  TypeEtapesEssai Etapes;
  std::function<void(TThreadInstallationEssai&)> Preparer;
  TThreadInstallationEssai* Thread = nullptr;  // owned by the manager
  TypeDonneesInstallationClientLourd DonneesRecues;

 protected:
  std::unique_ptr<TThreadInstallationClientLourd> CreerThreadInstallation(
      TRef<ISessionsClientsHttp> sessionsHttp, TRef<IAbonne> abonne,
      const TypeDonneesInstallationClientLourd& donnees) override {
    DonneesRecues = donnees;
    auto thread = std::make_unique<TThreadInstallationEssai>(std::move(sessionsHttp), std::move(abonne), donnees, Etapes);
    if (Preparer) Preparer(*thread);
    Thread = thread.get();
    return thread;
  }
};

class GestionInstallations : public testing::Test {
 protected:
  void SetUp() override {
    FAbonne = NouvelObjet<TAbonneEnregistreur>(&FBoucle.Passage);
    FDossier = NouvelObjet<TDossierSpecialFixe>(FTemp.Chemin().wstring() + L"\\");
    FGestion = NouvelObjet<TGestionEssai>(FMachine.Sessions, FDossier, FAbonne);
  }
  void TearDown() override { FGestion->Fermer(); }

  void Lancer() {
    FGestion->LancerInstallation({.Simulation = false,
                                  .CheminInstallation = L"C:\\Client",
                                  .UrlTelechargement = L"http://localhost/setup.exe",
                                  .NomEcole = L"Ecole Victor",
                                  .NomDomaine = L"serveur.ecole.test",
                                  .Port = 21300,
                                  .ServeurEnService = true,
                                  .UrlPortail = L"https://portail.ecole.test/"});
  }

  void AttendreQue(const std::function<bool()>& condition) { FBoucle.AttendreQue(condition); }
  // Until the worker has ended and every call it posted has been delivered.
  void AttendreFinTravailleur() {
    AttendreQue([this] { return FGestion->Thread->Fini() && !FApplication.AppelsEnAttente(); });
  }
  std::vector<TAppel> Appels() const { return FAbonne->Appels; }

  TBoucleInstallation FBoucle;
  TApplicationGraphique& FApplication = FBoucle.Application();
  TMachineSessionsHttp<> FMachine;
  TDossierTemporaire FTemp;
  TRef<TAbonneEnregistreur> FAbonne;
  TRef<TDossierSpecialFixe> FDossier;
  TRef<TGestionEssai> FGestion;
};

}  // namespace

// Each operation, called on a worker, reaches the subscriber on this thread with its text; once
// the box is closed, calls still on their way are dropped.
TEST(AbonnePosteInstallations, ChaqueOperationArriveSurLeThreadPrincipal) {
  struct Cas {
    void (*appeler)(IAbonne&);
    TAppel attendu;
  };
  const Cas cas[] = {
      {[](IAbonne& a) { a.RaccourciPortailCree(); }, {L"RaccourciPortailCree"}},
      {[](IAbonne& a) { a.EchecRaccourciPortail(L"m1"); }, {L"EchecRaccourciPortail", L"m1"}},
      {[](IAbonne& a) { a.DesinstallationEnCours(L"v"); }, {L"DesinstallationEnCours", L"v"}},
      {[](IAbonne& a) { a.EchecDesinstallation(L"m2"); }, {L"EchecDesinstallation", L"m2"}},
      {[](IAbonne& a) { a.TelechargementEnCours(); }, {L"TelechargementEnCours"}},
      {[](IAbonne& a) { a.EchecTelechargement(L"m3"); }, {L"EchecTelechargement", L"m3"}},
      {[](IAbonne& a) { a.InstallationEnCours(); }, {L"InstallationEnCours"}},
      {[](IAbonne& a) { a.EchecInstallation(L"m4"); }, {L"EchecInstallation", L"m4"}},
      {[](IAbonne& a) { a.InstallationTerminee(); }, {L"InstallationTerminee"}},
      {[](IAbonne& a) { a.LancementTermine(); }, {L"LancementTermine"}},
      {[](IAbonne& a) { a.EchecLancement(L"m5"); }, {L"EchecLancement", L"m5"}},
  };
  TBoucleInstallation boucle;
  auto abonne = NouvelObjet<TAbonneEnregistreur>();
  auto boite = std::make_unique<TBoiteAppels>();
  auto poste = NouvelObjet<TAbonnePosteInstallations>(abonne.Get(), boite->Adresse());
  std::thread([&] {
    for (const auto& c : cas) c.appeler(*poste);
  }).join();
  // Nothing runs on the worker itself.
  EXPECT_TRUE(abonne->Appels.empty());
  boucle.AttendreQue([&] { return !boucle.Application().AppelsEnAttente(); });
  std::vector<TAppel> attendu;
  for (const auto& c : cas) attendu.push_back(c.attendu);
  EXPECT_EQ(abonne->Appels, attendu);
  for (const auto& a : abonne->Appels) EXPECT_EQ(a.Thread, GetCurrentThreadId());

  abonne->Appels.clear();
  std::thread([&] { poste->EchecLancement(L"trop tard"); }).join();
  boite.reset();
  boucle.AttendreQue([&] { return !boucle.Application().AppelsEnAttente(); });
  EXPECT_TRUE(abonne->Appels.empty());
}

TEST_F(GestionInstallations, InstallationCompleteEtIconeDuPortail) {
  EXPECT_FALSE(FGestion->EstActif());
  FGestion->Etapes.Desinstallation = [](TThreadInstallationEssai& t) {
    t.Abonne().DesinstallationEnCours(L"Client NORVEL Primaire 2022 (Win64)");
  };
  Lancer();
  EXPECT_TRUE(FGestion->EstActif());
  AttendreFinTravailleur();
  const std::vector<TAppel> attendu = {{L"RaccourciPortailCree"},
                                       {L"DesinstallationEnCours", L"Client NORVEL Primaire 2022 (Win64)"},
                                       {L"TelechargementEnCours"},
                                       {L"InstallationEnCours"},
                                       {L"InstallationTerminee"},
                                       {L"LancementTermine"}};
  EXPECT_EQ(Appels(), attendu);
  EXPECT_EQ(FGestion->Thread->NomEcoleVu, L"Ecole Victor");

  // The icon the shortcut uses: the program's resource, in the default special folder.
  const std::wstring icone = FTemp.Fichier(L"Portail.ico");
  EXPECT_EQ(FGestion->DonneesRecues.FichierIconePortail, icone);
  EXPECT_EQ(FGestion->DonneesRecues.UrlPortail, L"https://portail.ecole.test/");
  std::string contenu;
  {
    THandleFichier f(CreateFileW(icone.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(f);
    char tampon[65536];
    DWORD lus = 0;
    while (ReadFile(f.Get(), tampon, sizeof tampon, &lus, nullptr) && lus > 0) contenu.append(tampon, lus);
  }
  EXPECT_TRUE(contenu == DonneesRessource(L"PORTAILICONE"));
}

TEST_F(GestionInstallations, EvenementsPlusRapidesQueLaBoucleUnParPassage) {
  constexpr int Versions = 30;
  FGestion->Etapes.Desinstallation = [](TThreadInstallationEssai& t) {
    for (int i = 0; i < Versions; ++i) t.Abonne().DesinstallationEnCours(L"Version " + std::to_wstring(i));
  };
  Lancer();
  // The main thread does not run its loop while the worker posts everything: every wake-up
  // is queued before the first idle pass.
  while (!FGestion->Thread->Fini()) Sleep(10);
  AttendreFinTravailleur();

  std::vector<TAppel> attendu = {{L"RaccourciPortailCree"}};
  for (int i = 0; i < Versions; ++i) attendu.push_back({L"DesinstallationEnCours", L"Version " + std::to_wstring(i)});
  for (const wchar_t* op : {L"TelechargementEnCours", L"InstallationEnCours", L"InstallationTerminee",
                            L"LancementTermine"})
    attendu.push_back({op});
  const auto appels = Appels();
  ASSERT_EQ(appels, attendu);
  for (size_t i = 0; i < appels.size(); ++i) {
    EXPECT_EQ(appels[i].Thread, GetCurrentThreadId());
    if (i > 0) {
      EXPECT_GT(appels[i].Passage, appels[i - 1].Passage) << "deux événements dans un même passage";
    }
  }
}

TEST_F(GestionInstallations, UneEtapeEnEchecTermineLeTravailleur) {
  const auto echecTelechargement = [](TThreadInstallationEssai& t) {
    t.Abonne().TelechargementEnCours();
    t.EchecEtape(&IAbonne::EchecTelechargement, L"Erreur HTTP 404 : Not Found");
  };
  const auto echecSetup = [](TThreadInstallationEssai& t) {
    t.Abonne().InstallationEnCours();
    if (const DWORD code = t.LancerProgramme(L"code 3")) t.EchecEtape(&IAbonne::EchecInstallation, L"code " + std::to_wstring(code));
  };
  const auto erreurCatalogue = [](TThreadInstallationEssai&) { throw EOvalis(L"Catalogue des produits illisible"); };
  const auto echecRaccourci = [](TThreadInstallationEssai& t) {
    t.Abonne().EchecRaccourciPortail(L"Accès refusé");
  };
  const auto echecLancement = [](TThreadInstallationEssai& t) {
    t.Abonne().InstallationTerminee();
    t.EchecEtape(&IAbonne::EchecLancement, L"Client introuvable");
  };
  struct Cas {
    const char* nom;
    TypeEtapesEssai etapes;
    std::vector<TAppel> attendu;
  };
  const std::vector<Cas> cas = {
      {"téléchargement",
       {.Telechargement = echecTelechargement},
       {{L"RaccourciPortailCree"}, {L"TelechargementEnCours"}, {L"EchecTelechargement", L"Erreur HTTP 404 : Not Found"}}},
      {"setup",
       {.Installation = echecSetup},
       {{L"RaccourciPortailCree"}, {L"TelechargementEnCours"}, {L"InstallationEnCours"}, {L"EchecInstallation", L"code 3"}}},
      // An error no stage reported still reaches the window as the failure of its stage.
      {"catalogue", {.Desinstallation = erreurCatalogue}, {{L"RaccourciPortailCree"}, {L"EchecDesinstallation", L"Catalogue des produits illisible"}}},
      // The shortcut's failure does not stop the installation.
      {"raccourci",
       {.Raccourci = echecRaccourci},
       {{L"EchecRaccourciPortail", L"Accès refusé"}, {L"TelechargementEnCours"}, {L"InstallationEnCours"},
        {L"InstallationTerminee"}, {L"LancementTermine"}}},
      {"lancement",
       {.Configuration = echecLancement},
       {{L"RaccourciPortailCree"}, {L"TelechargementEnCours"}, {L"InstallationEnCours"}, {L"InstallationTerminee"},
        {L"EchecLancement", L"Client introuvable"}}},
  };
  for (const auto& c : cas) {
    SCOPED_TRACE(c.nom);
    FAbonne->Appels.clear();
    FGestion->Fermer();
    FGestion = NouvelObjet<TGestionEssai>(FMachine.Sessions, FDossier, FAbonne);
    FGestion->Etapes = c.etapes;
    Lancer();
    AttendreFinTravailleur();
    EXPECT_EQ(Appels(), c.attendu);
  }
}

TEST_F(GestionInstallations, LeFichierTelechargeEstSupprimeALaFin) {
  const std::wstring fichier = FTemp.Fichier(L"Install_NVLPRIMclient.exe");
  FGestion->Etapes.Telechargement = [&](TThreadInstallationEssai& t) {
    t.Abonne().TelechargementEnCours();
    THandleFichier f(CreateFileW(fichier.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    t.FichierTelecharge = fichier;
  };
  FGestion->Etapes.Installation = [&](TThreadInstallationEssai& t) {
    EXPECT_NE(GetFileAttributesW(fichier.c_str()), INVALID_FILE_ATTRIBUTES);
    t.EchecEtape(&IAbonne::EchecInstallation, L"signature invalide");
  };
  Lancer();
  AttendreFinTravailleur();
  EXPECT_EQ(Appels().back(), (TAppel{L"EchecInstallation", L"signature invalide"}));
  EXPECT_EQ(GetFileAttributesW(fichier.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(GestionInstallations, LeTravailleurTelechargeParSonPropreServiceDeSessions) {
  FMachine.Sessions->AjouterUrlTest(L"http://essai.test/");
  const std::wstring url = MondePartage().Url("http", L"/setup-par-le-travailleur?corps=setup");
  ISessionsClientsHttp* sessionsTravailleur = nullptr;
  std::string recu;
  FGestion->Etapes.Telechargement = [&](TThreadInstallationEssai& t) {
    t.Abonne().TelechargementEnCours();
    sessionsTravailleur = t.FSessionsHttp.Get();
    // The duplicate's sessions are made and used on the worker's thread.
    const TRef<IAttente> attente = AttenteBloquante();
    TEchange echange(t.FSessionsHttp->GetSessionAvecGestionProxy(), url, attente.Get());
    echange.Requete.Executer();
    recu = echange.Requete.Reponse();
  };
  Lancer();
  AttendreFinTravailleur();
  EXPECT_EQ(recu, "setup");
  // Its own object, on the same configuration.
  ASSERT_NE(sessionsTravailleur, nullptr);
  EXPECT_NE(sessionsTravailleur, static_cast<ISessionsClientsHttp*>(FMachine.Sessions.Get()));
  EXPECT_EQ(FGestion->Thread->FSessionsHttp->GetTabUrlTestPlusBuiltIn(), FMachine.Sessions->GetTabUrlTestPlusBuiltIn());
}

TEST_F(GestionInstallations, FermerAttendLaFinDeLEtapeEnCours) {
  std::atomic<bool> setupFini{false}, configurationLancee{false};
  steady_clock::time_point debutSetup;
  FGestion->Etapes.Configuration = [&](TThreadInstallationEssai&) { configurationLancee = true; };
  FGestion->Etapes.Installation = [&](TThreadInstallationEssai& t) {
    t.Abonne().InstallationEnCours();
    debutSetup = steady_clock::now();
    t.LancerProgramme(L"attendre 1500");
    setupFini = true;
  };
  Lancer();
  AttendreQue([&] { return !Appels().empty() && Appels().back().Operation == L"InstallationEnCours"; });
  ASSERT_FALSE(setupFini);

  FGestion->Fermer();
  // The setup program ran to its end; the worker stopped at the next check.
  EXPECT_TRUE(setupFini);
  EXPECT_GE(steady_clock::now() - debutSetup, milliseconds(1400));
  EXPECT_FALSE(configurationLancee);
  EXPECT_FALSE(FGestion->EstActif());
  // Nothing more reaches the window.
  const size_t avant = Appels().size();
  while (FApplication.ExecuterAppelsEnFile()) {
  }
  EXPECT_EQ(Appels().size(), avant);
}

TEST_F(GestionInstallations, IconeImpossibleAucunTravailleur) {
  FDossier->SetDossierParDefaut(L"C:\\dossier|invalide\\");
  try {
    Lancer();
    ADD_FAILURE() << "aucune erreur";
  } catch (const EOvalis& e) {
    EXPECT_EQ(e.Message(), L"Caractères non valides dans le chemin");
  }
  EXPECT_EQ(FGestion->Thread, nullptr);
  EXPECT_FALSE(FGestion->EstActif());

  // A folder that does not exist: the write's own error, and still no worker.
  FDossier->SetDossierParDefaut(FTemp.Fichier(L"absent\\"));
  EXPECT_THROW(Lancer(), EOvalis);
  EXPECT_EQ(FGestion->Thread, nullptr);
}
