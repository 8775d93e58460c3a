// Download of the setup from the stand-in download server (tools/monde/telechargements.py),
// serving the signed copies of the stand-in setup and the world's test pattern: the local name,
// the status and content type checks, the file written whole, resumed after cuts (direct and
// through Squid), the free space, the progress and the stop.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "core/Chaines.h"
#include "core/Exceptions.h"
#include "core/Format.h"
#include "http/EchangeHttp.h"
#include "http/ExceptionWinhttp.h"
#include "http/InterruptionRequete.h"
#include "install/TelechargementSetup.h"
#include "support/CheminsTest.h"
#include "support/Monde.h"

using namespace norvel;
using namespace norvel::test;

namespace {

namespace fs = std::filesystem;

// The world of the installation tests: its download server gives the signed copies.
TMonde& MondeTelechargements() {
  return MondePartage({.Telechargements = CheminLinuxDepuisWindows(FichierBuild(L"setup-signe"))});
}

std::wstring UrlTelechargement(const std::wstring& chemin) {
  return MondeTelechargements().Url("http", L"/telechargement/" + chemin);
}

// Attempts a few milliseconds apart: the tests cut many downloads.
TypeOptionsTelechargement OptionsRapides() {
  TypeOptionsTelechargement options;
  options.PausesReprise = {20, 20, 20};
  return options;
}

std::wstring Message(const std::function<void()>& action) {
  try {
    action();
  } catch (const EOvalis& e) {
    return e.Message();
  }
  return L"";
}

}  // namespace

TEST(NomFichierTelechargement, AfterTheLastSlashWithoutQueryNorFragment) {
  struct Cas {
    const wchar_t* url;
    const wchar_t* nom;
  };
  const Cas cas[] = {
      {L"http://h/a/b/Install_NVLPRIMclient_FR_2023.0.0.204_win64.exe", L"Install_NVLPRIMclient_FR_2023.0.0.204_win64.exe"},
      {L"http://h/dl/Setup.exe?jeton=a/b&v=2", L"Setup.exe"},
      {L"http://h/dl/Setup.exe#partie", L"Setup.exe"},
      {L"https://h:8443/Setup%20NP.exe", L"Setup%20NP.exe"},
      // A backslash never leads the file out of the temporary folder.
      {L"http://h/dl/..\\..\\Demarrage\\Setup.exe", L"Setup.exe"},
      // Names that are no plain file of the folder give the fixed one.
      {L"http://h/", L"SetupClientNorvelPrimaire.exe"},
      {L"http://h/dl/Setup.exe:cache", L"SetupClientNorvelPrimaire.exe"},
      {L"http://h/dl/NUL", L"SetupClientNorvelPrimaire.exe"},
      {L"http://h/dl/con.exe", L"SetupClientNorvelPrimaire.exe"},
      {L"http://h/dl/Com1 .exe", L"SetupClientNorvelPrimaire.exe"},
      {L"http://h/dl/LPT9", L"SetupClientNorvelPrimaire.exe"},
      {L"http://h/dl/Setup.exe.", L"SetupClientNorvelPrimaire.exe"},
      {L"http://h/dl/..", L"SetupClientNorvelPrimaire.exe"},
      {L"http://h/dl/Set\tup.exe", L"SetupClientNorvelPrimaire.exe"},
      {L"http://h/dl/Set|up.exe", L"SetupClientNorvelPrimaire.exe"},
      // Only whole device names: these are ordinary files.
      {L"http://h/dl/Console.exe", L"Console.exe"},
      {L"http://h/dl/COM10.exe", L"COM10.exe"},
  };
  for (const auto& c : cas) EXPECT_EQ(NomFichierTelechargement(c.url), c.nom) << VersUtf8(c.url);
}

TEST(DossierTemporaireUtilisateur, LongFormWithItsSeparator) {
  const std::wstring dossier = DossierTemporaireUtilisateur();
  EXPECT_EQ(dossier.back(), L'\\');
  EXPECT_EQ(dossier.find(L'~'), std::wstring::npos) << VersUtf8(dossier);
  EXPECT_TRUE(fs::is_directory(dossier));
}

