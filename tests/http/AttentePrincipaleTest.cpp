// A request executed on the main thread, as the wizard's own test does: while the body arrives
// the thread keeps running its message loop, and the closing of the program ends the wait.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "platform/AppelThreadPrincipal.h"
#include "platform/AttenteApplication.h"
#include "http/EchangeHttp.h"
#include "support/Monde.h"
#include "support/BouclePrincipaleVide.h"

namespace norvel::test {
namespace {

class AttentePrincipale : public testing::Test {
 protected:
  void SetUp() override { FApplication.Initialiser(); }
  void TearDown() override {
    // The next test finds a running program with an empty queue.
    FApplication.Initialiser();
    ViderBouclePrincipale(FApplication);
  }
  TApplicationGraphique& FApplication = TApplicationGraphique::Instance();
  TRef<IAttente> FAttente = NouvelObjet<TAttenteApplicationFmx>();
  TSessionEssai FSession;
};

TEST_F(AttentePrincipale, LaBoucleDeMessagesTourneFinDuCorps) {
  std::atomic<bool> executeSurLeThreadPrincipal{false};
  TEchange echange(FSession, MondePartage().Url("http", L"/lent?taille=2000000&bloc=65536&lent=20"), FAttente.Get());
  std::thread travailleur([&] {
    Sleep(150);
    AppelerSurThreadPrincipal(
        [&] { executeSurLeThreadPrincipal = FApplication.EstThreadPrincipal(); });
  });
  echange.Requete.Executer();
  travailleur.join();
  // The call posted from the worker ran inside the request's wait.
  EXPECT_TRUE(executeSurLeThreadPrincipal);
  EXPECT_TRUE(echange.Requete.Reponse() == MotifMonde(0, 2000000));
}

TEST_F(AttentePrincipale, FermetureDuProgrammePendantLaRequete) {
  auto echange = std::make_unique<TEchange>(
      FSession, MondePartage().Url("http", L"/lent?taille=10000000&bloc=16384&lent=50"), FAttente.Get());
  std::thread travailleur([&] {
    Sleep(300);
    AppelerSurThreadPrincipal([&] { FApplication.Terminer(); });
  });
  try {
    echange->Requete.Executer();
    ADD_FAILURE() << "la fermeture du programme n'a pas arrêté la requête";
  } catch (const EAnnulation& e) {
    EXPECT_EQ(e.Message(), L"Arrêt de l'application en cours...");
  }
  travailleur.join();
  // The destruction still waits for WinHTTP to let go of the request, closing or not.
  echange.reset();
  EXPECT_EQ(FSession.Fins, 1);
}

}  // namespace
}  // namespace norvel::test
