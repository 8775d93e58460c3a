#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/Exceptions.h"
#include "install/SequenceurOperationsAsync.h"

using namespace norvel;

namespace {

using TypeJournal = std::vector<std::string>;

// An operation completed by an event that the test (or its cancellation) sets; it writes its
// end, its cancellation and its destruction into a journal.
class TOperationTemoin : public TParamOperationAsync {
 public:
  TOperationTemoin(std::string nom, TypeJournal& journal, std::function<void()> aLaFin = {},
                   TRef<IHandle> attendable = CreerIHandle(CreateEventW(nullptr, TRUE, FALSE, nullptr)))
      : TParamOperationAsync(std::move(attendable)),
        FNom(std::move(nom)),
        FJournal(journal),
        FALaFin(std::move(aLaFin)) {}
  ~TOperationTemoin() override { FJournal.push_back("detruite " + FNom); }

  void Terminer() override {
    FJournal.push_back("fin " + FNom);
    if (FALaFin) FALaFin();
  }
  void DemanderAnnulation() override {
    FJournal.push_back("annulation " + FNom);
    SetEvent(Attendable());
  }

 private:
  std::string FNom;
  TypeJournal& FJournal;
  std::function<void()> FALaFin;
};

// Adds a witness operation and gives back its event, to signal it.
HANDLE Ajouter(TSequenceurOperationsAsync& sequenceur, std::string nom, TypeJournal& journal,
               std::function<void()> aLaFin = {}) {
  auto operation = std::make_unique<TOperationTemoin>(std::move(nom), journal, std::move(aLaFin));
  const HANDLE evenement = operation->Attendable();
  sequenceur.AjouterParamOperation(std::move(operation));
  return evenement;
}

}  // namespace

TEST(SequenceurOperationsAsync, EmptyLoopCompletesAtOnce) {
  TSequenceurOperationsAsync sequenceur;
  EXPECT_TRUE(sequenceur.Boucler(0));
  EXPECT_TRUE(sequenceur.Boucler(1));
}

TEST(SequenceurOperationsAsync, AnEndRunsOutOfTheListAndMayAddTheNextOperation) {
  TypeJournal journal;
  TSequenceurOperationsAsync sequenceur;
  SetEvent(Ajouter(sequenceur, "a", journal, [&] {
    journal.push_back("pendant a : " + std::to_string(sequenceur.NombreOperations()));
    SetEvent(Ajouter(sequenceur, "b", journal));
  }));
  EXPECT_TRUE(sequenceur.Boucler(0));
  EXPECT_EQ((TypeJournal{"fin a", "pendant a : 0", "detruite a", "fin b", "detruite b"}), journal);
}

TEST(SequenceurOperationsAsync, LimitLeavesOperationsPendingUntilCancelled) {
  TypeJournal journal;
  TSequenceurOperationsAsync sequenceur;
  Ajouter(sequenceur, "a", journal);
  Ajouter(sequenceur, "b", journal);
  EXPECT_FALSE(sequenceur.Boucler(20));
  EXPECT_EQ(2u, sequenceur.NombreOperations());
  EXPECT_TRUE(journal.empty());

  sequenceur.DemanderAnnulationOperations();
  EXPECT_TRUE(sequenceur.Boucler(0));
  ASSERT_GE(journal.size(), 2u);
  EXPECT_EQ((TypeJournal{"annulation a", "annulation b"}), TypeJournal(journal.begin(), journal.begin() + 2));
  EXPECT_EQ(0u, sequenceur.NombreOperations());
}

TEST(SequenceurOperationsAsync, AllDoneAfterTheDeadlineStillCountsAsDone) {
  TypeJournal journal;
  TSequenceurOperationsAsync sequenceur;
  SetEvent(Ajouter(sequenceur, "lente", journal, [] { Sleep(60); }));
  EXPECT_TRUE(sequenceur.Boucler(10));

  // With another operation still pending, the same late end means the time is up.
  SetEvent(Ajouter(sequenceur, "lente", journal, [] { Sleep(60); }));
  Ajouter(sequenceur, "jamais", journal);
  EXPECT_FALSE(sequenceur.Boucler(10));
  EXPECT_EQ(1u, sequenceur.NombreOperations());
  sequenceur.DemanderAnnulationOperations();
}

TEST(SequenceurOperationsAsync, FailedEndIsRaisedWithItsOperationGone) {
  TypeJournal journal;
  TSequenceurOperationsAsync sequenceur;
  SetEvent(Ajouter(sequenceur, "a", journal, [] { throw EOvalis(L"échec de la fin"); }));
  Ajouter(sequenceur, "b", journal);
  try {
    sequenceur.Boucler(0);
    FAIL() << "no exception";
  } catch (const EOvalis& e) {
    EXPECT_EQ(L"échec de la fin", e.Message());
  }
  EXPECT_EQ(1u, sequenceur.NombreOperations());
  EXPECT_EQ((TypeJournal{"fin a", "detruite a"}), journal);
}

TEST(SequenceurOperationsAsync, FailedWaitRaisesTheSystemError) {
  TypeJournal journal;
  TSequenceurOperationsAsync sequenceur;
  // No handle to wait on: the wait itself fails.
  auto operation = std::make_unique<TOperationTemoin>("a", journal, nullptr, CreerIHandle(nullptr));
  TParamOperationAsync* const adresse = operation.get();
  sequenceur.AjouterParamOperation(std::move(operation));
  try {
    sequenceur.Boucler(0);
    FAIL() << "no exception";
  } catch (const EOvalis& e) {
    EXPECT_EQ(0u, e.Message().rfind(L"Erreur interne (WaitForMultipleObjects, 0x00000006) : ", 0)) << e.what();
  }
  EXPECT_EQ(1u, sequenceur.NombreOperations());
  const auto rendue = sequenceur.EnleverParamOperation(adresse);
  EXPECT_EQ(adresse, rendue.get());
  EXPECT_EQ(nullptr, sequenceur.EnleverParamOperation(adresse));
  EXPECT_EQ(0u, sequenceur.NombreOperations());
}

TEST(SequenceurOperationsAsync, DestructionStopsAndAwaitsPendingOperations) {
  TypeJournal journal;
  {
    TSequenceurOperationsAsync sequenceur;
    Ajouter(sequenceur, "a", journal);
  }
  EXPECT_EQ((TypeJournal{"annulation a", "fin a", "detruite a"}), journal);
}
