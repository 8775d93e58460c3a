#include <gtest/gtest.h>

#include <string>

#include "core/Chaines.h"
#include "core/ErreurSysteme.h"
#include "core/Format.h"
#include "core/Messages.h"
#include "platform/Chemins.h"
#include "platform/LigneDeCommande.h"
#include "core/Handle.h"
#include "install/LancementExecutable.h"
#include "support/CheminsTest.h"
#include "support/EnvironnementTest.h"
#include "support/ProcessusEnfant.h"

using namespace norvel;

namespace {

constexpr UINT CP_OEM_FRANCAIS = 850;

std::wstring CheminOutil(std::wstring_view nom) {
  return norvel::test::FichierBuild(L"tools\\" + std::wstring(nom) + L".exe");
}

std::wstring Repeter(const std::wstring& texte, int fois) {
  std::wstring tout;
  for (int i = 0; i < fois; ++i) tout += texte;
  return tout;
}

// Runs the child program with a script, as the installation runs an uninstaller.
TypeRetourExecutable Executer(const std::wstring& script, UINT codePage = CP_OEM_FRANCAIS) {
  TSequenceurLancementExecutable sequenceur;
  TypeRetourExecutable retour;
  sequenceur.DebutProcessus(CheminOutil(L"processus_test"), script, L"", codePage, codePage, &retour);
  EXPECT_TRUE(sequenceur.Boucler(0)) << "script: " << testing::PrintToString(script);
  EXPECT_EQ(0u, sequenceur.NombreOperations());
  return retour;
}

}  // namespace

TEST(LancementExecutable, OutputsAndExitCode) {
  // Accented letters that code page 850 and the ANSI page place differently.
  const std::wstring accents = L"Échec évité à l'étape çà où ÀÉÈ ôîâ ; ";
  // In UTF-8 "é" takes two bytes: repeated after one letter, one of them lands across the
  // 4096-byte read boundary.
  const std::wstring coupe = L"éa";
  struct Cas {
    const char* nom;
    std::wstring script;
    UINT codePage;
    TypeRetourExecutable attendu;
  };
  const Cas cas[] = {
      {"writes nothing", L"code 42", CP_OEM_FRANCAIS, {42, L"", L""}},
      {"more than 4096 bytes on standard error, code page 850",
       L"code 1 ecrire err 850 300 \"" + accents + L"\"", CP_OEM_FRANCAIS, {1, L"", Repeter(accents, 300)}},
      {"both streams beyond the pipes' buffers",
       L"ecrire out 850 4000 \"" + accents + L"\" ecrire err 850 3000 \"" + accents + L"\"", CP_OEM_FRANCAIS,
       {0, Repeter(accents, 4000), Repeter(accents, 3000)}},
      {"UTF-8 character split between two reads", L"ecrire out 65001 3000 " + coupe, CP_UTF8,
       {0, Repeter(coupe, 3000), L""}},
      {"exit code above 2^31", L"code -1", CP_OEM_FRANCAIS, {0xFFFFFFFFu, L"", L""}},
  };
  for (const auto& c : cas) {
    SCOPED_TRACE(c.nom);
    const TypeRetourExecutable retour = Executer(c.script, c.codePage);
    EXPECT_EQ(c.attendu.CodeRetour, retour.CodeRetour);
    EXPECT_EQ(c.attendu.SortieStd.size(), retour.SortieStd.size());
    EXPECT_TRUE(c.attendu.SortieStd == retour.SortieStd);
    EXPECT_EQ(c.attendu.SortieErr.size(), retour.SortieErr.size());
    EXPECT_TRUE(c.attendu.SortieErr == retour.SortieErr);
  }
}

