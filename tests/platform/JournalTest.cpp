// The journal of a run: its lines, its files (one per run, the last ten kept), the console of a
// program started from cmd or PowerShell, and the decision about a run without a user session.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "core/Chaines.h"
#include "platform/Journal.h"
#include "platform/SessionUtilisateur.h"
#include "support/CheminsTest.h"
#include "support/ProcessusEnfant.h"

using namespace norvel;
using namespace norvel::test;

namespace {

namespace fs = std::filesystem;

SYSTEMTIME Instant(WORD annee, WORD mois, WORD jour, WORD heure, WORD minute, WORD seconde, WORD ms) {
  SYSTEMTIME instant{};
  instant.wYear = annee;
  instant.wMonth = mois;
  instant.wDay = jour;
  instant.wHour = heure;
  instant.wMinute = minute;
  instant.wSecond = seconde;
  instant.wMilliseconds = ms;
  return instant;
}

std::vector<std::wstring> Lignes(const fs::path& fichier) {
  const std::string octets = LireOctets(fichier);
  std::vector<std::wstring> lignes;
  if (octets.rfind("\xEF\xBB\xBF", 0) != 0) return {L"<pas de marque UTF-8>"};
  for (std::wstring ligne : Decouper(DepuisUtf8(octets.substr(3)), L'\n')) {
    if (!ligne.empty() && ligne.back() == L'\r') ligne.pop_back();
    if (!ligne.empty()) lignes.push_back(ligne);
  }
  return lignes;
}

}  // namespace

TEST(LigneJournal, OneTimestampedLinePerEvent) {
  const SYSTEMTIME instant = Instant(2026, 3, 7, 9, 5, 4, 21);
  struct Cas {
    const wchar_t* texte;
    const wchar_t* attendu;
  };
  const Cas cas[] = {
      {L"Étape 1/7", L"2026-03-07 09:05:04.021 Étape 1/7"},
      // A message of several lines (a proxy's headers) stays one line of the journal.
      {L"Entêtes HTTP :\r\nHTTP/1.0 407\r\n\r\nVia: squid\r\n", L"2026-03-07 09:05:04.021 Entêtes HTTP : | HTTP/1.0 407 | Via: squid"},
      {L"fin  \t", L"2026-03-07 09:05:04.021 fin"},
  };
  for (const Cas& c : cas) EXPECT_EQ(LigneJournal(instant, c.texte), c.attendu);
}

TEST(JournalFichier, Utf8WithItsMarkAndEveryLineOfEveryThread) {
  const TDossierTemporaire temp;
  const std::wstring chemin = temp.Fichier(L"journal.log");
  auto journal = std::make_shared<TJournalFichier>(chemin, nullptr);
  ASSERT_TRUE(journal->Ouvert());
  DefinirJournalProcessus(journal);
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t)
    threads.emplace_back([t] {
      for (int i = 0; i < 50; ++i) Journaliser(L"élève " + std::to_wstring(t) + L"-" + std::to_wstring(i));
    });
  for (auto& thread : threads) thread.join();
  DefinirJournalProcessus(nullptr);
  // Without a journal, nothing is noted and nothing fails.
  Journaliser(L"perdu");
  const auto lignes = Lignes(chemin);
  ASSERT_EQ(lignes.size(), 200u);
  for (int t = 0; t < 4; ++t)
    for (int i = 0; i < 50; ++i) {
      const std::wstring fin = L" élève " + std::to_wstring(t) + L"-" + std::to_wstring(i);
      EXPECT_EQ(std::count_if(lignes.begin(), lignes.end(), [&](const std::wstring& l) { return FinitPar(l, fin); }), 1)
          << VersUtf8(fin);
    }
  // Readable by others while it is being written.
  EXPECT_FALSE(LireOctets(chemin).empty());
}