TEST(TelechargerFichier, TheWholeSetupOrTheReasonWhyNot) {
  const std::string original = LireOctets(FichierBuild(L"setup-signe\\SetupNorvelPrimaire-ovalis.exe"));
  ASSERT_GT(original.size(), 10000u);
  TSessionClientsHttp session({L"NORVEL essais", {WINHTTP_ACCESS_TYPE_NO_PROXY}});
  TDossierTemporaire dossier;
  struct Cas {
    const char* nom;
    std::wstring chemin;
    std::wstring erreur;  // empty: the file arrives whole
  };
  const Cas cas[] = {
      {"found", L"SetupNorvelPrimaire-ovalis.exe", L""},
      {"partial content is a success", L"~statut=206/SetupNorvelPrimaire-ovalis.exe", L""},
      {"query not sent", L"SetupNorvelPrimaire-ovalis.exe?jeton=secret", L""},
      // Cut at half its announced length: the rest is asked for, and the file is whole.
      {"cut short, resumed", L"~tronque/SetupNorvelPrimaire-ovalis.exe", L""},
      {"missing", L"absent.exe", L"Erreur HTTP 404 : Not Found"},
      {"wrong type", L"~type-html/SetupNorvelPrimaire-ovalis.exe",
       L"TypeMime de SetupNorvelPrimaire-ovalis.exe invalide : text/html; charset=utf-8"},
      {"type with a parameter", L"~type-parametre/SetupNorvelPrimaire-ovalis.exe",
       L"TypeMime de SetupNorvelPrimaire-ovalis.exe invalide : application/octet-stream; charset=binary"},
  };
  for (const auto& c : cas) {
    SCOPED_TRACE(c.nom);
    const std::wstring fichier = dossier.Fichier(L"SetupNorvelPrimaire-ovalis.exe");
    fs::remove(fichier);
    EXPECT_EQ(Message([&] { TelechargerFichier(session, UrlTelechargement(c.chemin), fichier, OptionsRapides()); }),
              c.erreur);
    if (c.erreur.empty()) {
      EXPECT_TRUE(LireOctets(fichier) == original) << "content differs";
    } else {
      EXPECT_FALSE(fs::exists(fichier)) << "nothing is written for a refused answer";
    }
  }

  // The server saw the path alone.
  const TRef<IAttente> attente = AttenteBloquante();
  TEchange journal(session, MondeTelechargements().Url("http", L"/__monde/journal"), attente.Get());
  journal.Requete.Executer();
  EXPECT_EQ(journal.Requete.Reponse().find("jeton"), std::string::npos);

  // A file that cannot be made: the system's error.
  const std::wstring erreur = Message(
      [&] { TelechargerFichier(session, UrlTelechargement(L"SetupNorvelPrimaire-ovalis.exe"), dossier.Fichier(L"absent\\x.exe")); });
  EXPECT_TRUE(CommencePar(erreur, L"Erreur interne (CreateFile, 0x00000003) : ")) << VersUtf8(erreur);
}

