// The main thread's wait and loop: messages keep flowing, the thread sleeps between them, a
// worker's wake-up ends the wait, nested waits share one timer at the shortest delay.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "platform/AppelThreadPrincipal.h"
#include "platform/AttenteApplication.h"
#include "platform/ServicesApplication.h"
#include "core/Exceptions.h"
#include "support/BouclePrincipaleVide.h"

using namespace norvel;
using namespace std::chrono;

namespace {

class AttenteApplication : public testing::Test {
 protected:
  void SetUp() override {
    FApplication.Initialiser();
    FAttente = NouvelObjet<TAttenteApplicationFmx>();
  }
  void TearDown() override {
    TServicesApplication::Arreter();
    TServicesApplication::SetBouclePrincipaleDisponible(false);
    FApplication.SetSurInactivite(nullptr);
    // Nothing left in the queue for the next test.
    test::ViderBouclePrincipale(FApplication);
  }
  TApplicationGraphique& FApplication = TApplicationGraphique::Instance();
  TRef<TAttenteApplicationFmx> FAttente;
};

// Counts calls; holds once `atteinte` says so.
class TConditionEssai : public TImplemente<TObjetInterfacable, IConditionFinDAttente> {
 public:
  explicit TConditionEssai(std::function<bool(bool arret)> atteinte) : FAtteinte(std::move(atteinte)) {}
  bool EstAtteinte(bool arretApplication, bool enInactivite) override {
    ++(enInactivite ? FAppelsInactivite : FAppels);
    return FAtteinte(arretApplication);
  }
  int FAppels = 0;
  int FAppelsInactivite = 0;

 private:
  std::function<bool(bool)> FAtteinte;
};

// Wakes the loop after a delay from another thread (a wait that should already have ended
// then fails its checks instead of hanging).
std::thread ReveilDiffere(IReveilThread* reveil, milliseconds delai, std::atomic<bool>* drapeau = nullptr) {
  return std::thread([=] {
    std::this_thread::sleep_for(delai);
    if (drapeau) *drapeau = true;
    reveil->Reveiller(nullptr);
  });
}

}  // namespace

TEST_F(AttenteApplication, ConditionDejaAtteinteNeTraiteAucunMessage) {
  PostMessageW(FApplication.FenetreUtilitaire(), WM_APP + 7, 0, 0);
  auto condition = NouvelObjet<TConditionEssai>([](bool) { return true; });
  FAttente->Attendre(condition.Get(), 0);
  MSG msg;
  EXPECT_TRUE(PeekMessageW(&msg, FApplication.FenetreUtilitaire(), WM_APP + 7, WM_APP + 7, PM_REMOVE));
  EXPECT_EQ(condition->FAppels, 1);
}

TEST_F(AttenteApplication, ReveilDUnThreadDeTravailTermineLAttenteSansScrutation) {
  std::atomic<bool> fini{false};
  auto condition = NouvelObjet<TConditionEssai>([&](bool) { return fini.load(); });
  const auto debut = steady_clock::now();
  auto travailleur = ReveilDiffere(FAttente.Get(), milliseconds(300), &fini);
  FAttente->Attendre(condition.Get(), 0);
  travailleur.join();
  EXPECT_GE(steady_clock::now() - debut, milliseconds(250));
  // A loop that polled would have asked the condition thousands of times in 300 ms.
  EXPECT_LT(condition->FAppels + condition->FAppelsInactivite, 20);
  EXPECT_FALSE(FAttente->AttenteEnCours());
}