TEST(JournalFichier, AFileThatCannotBeMadeSaysWhy) {
  const TDossierTemporaire temp;
  const TJournalFichier journal(temp.Fichier(L"absent\\journal.log"), nullptr);
  EXPECT_FALSE(journal.Ouvert());
  EXPECT_EQ(journal.CodeErreur(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
}

TEST(JournauxDuDossier, NamesSortLikeTheRunsAndTheLastTenStay) {
  EXPECT_EQ(NomJournal(Instant(2026, 12, 10, 14, 3, 7, 251), 4242),
            L"InstalleurNorvelPrimaire-20261210-140307251-4242.log");
  EXPECT_LT(NomJournal(Instant(2026, 1, 9, 23, 59, 59, 999), 9), NomJournal(Instant(2026, 1, 10, 0, 0, 0, 0), 1));

  const TDossierTemporaire temp;
  std::vector<std::wstring> noms;
  for (WORD minute = 0; minute < 13; ++minute) {
    noms.push_back(NomJournal(Instant(2026, 12, 10, 8, minute, 0, 0), 100 + minute));
    EcrireOctets(temp.Chemin() / noms.back(), "x");
  }
  // Not a journal: never touched.
  EcrireOctets(temp.Chemin() / L"autre.log", "y");
  GarderDerniersJournaux(temp.Chemin().wstring(), JournauxGardes);
  for (size_t i = 0; i < noms.size(); ++i) EXPECT_EQ(fs::exists(temp.Chemin() / noms[i]), i >= 3) << VersUtf8(noms[i]);
  EXPECT_TRUE(fs::exists(temp.Chemin() / L"autre.log"));
}

NORVEL_PROGRAMME_ENFANT(ConsoleRedirigee) {
  auto console = std::make_shared<TConsoleParente>();
  if (!console->Presente()) return 3;
  TJournalFichier journal(L"NUL", console);
  journal.Noter(TypeNatureLigneJournal::Detail, L"détail");
  journal.Noter(TypeNatureLigneJournal::Progression, L"Étape 1/7 : test de l'accès internet");
  journal.Noter(TypeNatureLigneJournal::Erreur, L"Échec : école introuvable");
  return 0;
}

TEST(ConsoleParente, AProgramStartedWithItsOutputRedirectedWritesProgressAndErrorsThere) {
  // A deployment script that redirects the output (a pipe here) reads the progress lines in
  // UTF-8; the details stay in the file.
  const TResultatEnfant enfant = LancerProgrammeEnfant(L"ConsoleRedirigee", L"");
  ASSERT_EQ(enfant.CodeSortie, 0u);
  const auto lignes = Decouper(enfant.Sortie, L'\n');
  ASSERT_GE(lignes.size(), 2u) << VersUtf8(enfant.Sortie);
  EXPECT_TRUE(FinitPar(Trim(lignes[0]), L" Étape 1/7 : test de l'accès internet")) << VersUtf8(lignes[0]);
  EXPECT_TRUE(FinitPar(Trim(lignes[1]), L" Échec : école introuvable")) << VersUtf8(lignes[1]);
  EXPECT_EQ(enfant.Sortie.find(L"détail"), std::wstring::npos);
}

TEST(SessionSansUtilisateur, SystemOrSessionZero) {
  struct Cas {
    TypeIdentiteSession identite;
    bool sansUtilisateur;
  };
  const Cas cas[] = {
      {{false, 1}, false},  // a user at the machine
      {{false, 2}, false},  // a second user's session
      {{true, 0}, true},    // SYSTEM of a Group Policy start-up script or Intune
      {{true, 1}, true},    // SYSTEM in a user's session (PsExec -s -i)
      {{false, 0}, true},   // an administrator's task run without a user logged on
  };
  for (const Cas& c : cas) EXPECT_EQ(EstSessionSansUtilisateur(c.identite), c.sansUtilisateur);
  // This test runs in a user's session, as the assistant when a person starts it. (Wine has
  // no SYSTEM account and no session 0: the other rows cannot be met for real here.)
  const TypeIdentiteSession ici = IdentiteSessionCourante();
  EXPECT_FALSE(ici.CompteSysteme);
  EXPECT_NE(ici.Session, 0u);
  EXPECT_FALSE(SessionSansUtilisateur());
}
