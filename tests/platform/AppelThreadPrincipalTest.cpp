// Calls posted to the main thread from other threads. A worker that hands a call over and
// sleeps until it ran: the call runs inside the main thread's wait, its exception reaches the
// worker, and once the loop has ended the call is dropped instead of leaving the worker asleep
// for ever.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>
#include <vector>

#include "platform/AppelThreadPrincipal.h"
#include "platform/AttenteApplication.h"
#include "support/BouclePrincipaleVide.h"

using namespace norvel;
using namespace std::chrono;

namespace {

class AppelSynchrone : public testing::Test {
 protected:
  void SetUp() override { FApplication.Initialiser(); }
  void TearDown() override {
    FApplication.Initialiser();
    test::ViderBouclePrincipale(FApplication);
  }

  // Runs `travail` on a worker while this thread waits for it as the program's windows do.
  void PendantAttente(const std::function<void()>& travail) {
    std::atomic<bool> fini = false;
    auto attente = NouvelObjet<TAttenteApplicationFmx>();
    std::thread travailleur([&] {
      travail();
      fini = true;
      attente->Reveiller(nullptr);
    });
    attente->Attendre(ConditionFinDAttente([&] { return fini.load(); }).Get(), 0);
    travailleur.join();
  }

  TApplicationGraphique& FApplication = TApplicationGraphique::Instance();
};

}  // namespace

TEST_F(AppelSynchrone, FromTheMainThreadTheCallRunsAtOnce) {
  DWORD thread = 0;
  EXPECT_TRUE(ExecuterSurThreadPrincipal([&] { thread = GetCurrentThreadId(); }));
  EXPECT_EQ(GetCurrentThreadId(), thread);
}

TEST_F(AppelSynchrone, AWorkersCallRunsOnTheMainThreadAndItsExceptionComesBack) {
  DWORD thread = 0;
  bool repondu = false, exceptionRecue = false;
  PendantAttente([&] {
    repondu = ExecuterSurThreadPrincipal([&] { thread = GetCurrentThreadId(); });
    try {
      ExecuterSurThreadPrincipal([] { throw std::runtime_error("refus"); });
    } catch (const std::runtime_error& e) {
      exceptionRecue = std::string(e.what()) == "refus";
    }
  });
  EXPECT_TRUE(repondu);
  EXPECT_EQ(GetCurrentThreadId(), thread);
  EXPECT_TRUE(exceptionRecue);
}

TEST_F(AppelSynchrone, OnceTheLoopHasEndedTheCallIsDroppedAndNeverRuns) {
  FApplication.Terminer();
  std::atomic<bool> execute = false;
  bool repondu = true;
  const auto debut = steady_clock::now();
  std::thread([&] { repondu = ExecuterSurThreadPrincipal([&] { execute = true; }); }).join();
  EXPECT_FALSE(repondu);
  EXPECT_LT(steady_clock::now() - debut, seconds(2)) << "the worker gave up soon";
  // A later run of the loop finds the call in its queue and leaves it.
  FApplication.Initialiser();
  FApplication.ExecuterAppelsEnFile();
  EXPECT_FALSE(execute);
}

// Calls posted from other threads run on this thread in the order posted, one per idle step of
// the loop; those posted to a receiver run only while its box is open.
TEST_F(AppelSynchrone, PostedCallsRunInOrderOnePerStepAndNeverForAClosedBox) {
  std::vector<int> vus;
  auto boite = std::make_unique<TBoiteAppels>();
  const TAdresseAppels adresse = boite->Adresse();
  std::thread([&] {
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(AppelerSurThreadPrincipal([&vus, i] { vus.push_back(i); }));
    adresse.Poster([&vus] { vus.push_back(10); });
    adresse.Poster([&vus] { vus.push_back(11); });
  }).join();
  EXPECT_TRUE(vus.empty()) << "nothing runs on the posting thread";
  EXPECT_TRUE(FApplication.ExecuterAppelsEnFile());
  EXPECT_EQ(vus, (std::vector<int>{0}));
  EXPECT_TRUE(FApplication.ExecuterAppelsEnFile());
  EXPECT_TRUE(FApplication.ExecuterAppelsEnFile());
  EXPECT_TRUE(FApplication.ExecuterAppelsEnFile());
  EXPECT_EQ(vus, (std::vector<int>{0, 1, 2, 10}));
  // The receiver goes with one call still on its way, and another comes after.
  boite.reset();
  std::thread([&] { adresse.Poster([&vus] { vus.push_back(12); }); }).join();
  while (FApplication.ExecuterAppelsEnFile()) {
  }
  EXPECT_EQ(vus, (std::vector<int>{0, 1, 2, 10}));
  EXPECT_FALSE(FApplication.AppelsEnAttente());
}