TEST_F(AttenteApplication, LesMessagesSontTraitesPendantLAttente) {
  // A message for a window of this thread, posted by a worker, is dispatched by the wait;
  // the window's handler ends it.
  static std::atomic<bool> recu{false};
  recu = false;
  WNDCLASSW classe{};
  classe.lpfnWndProc = [](HWND f, UINT m, WPARAM w, LPARAM l) -> LRESULT {
    if (m == WM_APP + 3) recu = true;
    return DefWindowProcW(f, m, w, l);
  };
  classe.hInstance = GetModuleHandleW(nullptr);
  classe.lpszClassName = L"EssaiAttenteMessages";
  RegisterClassW(&classe);
  HWND fenetre = CreateWindowW(classe.lpszClassName, L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
  ASSERT_TRUE(fenetre);
  std::thread travailleur([fenetre] {
    Sleep(100);
    PostMessageW(fenetre, WM_APP + 3, 0, 0);
  });
  auto condition = ConditionFinDAttente([] { return recu.load(); });
  FAttente->Attendre(condition.Get(), 0);
  travailleur.join();
  DestroyWindow(fenetre);
  EXPECT_TRUE(recu);
}

TEST_F(AttenteApplication, AttentesImbriquees500Et100) {
  UINT dansLInterne = 0, apresLInterne = 0;
  int appelsInternes = 0;
  bool interneFinie = false;
  // The inner wait runs from a call the outer wait's idle step executes.
  AppelerSurThreadPrincipal([&] {
    const auto debut = steady_clock::now();
    auto interne = NouvelObjet<TConditionEssai>([&](bool) {
      ++appelsInternes;
      dansLInterne = FAttente->IntervalleMinuterie();
      return steady_clock::now() - debut >= milliseconds(350);
    });
    FAttente->Attendre(interne.Get(), 100);
    apresLInterne = FAttente->IntervalleMinuterie();
    interneFinie = true;
  });
  auto externe = NouvelObjet<TConditionEssai>([&](bool) { return interneFinie; });
  FAttente->Attendre(externe.Get(), 500);
  EXPECT_EQ(dansLInterne, 100u);
  EXPECT_EQ(apresLInterne, 500u);
  EXPECT_EQ(FAttente->IntervalleMinuterie(), 0u);
  // Only the 100 ms timer woke the inner wait: about one question per tick.
  EXPECT_GE(appelsInternes, 3);
  EXPECT_LT(appelsInternes, 40);
}

TEST_F(AttenteApplication, DelaiPlusLongQueCeluiEnCoursNeChangePasLaMinuterie) {
  UINT dansLInterne = 0;
  bool interneFinie = false;
  AppelerSurThreadPrincipal([&] {
    auto interne = NouvelObjet<TConditionEssai>([&](bool) {
      dansLInterne = FAttente->IntervalleMinuterie();
      return true;
    });
    FAttente->Attendre(interne.Get(), 500);
    interneFinie = true;
  });
  auto externe = NouvelObjet<TConditionEssai>([&](bool) { return interneFinie; });
  FAttente->Attendre(externe.Get(), 100);
  EXPECT_EQ(dansLInterne, 100u);
}

TEST_F(AttenteApplication, ExceptionDeLaConditionRestaureCompteurEtMinuterie) {
  int appels = 0;
  auto condition = NouvelObjet<TConditionEssai>([&](bool) -> bool {
    if (++appels == 2) throw EOvalis(L"condition en panne");
    return false;
  });
  EXPECT_THROW(FAttente->Attendre(condition.Get(), 50), EOvalis);
  EXPECT_FALSE(FAttente->AttenteEnCours());
  EXPECT_EQ(FAttente->IntervalleMinuterie(), 0u);
}

TEST_F(AttenteApplication, FermetureDeLApplicationPendantLAttente) {
  bool arretVu = false;
  auto condition = NouvelObjet<TConditionEssai>([&](bool arret) {
    arretVu = arret;
    return arret;  // an interruptible wait
  });
  AppelerSurThreadPrincipal([&] { FApplication.Terminer(); });
  FAttente->Attendre(condition.Get(), 200);
  EXPECT_TRUE(arretVu);
  EXPECT_EQ(FAttente->IntervalleMinuterie(), 0u);
  FApplication.Initialiser();
}

TEST_F(AttenteApplication, ServicesInactiviteDansLesAttentesBouclePrincipaleSeulementAuPremierNiveau) {
  TServicesApplication::SetBouclePrincipaleDisponible(true);
  int inactivite = 0, boucle = 0;
  struct TService : TServiceOvalisNonReentrant {
    int& FCompteur;
    explicit TService(int& compteur) : FCompteur(compteur) {}
    bool Traiter() override {
      ++FCompteur;
      return true;
    }
  };
  auto serviceInactivite = NouvelObjet<TService>(inactivite);
  auto serviceBoucle = NouvelObjet<TService>(boucle);
  TServicesApplication::Ajouter(serviceInactivite.Get(), dsiIdle, psiIndifferent, true);
  TServicesApplication::Ajouter(serviceBoucle.Get(), dsiBouclePrincApp, psiIndifferent, true);
  FApplication.SetSurInactivite([](bool& fini) { fini = TServicesApplication::Invoquer(dsiIdle) && fini; });

  // A wait, as the wizard's during a request.
  std::atomic<bool> fini{false};
  auto travailleur = ReveilDiffere(FAttente.Get(), milliseconds(100), &fini);
  auto condition = ConditionFinDAttente([&] { return fini.load(); });
  FAttente->Attendre(condition.Get(), 0);
  travailleur.join();
  EXPECT_GT(inactivite, 0);
  EXPECT_EQ(boucle, 0);

  // The top-level loop with its own condition runs both.
  inactivite = 0;
  std::thread arret([&] {
    Sleep(100);
    AppelerSurThreadPrincipal([&] { FApplication.Terminer(); });
  });
  auto conditionBoucle = NouvelObjet<TConditionAttenteBouclePrincipale>();
  FApplication.ExecuterBouclePrincipale(conditionBoucle.Get());
  arret.join();
  EXPECT_GT(inactivite, 0);
  EXPECT_GT(boucle, 0);
  FApplication.Initialiser();
}

TEST_F(AttenteApplication, LaFinDUnThreadSansAttenteReveilleLaBouclePrincipale) {
  // The platform installed the main-loop wake-up; a worker that ends wakes the wait.
  std::atomic<bool> fini{false};
  std::thread travailleur([&] {
    Sleep(100);
    fini = true;
    ReveillerBouclePrincipale();
  });
  auto condition = NouvelObjet<TConditionEssai>([&](bool) { return fini.load(); });
  FAttente->Attendre(condition.Get(), 0);
  travailleur.join();
  EXPECT_LT(condition->FAppels, 20);
}