TEST(LancementExecutable, ChildInheritingTheOutputsKeepsTheLoopUntilItEnds) {
  // The program ends at once with code 5; the child it leaves behind writes a second later,
  // on the pipes it inherited. Its text is there only if the loop waited for it.
  const TypeRetourExecutable retour =
      Executer(L"code 5 ecrire out 850 1 parent; lancer attendre 1000 ecrire out 850 1 petit-enfant;");
  EXPECT_EQ(5u, retour.CodeRetour);
  EXPECT_EQ(L"parent;petit-enfant;", retour.SortieStd);
}

TEST(LancementExecutable, CommandLineAndCurrentFolder) {
  norvel::test::TDossierTemporaire dossier;
  TSequenceurLancementExecutable sequenceur;
  TypeRetourExecutable retour;
  // No program name: the parameters are the whole command line, trimmed at both ends.
  sequenceur.DebutProcessus(L"", L" \t \"" + CheminOutil(L"processus_test") + L"\" code 3 dossier  \t",
                            dossier.Chemin().wstring(), CP_UTF8, CP_UTF8, &retour);
  ASSERT_TRUE(sequenceur.Boucler(0));
  EXPECT_EQ(3u, retour.CodeRetour);
  EXPECT_TRUE(MemeTexteSansCasse(dossier.Chemin().wstring(), retour.SortieStd)) << retour.SortieStd.size();
}

TEST(LancementExecutable, ProgramThatCannotStart) {
  TSequenceurLancementExecutable sequenceur;
  TypeRetourExecutable retour;
  retour.SortieStd = L"inchangée";
  try {
    sequenceur.DebutProcessus(CheminOutil(L"absent"), L"", L"", CP_OEM_FRANCAIS, CP_OEM_FRANCAIS, &retour);
    FAIL() << "no exception";
  } catch (const EOvalis& e) {
    EXPECT_EQ(Format(Msg::ErreurInterne, {2u, TexteErreurSysteme(ERROR_FILE_NOT_FOUND), L"CreateProcess"}),
              e.Message());
    EXPECT_EQ(0u, e.Message().rfind(L"Erreur interne (CreateProcess, 0x00000002) : ", 0));
  }
  // The two reads started for it were cancelled: they end at once, leaving the record alone.
  EXPECT_EQ(2u, sequenceur.NombreOperations());
  EXPECT_TRUE(sequenceur.Boucler(5000));
  EXPECT_EQ(L"inchangée", retour.SortieStd);
  EXPECT_EQ(L"", retour.SortieErr);

  // The sequencer serves the next program as if nothing had happened.
  TypeRetourExecutable suivant;
  sequenceur.DebutProcessus(CheminOutil(L"processus_test"), L"code 7 ecrire err 850 1 suivant", L"",
                            CP_OEM_FRANCAIS, CP_OEM_FRANCAIS, &suivant);
  EXPECT_TRUE(sequenceur.Boucler(0));
  EXPECT_EQ(7u, suivant.CodeRetour);
  EXPECT_EQ(L"suivant", suivant.SortieErr);
}

TEST(LancementExecutable, TimeLimitThenCancellation) {
  TSequenceurLancementExecutable sequenceur;
  TypeRetourExecutable retour;
  sequenceur.DebutProcessus(CheminOutil(L"processus_test"), L"attendre 30000", L"",
                            CP_OEM_FRANCAIS, CP_OEM_FRANCAIS, &retour);
  EXPECT_FALSE(sequenceur.Boucler(1));
  EXPECT_GE(sequenceur.NombreOperations(), 1u);

  // Cancelling ends the program with the timeout code.
  sequenceur.DemanderAnnulationOperations();
  EXPECT_TRUE(sequenceur.Boucler(0));
  EXPECT_EQ(1460u, retour.CodeRetour);
}

TEST(LancementExecutable, DestructionStopsTheProgramStillRunning) {
  TypeRetourExecutable retour;
  {
    TSequenceurLancementExecutable sequenceur;
    sequenceur.DebutProcessus(CheminOutil(L"processus_test"), L"attendre 30000", L"", CP_OEM_FRANCAIS,
                              CP_OEM_FRANCAIS, &retour);
  }
  EXPECT_EQ(1460u, retour.CodeRetour);
}