namespace {

constexpr size_t TailleMotif = 8 * 1024 * 1024;
// A cut at 40 %.
constexpr size_t Coupure = TailleMotif * 2 / 5;

// A text member of one line of the server's journal (its first occurrence: the request's own
// members come before its headers), unescaped; empty when absent.
std::string ValeurJournal(const std::string& ligne, const std::string& nom) {
  const std::string cle = "\"" + nom + "\": \"";
  size_t i = ligne.find(cle);
  if (i == std::string::npos) return {};
  std::string valeur;
  for (i += cle.size(); i < ligne.size() && ligne[i] != '"'; ++i) valeur += ligne[i] == '\\' ? ligne[++i] : ligne[i];
  return valeur;
}

// One road to the download server: direct, or through Squid (which only knows internet.test).
struct TRoute {
  const char* Nom;
  bool ParSquid;
};

class TelechargementRepris : public testing::TestWithParam<TRoute> {
 protected:
  TMonde& Monde() {
    return GetParam().ParSquid
               ? MondePartage({.Squid = true, .Telechargements = CheminLinuxDepuisWindows(FichierBuild(L"setup-signe"))})
               : MondeTelechargements();
  }
  std::unique_ptr<TSessionClientsHttp> Session() {
    if (!GetParam().ParSquid)
      return std::make_unique<TSessionClientsHttp>(
          TypeInfoCreationSessionClientsHttp{L"NORVEL essais", {WINHTTP_ACCESS_TYPE_NO_PROXY}});
    return std::make_unique<TSessionClientsHttp>(TypeInfoCreationSessionClientsHttp{
        L"NORVEL essais", {WINHTTP_ACCESS_TYPE_NAMED_PROXY, Monde().AdresseProxy("squid_ouvert"), L""}});
  }
  std::wstring Url(const std::wstring& chemin) {
    return Monde().Url("http", L"/telechargement/" + chemin, GetParam().ParSquid ? L"internet.test" : L"localhost");
  }
  // The journal lines of this road's world for one download path, oldest first.
  std::vector<std::string> Requetes(const std::wstring& chemin) {
    TSessionClientsHttp session({L"NORVEL essais", {WINHTTP_ACCESS_TYPE_NO_PROXY}});
    const TRef<IAttente> attente = AttenteBloquante();
    TEchange journal(session, Monde().Url("http", L"/__monde/journal"), attente.Get());
    journal.Requete.Executer();
    std::vector<std::string> requetes;
    const std::string& lignes = journal.Requete.Reponse();
    for (size_t debut = 0, fin; debut < lignes.size(); debut = fin + 1) {
      fin = std::min(lignes.find('\n', debut), lignes.size());
      const std::string ligne = lignes.substr(debut, fin - debut);
      if (ValeurJournal(ligne, "chemin") == "/telechargement/" + VersUtf8(chemin)) requetes.push_back(ligne);
    }
    return requetes;
  }
  TDossierTemporaire FDossier;
};

TEST_P(TelechargementRepris, ApresUneCoupureOuLaRaisonDeLEchec) {
  struct TCas {
    const char* Nom;
    std::wstring Defauts;           // before the file's name
    uint64_t Origine;               // where in the pattern the file that arrives starts
    size_t Requetes;                // as the server counts them
    const char* Garde;              // the validator the resume presents: "ETag", "Last-Modified", none
    bool Repris;                    // the second answer continues the first (206)
  };
  const std::wstring coupe = Format(L"~coupe=%d/", {Coupure});
  const TCas cas[] = {
      {"cut at 40 % resumes", coupe, 0, 2, "ETag", true},
      {"without ETag, the date guards the range", coupe + L"~sans-etag/", 0, 2, "Last-Modified", true},
      {"a server that ignores ranges sends it all again", coupe + L"~sans-plages/", 0, 2, "ETag", false},
      {"a file changed meanwhile arrives whole, new", coupe + L"~change/", uint64_t{1} << 32, 2, "ETag", false},
      {"no Content-Length", L"~sans-longueur/", 0, 1, nullptr, false},
  };
  const std::unique_ptr<TSessionClientsHttp> session = Session();
  for (const TCas& c : cas) {
    SCOPED_TRACE(c.Nom);
    // A path of its own per case and road: the server counts the requests of each.
    const std::wstring chemin = Format(L"~motif=%d/%s~essai=%s-%d/grand.exe",
                                       {TailleMotif, c.Defauts, DepuisUtf8(GetParam().Nom), static_cast<int>(&c - cas)});
    const std::wstring fichier = FDossier.Fichier(L"grand.exe");
    std::vector<std::pair<uint64_t, uint64_t>> progression;
    TypeOptionsTelechargement options = OptionsRapides();
    options.Progression = [&](uint64_t recus, uint64_t total) { progression.emplace_back(recus, total); };

    ASSERT_EQ(Message([&] { TelechargerFichier(*session, Url(chemin), fichier, options); }), L"");
    const std::string recu = LireOctets(fichier);
    ASSERT_EQ(recu.size(), TailleMotif);
    EXPECT_TRUE(recu == MotifMonde(c.Origine, TailleMotif)) << "the file differs from the server's";

    const std::vector<std::string> requetes = Requetes(chemin);
    ASSERT_EQ(requetes.size(), c.Requetes);
    EXPECT_EQ(ValeurJournal(requetes[0], "Range"), "");
    if (c.Requetes == 2) {
      // The rest from where the file stopped: what the cut lost in flight, at most one buffer,
      // is all that comes twice.
      const std::string plage = ValeurJournal(requetes[1], "Range");
      ASSERT_TRUE(CommencePar(DepuisUtf8(plage), L"bytes=")) << plage;
      const uint64_t debut = std::stoull(plage.substr(6));
      EXPECT_GT(debut, 0u);
      EXPECT_LE(debut, Coupure);
      EXPECT_LE(Coupure - debut, TailleTamponLectureHttp);
      EXPECT_NE(ValeurJournal(requetes[1], "If-Range"), "") << c.Garde;
      EXPECT_EQ(ValeurJournal(requetes[1], "If-Range").front() == '"', std::string(c.Garde) == "ETag");
    }
    // Progress: known total, never backwards unless the file starts again, ending complete.
    ASSERT_FALSE(progression.empty());
    EXPECT_EQ(progression.back(), std::make_pair(uint64_t{TailleMotif}, uint64_t{TailleMotif}));
    if (c.Repris || c.Requetes == 1) {
      for (size_t i = 1; i < progression.size(); ++i) EXPECT_GE(progression[i].first, progression[i - 1].first) << i;
    }
    fs::remove(fichier);
  }
}

TEST_P(TelechargementRepris, TroisCoupuresDeSuiteEchouentSansLaisserDeFichier) {
  const std::wstring chemin = Format(L"~motif=%d/~coupe-toujours=1000000/~essai=%s/grand.exe", {TailleMotif, DepuisUtf8(GetParam().Nom)});
  const std::wstring fichier = FDossier.Fichier(L"grand.exe");
  const std::unique_ptr<TSessionClientsHttp> session = Session();
  try {
    TelechargerFichier(*session, Url(chemin), fichier, OptionsRapides());
    ADD_FAILURE() << "un fichier coupé à chaque essai a été accepté";
  } catch (const EExceptionWinhttp& e) {
    EXPECT_EQ(e.Code(), static_cast<DWORD>(ERROR_WINHTTP_CONNECTION_ERROR)) << e.what();
  }
  // The first request and one per pause, each taking up where the last stopped.
  const std::vector<std::string> requetes = Requetes(chemin);
  ASSERT_EQ(requetes.size(), 4u);
  for (size_t i = 1; i < requetes.size(); ++i) EXPECT_NE(ValeurJournal(requetes[i], "Range"), ValeurJournal(requetes[i - 1], "Range"));
  EXPECT_FALSE(fs::exists(fichier));
}

INSTANTIATE_TEST_SUITE_P(Routes, TelechargementRepris,
                         testing::Values(TRoute{"direct", false}, TRoute{"squid", true}),
                         [](const testing::TestParamInfo<TRoute>& info) { return std::string(info.param.Nom); });

TEST(TelechargerFichier, EspaceDisqueInsuffisantAvantLePremierOctet) {
  TSessionClientsHttp session({L"NORVEL essais", {WINHTTP_ACCESS_TYPE_NO_PROXY}});
  TDossierTemporaire dossier;
  const std::wstring fichier = dossier.Fichier(L"geant.exe");
  // A setup announced at 2^60 bytes: no volume holds it.
  const std::wstring message = Message([&] {
    TelechargerFichier(session, UrlTelechargement(L"~annonce=1152921504606846976/SetupNorvelPrimaire-ovalis.exe"), fichier,
                       OptionsRapides());
  });
  EXPECT_TRUE(CommencePar(message, L"Espace disque insuffisant dans " + dossier.Chemin().wstring())) << VersUtf8(message);
  EXPECT_NE(message.find(L" : 1099511627776,0 Mio nécessaires, "), std::wstring::npos) << VersUtf8(message);
  EXPECT_FALSE(fs::exists(fichier));
}

TEST(TelechargerFichier, UnArretFinitLeTelechargementEtEnleveLeFichier) {
  TSessionClientsHttp session({L"NORVEL essais", {WINHTTP_ACCESS_TYPE_NO_PROXY}});
  TDossierTemporaire dossier;
  const std::wstring fichier = dossier.Fichier(L"lent.exe");
  struct TCas {
    const char* Nom;
    std::wstring Chemin;
    std::vector<DWORD> Pauses;
    bool Recoit;  // the stop comes once bytes arrive; otherwise after the first attempt's cut
  };
  // A trickle that would take a minute; cuts followed by long pauses.
  const TCas cas[] = {
      {"while receiving", Format(L"~motif=%d/~bloc=16384/~lent=100/lent.exe", {TailleMotif}), {20, 20, 20}, true},
      {"during the pause after a cut", L"~motif=1000000/~coupe-toujours=100000/lent.exe", {60000, 60000, 60000}, false},
  };
  for (const TCas& c : cas) {
    SCOPED_TRACE(c.Nom);
    TInterruptionRequete interruption;
    std::atomic<bool> commence{false};
    TypeOptionsTelechargement options;
    options.PausesReprise = c.Pauses;
    options.Interruption = &interruption;
    options.Progression = [&](uint64_t recus, uint64_t) { commence = commence || recus > 0; };
    std::chrono::steady_clock::time_point demande;
    std::thread fenetre([&] {
      for (int i = 0; i < 500 && c.Recoit && !commence; ++i) Sleep(10);
      // The cut comes within milliseconds: by then the download sleeps in its pause.
      Sleep(c.Recoit ? 300 : 1500);
      demande = std::chrono::steady_clock::now();
      interruption.Demander();
    });
    const std::wstring message = Message([&] { TelechargerFichier(session, UrlTelechargement(c.Chemin), fichier, options); });
    const auto duree = std::chrono::steady_clock::now() - demande;
    fenetre.join();
    EXPECT_TRUE(commence || !c.Recoit);
    EXPECT_EQ(message, L"La requête HTTP a été interrompue.");
    // Ended by the stop, long before the transfer or the pause would have.
    EXPECT_LT(duree, std::chrono::seconds(5));
    EXPECT_FALSE(fs::exists(fichier));
  }
}

}  // namespace
