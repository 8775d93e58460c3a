#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "core/Exceptions.h"
#include "core/Finalisation.h"

using namespace norvel;

namespace {

// Each finalisable class writes its letter when it is finalised.
std::string GJournal;
template <char Lettre>
void Noter() {
  GJournal += Lettre;
}
void LeverErreur() {
  GJournal += '!';
  throw EOvalis(L"échec de finalisation");
}

// Runs on a fresh thread, so the per-thread list holds only what the case put there.
template <class F>
void SurUnAutreThread(F&& travail) {
  std::thread(std::forward<F>(travail)).join();
}

TEST(Finalisation, ListsRunLastRegisteredFirstInTheirGenreOrder) {
  struct Cas {
    TypeGenreClasseFinalisable genre;
    const char* attendu;
  };
  const Cas cas[] = {
      {cfFinalisationPrecoce, "eEcC"},
      {cfFinalisationTardive, "eEcCtT"},
      {cfFinalisationThread, "cC"},
  };
  for (const Cas& c : cas) {
    std::string obtenu;
    SurUnAutreThread([&] {
      GJournal.clear();
      TClasseFinalisable::InscrireFinalisation(&Noter<'E'>, cfFinalisationPrecoce);
      TClasseFinalisable::InscrireFinalisation(&Noter<'T'>, cfFinalisationTardive);
      TClasseFinalisable::InscrireFinalisation(&Noter<'C'>, cfFinalisationThread);
      TClasseFinalisable::InscrireFinalisation(&Noter<'e'>, cfFinalisationPrecoce);
      TClasseFinalisable::InscrireFinalisation(&Noter<'t'>, cfFinalisationTardive);
      TClasseFinalisable::InscrireFinalisation(&Noter<'c'>, cfFinalisationThread);
      TClasseFinalisable::FinaliserTout(c.genre);
      obtenu = GJournal;
      TClasseFinalisable::FinaliserTout(cfFinalisationTardive);  // what the case left
    });
    EXPECT_EQ(c.attendu, obtenu) << "genre " << c.genre;
  }
}

TEST(Finalisation, ThreadListBelongsToItsThread) {
  GJournal.clear();
  std::thread ouvrier([] {
    TClasseFinalisable::InscrireFinalisation(&Noter<'o'>, cfFinalisationThread);
    SurUnAutreThread([] { TClasseFinalisable::FinaliserTout(cfFinalisationThread); });
    GJournal += '|';
    TClasseFinalisable::FinaliserTout(cfFinalisationThread);
  });
  ouvrier.join();
  EXPECT_EQ("|o", GJournal);
}

TEST(Finalisation, FailingFinaliserDoesNotStopTheOthers) {
  SurUnAutreThread([] {
    GJournal.clear();
    TClasseFinalisable::InscrireFinalisation(&Noter<'a'>, cfFinalisationThread);
    TClasseFinalisable::InscrireFinalisation(&LeverErreur, cfFinalisationThread);
    TClasseFinalisable::InscrireFinalisation(&Noter<'b'>, cfFinalisationThread);
    EXPECT_NO_THROW(TClasseFinalisable::FinaliserTout(cfFinalisationThread));
  });
  EXPECT_EQ("b!a", GJournal);
}

// A class that enters its list again each time it is finalised, as a singleton recreated by
// the finalisation of another would.
int GRenaissances = 0;
bool GRenaitre = true;
void Renaitre() {
  ++GRenaissances;
  if (GRenaitre) TClasseFinalisable::InscrireFinalisation(&Renaitre, cfFinalisationPrecoce);
}

TEST(Finalisation, ListThatKeepsGrowingStopsAfter101Growths) {
  GRenaissances = 0;
  GRenaitre = true;
  TClasseFinalisable::InscrireFinalisation(&Renaitre, cfFinalisationPrecoce);
  TClasseFinalisable::FinaliserTout(cfFinalisationPrecoce);
  EXPECT_EQ(101, GRenaissances);

  // It is still listed: the next run finalises it, and it stays out this time.
  GRenaitre = false;
  TClasseFinalisable::FinaliserTout(cfFinalisationPrecoce);
  EXPECT_EQ(102, GRenaissances);
  TClasseFinalisable::FinaliserTout(cfFinalisationPrecoce);
  EXPECT_EQ(102, GRenaissances);
}

}  // namespace