// A program that reads its standard input gets its end at once instead of waiting for ever.
TEST(LancementExecutable, StandardInputIsAtItsEnd) {
  TSequenceurLancementExecutable sequenceur;
  TypeRetourExecutable retour;
  sequenceur.DebutProcessus(CheminOutil(L"processus_test"), L"lire-entree code 4", L"", CP_UTF8, CP_UTF8, &retour);
  ASSERT_TRUE(sequenceur.Boucler(20000)) << "the program still waits for its input";
  EXPECT_EQ(4u, retour.CodeRetour);
  EXPECT_EQ(L"lu 0", retour.SortieStd);
}

// The variables of a sequencer reach its programs in an environment of their own, over the
// program's own values (names compared without regard to case), and never the program's own
// environment, which other threads read meanwhile.
TEST(LancementExecutable, VariablesOfTheProgramsStayTheirs) {
  const norvel::test::TVariableEnvironnement propre(L"NORVEL_ESSAI_PROPRE", L"du programme");
  const norvel::test::TVariableEnvironnement remplacee(L"NORVEL_ESSAI_REMPLACEE", L"avant");
  TSequenceurLancementExecutable sequenceur;
  sequenceur.DefinirVariable(L"NORVEL_ESSAI_DONNEE", L"donnee a l'enfant");
  sequenceur.DefinirVariable(L"norvel_essai_remplacee", L"apres");
  struct Cas {
    const wchar_t* nom;
    const wchar_t* vueParLEnfant;
    const wchar_t* ici;  // nullptr: absent
  };
  const Cas cas[] = {
      {L"NORVEL_ESSAI_DONNEE", L"donnee a l'enfant", nullptr},
      {L"NORVEL_ESSAI_REMPLACEE", L"apres", L"avant"},
      {L"NORVEL_ESSAI_PROPRE", L"du programme", L"du programme"},
  };
  for (const Cas& c : cas) {
    SCOPED_TRACE(VersUtf8(c.nom));
    const TypeRetourExecutable retour =
        ExecuterProgramme(sequenceur, L"\"" + CheminOutil(L"processus_test") + L"\" variable " + c.nom);
    EXPECT_EQ(retour.SortieStd, c.vueParLEnfant);
    wchar_t valeur[64] = {};
    const DWORD n = GetEnvironmentVariableW(c.nom, valeur, 64);
    EXPECT_EQ(n > 0 ? std::wstring(valeur) : L"(absente)", c.ici ? c.ici : L"(absente)");
  }
}

// A program that never ends is stopped after the delay, with a message that names it; nothing
// of it stays pending.
TEST(LancementExecutable, ProgramRunningPastItsDelayIsStopped) {
  TSequenceurLancementExecutable sequenceur;
  const std::wstring ligne = L"\"" + CheminOutil(L"processus_test") + L"\" attendre 60000";
  const ULONGLONG debut = GetTickCount64();
  try {
    ExecuterProgramme(sequenceur, ligne, 2000);
    ADD_FAILURE() << "no exception";
  } catch (const EOvalis& e) {
    EXPECT_EQ(e.Message(), L"Le programme " + ligne +
                               L" ne s'est pas terminé dans le délai accordé (2 secondes) : il a été arrêté.");
  }
  EXPECT_LT(GetTickCount64() - debut, 20000u);
  EXPECT_EQ(0u, sequenceur.NombreOperations());
}

namespace {

// An operation already complete whose end fails: the loop raises while a program runs.
class TOperationEnEchec : public TParamOperationAsync {
 public:
  TOperationEnEchec()
      : TParamOperationAsync(CreerIHandle(CreateEventW(nullptr, TRUE, TRUE, nullptr))) {}
  void Terminer() override { throw EOvalis(L"fin en échec"); }
  void DemanderAnnulation() override {}
};

}  // namespace

