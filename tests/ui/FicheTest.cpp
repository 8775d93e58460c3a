// A form inside the main loop: a failure in one of its handlers is shown, and the loop goes on.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/AttenteApplication.h"
#include "ui/Fiche.h"
#include "core/Exceptions.h"

using namespace norvel;

namespace {

class FicheDansLaBoucle : public testing::Test {
 protected:
  void SetUp() override {
    FApplication.Initialiser();
    FAttente = NouvelObjet<TAttenteApplicationFmx>();
  }
  TApplicationGraphique& FApplication = TApplicationGraphique::Instance();
  TRef<TAttenteApplicationFmx> FAttente;
};

TEST_F(FicheDansLaBoucle, UneExceptionDansUnMessageEstMontreeEtLaBouclePoursuit) {
  // A form whose handler fails on one message; the platform's handler receives the failure.
  class TFicheFragile : public TFiche {
   public:
    TFicheFragile() { CreerFenetre(L"fragile", WS_POPUP, 10, 10); }
    int FRecus = 0;

   protected:
    LRESULT TraiterMessage(UINT message, WPARAM w, LPARAM l) override {
      if (message == WM_APP + 5) {
        ++FRecus;
        throw EOvalis(L"le gestionnaire a échoué");
      }
      return TFiche::TraiterMessage(message, w, l);
    }
  };
  TFicheFragile fiche;
  std::vector<std::wstring> montrees;
  FApplication.SetSurException([&](const std::exception& e) { montrees.push_back(MessageDe(e)); });
  PostMessageW(fiche.Handle(), WM_APP + 5, 0, 0);
  PostMessageW(fiche.Handle(), WM_APP + 5, 0, 0);
  auto condition = ConditionFinDAttente([&] { return fiche.FRecus == 2; });
  FAttente->Attendre(condition.Get(), 0);
  FApplication.SetSurException(nullptr);
  EXPECT_EQ(montrees, (std::vector<std::wstring>{L"le gestionnaire a échoué", L"le gestionnaire a échoué"}));
}

}  // namespace
