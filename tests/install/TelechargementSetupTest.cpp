// Download of the setup from the stand-in download server (tools/monde/telechargements.py),
// serving the signed copies of the stand-in setup: the local name, the status and content type
// checks, the file written whole.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <string>

#include "core/Chaines.h"
#include "core/Exceptions.h"
#include "http/EchangeHttp.h"
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
    EXPECT_EQ(Message([&] { TelechargerFichier(session, UrlTelechargement(c.chemin), fichier); }), c.erreur);
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

  // A body cut short is a transport error, and leaves no file.
  const std::wstring tronque = dossier.Fichier(L"tronque.exe");
  EXPECT_NE(Message([&] { TelechargerFichier(session, UrlTelechargement(L"~tronque/SetupNorvelPrimaire-ovalis.exe"), tronque); }),
            L"");
  EXPECT_FALSE(fs::exists(tronque));

  // A file that cannot be made: the system's error.
  const std::wstring erreur = Message(
      [&] { TelechargerFichier(session, UrlTelechargement(L"SetupNorvelPrimaire-ovalis.exe"), dossier.Fichier(L"absent\\x.exe")); });
  EXPECT_TRUE(CommencePar(erreur, L"Erreur interne (CreateFile, 0x00000003) : ")) << VersUtf8(erreur);
}