// The loop fails while the program runs and its outputs are being read: the program is stopped
// and its reads are done before the outcome they write into goes.
TEST(LancementExecutable, FailureOfTheLoopLeavesNoReadPending) {
  TSequenceurLancementExecutable sequenceur;
  sequenceur.AjouterParamOperation(std::make_unique<TOperationEnEchec>());
  const ULONGLONG debut = GetTickCount64();
  try {
    ExecuterProgramme(sequenceur, L"\"" + CheminOutil(L"processus_test") + L"\" ecrire out 850 1 debut attendre 60000");
    ADD_FAILURE() << "no exception";
  } catch (const EOvalis& e) {
    EXPECT_EQ(e.Message(), L"fin en échec");
  }
  EXPECT_EQ(0u, sequenceur.NombreOperations());
  EXPECT_LT(GetTickCount64() - debut, 20000u);
}

// Another process runs a program and ends without waiting for it: the program goes with it.
NORVEL_PROGRAMME_ENFANT(LancerPuisSortir) {
  std::wstring fichier;
  TLigneDeCommande::ValeurParam(L"fichier", fichier);
  auto* sequenceur = new TSequenceurLancementExecutable;
  auto* retour = new TypeRetourExecutable;
  sequenceur->DebutProcessus(CheminOutil(L"processus_test"), L"pid \"" + fichier + L"\" attendre 60000", L"",
                             CP_OEM_FRANCAIS, CP_OEM_FRANCAIS, retour);
  for (int i = 0; i < 300 && !FichierExiste(fichier); ++i) Sleep(100);
  // As a crash or a user's "end task" would: nothing of the program runs any more.
  ExitProcess(0);
}

TEST(LancementExecutable, ProgramsNeverOutliveTheAssistant) {
  norvel::test::TDossierTemporaire dossier;
  const std::wstring fichier = dossier.Fichier(L"pid.txt");
  const auto enfant = norvel::test::LancerProgrammeEnfant(L"LancerPuisSortir", L"-fichier \"" + fichier + L"\"");
  ASSERT_EQ(0u, enfant.CodeSortie);
  const DWORD pid = static_cast<DWORD>(std::stoul(norvel::test::LireOctets(fichier)));
  const THandle programme(OpenProcess(SYNCHRONIZE, FALSE, pid));
  // Gone already, or going.
  if (programme) {
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(programme.Get(), 10000)) << "still running";
  }
}

namespace {

// The system answers that the program needs administrator rights, as Windows does for a setup
// whose manifest asks for them (Wine has no such rights: it never answers so).
class TSequenceurSansDroits : public TSequenceurLancementExecutable {
 public:
  int Elevations = 0;

 protected:
  bool CreerProcessus(std::wstring&, void*, const wchar_t*, STARTUPINFOW&, PROCESS_INFORMATION&) override {
    SetLastError(ErreurElevationNecessaire);
    return false;
  }
  HANDLE DemarrerAvecElevation(const std::wstring& ALigne, const wchar_t* ADossier) override {
    ++Elevations;
    return TSequenceurLancementExecutable::DemarrerAvecElevation(ALigne, ADossier);
  }
};

}  // namespace

// Such a program is started through the shell's elevation instead, which asks the user; its
// outputs cannot be captured across it, its exit code tells how it ended.
TEST(LancementExecutable, ProgramNeedingAdministratorRightsIsStartedWithElevation) {
  TSequenceurSansDroits sequenceur;
  const TypeRetourExecutable retour = ExecuterProgramme(
      sequenceur, L"\"" + CheminOutil(L"processus_test") + L"\" code 7 ecrire out 850 1 \"sortie perdue\"", 20000);
  EXPECT_EQ(1, sequenceur.Elevations);
  EXPECT_EQ(7u, retour.CodeRetour);
  EXPECT_EQ(L"", retour.SortieStd);
  EXPECT_EQ(0u, sequenceur.NombreOperations());
}
