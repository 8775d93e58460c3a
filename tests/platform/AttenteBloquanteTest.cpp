// The worker-side wait: an auto-reset event, wake-ups from other threads, nested counts.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "platform/Attente.h"
#include "core/Exceptions.h"

using namespace norvel;
using namespace std::chrono;

namespace {

// Counts how often the wait asked it, and holds after `reponsesFausses` negative answers.
class TConditionComptee : public TImplemente<TObjetInterfacable, IConditionFinDAttente> {
 public:
  explicit TConditionComptee(int reponsesFausses) : FReponsesFausses(reponsesFausses) {}
  bool EstAtteinte(bool, bool enInactivite) override {
    ++FAppels;
    return FAppels > FReponsesFausses;
  }
  int FAppels = 0;

 private:
  int FReponsesFausses;
};

milliseconds Duree(steady_clock::time_point debut) { return duration_cast<milliseconds>(steady_clock::now() - debut); }

}  // namespace

TEST(AttenteBloquante, ConditionDejaAtteinteRendLaMainSansDormir) {
  auto attente = NouvelObjet<TAttenteBloquante>();
  auto condition = NouvelObjet<TConditionComptee>(0);
  const auto debut = steady_clock::now();
  attente->Attendre(condition.Get(), 0);
  EXPECT_EQ(condition->FAppels, 1);
  EXPECT_LT(Duree(debut), milliseconds(200));
  EXPECT_FALSE(attente->AttenteEnCours());
}

TEST(AttenteBloquante, ReveilDonneAvantLeSommeilNEstPasPerduEtDeuxReveilsComptentPourUn) {
  auto attente = NouvelObjet<TAttenteBloquante>();
  attente->Reveiller(nullptr);
  attente->Reveiller(nullptr);
  // First sleep: returns at once thanks to the stored wake-up.
  auto premiere = NouvelObjet<TConditionComptee>(1);
  auto debut = steady_clock::now();
  attente->Attendre(premiere.Get(), 0);
  EXPECT_EQ(premiere->FAppels, 2);
  EXPECT_LT(Duree(debut), milliseconds(500));
  // Second sleep: the second wake-up was merged into the first, so only the delay ends it.
  auto seconde = NouvelObjet<TConditionComptee>(1);
  debut = steady_clock::now();
  attente->Attendre(seconde.Get(), 300);
  EXPECT_GE(Duree(debut), milliseconds(250));
}

TEST(AttenteBloquante, ReveilDUnAutreThreadTermineLAttente) {
  auto attente = NouvelObjet<TAttenteBloquante>();
  std::atomic<bool> fini{false};
  IReveilThread* reveil = attente.Get();
  std::thread travailleur([&] {
    std::this_thread::sleep_for(milliseconds(100));
    fini = true;
    reveil->Reveiller(nullptr);
  });
  auto condition = ConditionFinDAttente([&] { return fini.load(); });
  attente->Attendre(condition.Get(), 0);
  EXPECT_TRUE(fini);
  travailleur.join();
}

TEST(AttenteBloquante, DelaiReveilRedemandeLaConditionSansReveil) {
  auto attente = NouvelObjet<TAttenteBloquante>();
  auto condition = NouvelObjet<TConditionComptee>(3);
  const auto debut = steady_clock::now();
  attente->Attendre(condition.Get(), 50);
  EXPECT_EQ(condition->FAppels, 4);
  EXPECT_GE(Duree(debut), milliseconds(140));
}

TEST(AttenteBloquante, ExceptionDeLaConditionRestaureLeCompteur) {
  auto attente = NouvelObjet<TAttenteBloquante>();
  bool enCoursPendant = false;
  auto externe = ConditionFinDAttente([&] {
    enCoursPendant = attente->AttenteEnCours();
    auto interne = ConditionFinDAttente([]() -> bool { throw EOvalis(L"condition en panne"); });
    attente->Attendre(interne.Get(), 0);
    return true;
  });
  EXPECT_THROW(attente->Attendre(externe.Get(), 0), EOvalis);
  EXPECT_TRUE(enCoursPendant);
  EXPECT_FALSE(attente->AttenteEnCours());
}

TEST(AttenteBloquante, RepondPourIReveilThread) {
  TRef<IAttente> attente = NouvelObjet<TAttenteBloquante>();
  TRef<IReveilThread> reveil = attente.Demander<IReveilThread>();
  ASSERT_TRUE(reveil);
  EXPECT_EQ(static_cast<IReveilThread*>(attente.Get()), reveil.Get());
  EXPECT_TRUE(reveil.Demander<IAttente>());
}
