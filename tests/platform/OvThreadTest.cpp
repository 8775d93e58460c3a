// Worker threads: initialisation signal, fatal exception handed to the waiter, wake-up at the end.
#include <gtest/gtest.h>

#include <atomic>
#include <functional>

#include "platform/OvThread.h"
#include "core/Exceptions.h"

using namespace norvel;

namespace {

// A thread whose work is a function; the work receives the thread to signal or poll it.
class TThreadEssai : public TOvThread {
 public:
  TThreadEssai(TRef<IReveilThread> reveil, bool avecInitialisation, std::function<void(TThreadEssai&)> travail)
      : TOvThread(std::move(reveil), avecInitialisation), FTravail(std::move(travail)) {}
  ~TThreadEssai() override { TerminerEtAttendre(); }
  std::atomic<bool> FExecute{false};

 protected:
  void Executer() override {
    FExecute = true;
    FTravail(*this);
  }

 private:
  std::function<void(TThreadEssai&)> FTravail;
};

std::wstring MessageLeve(const std::function<void()>& action) {
  try {
    action();
  } catch (const EOvalis& e) {
    return e.Message();
  }
  return L"(rien)";
}

}  // namespace

TEST(OvThread, FinInitialisationSignaleeRendLaMainPendantQueLeThreadContinue) {
  std::atomic<bool> continuer{false};
  TThreadEssai thread(nullptr, true, [&](TThreadEssai& t) {
    t.SignalerFinInitialisation();
    while (!continuer && !t.Termine()) Sleep(1);
  });
  thread.Demarrer();
  thread.AttendreFinInitialisation();
  EXPECT_FALSE(thread.Fini());
  continuer = true;
  thread.AttendreArret();
  EXPECT_TRUE(thread.Fini());
}

TEST(OvThread, ExceptionAvantLeSignalArriveDansAttendreFinInitialisation) {
  struct Cas {
    const char* nom;
    std::function<void(TThreadEssai&)> travail;
    std::wstring attendu;
  } cas[] = {
      {"exception du thread", [](TThreadEssai&) { throw EOvalis(L"échec de l'initialisation"); },
       L"échec de l'initialisation"},
      {"fin sans exception ni signal", [](TThreadEssai&) {}, L"Aucun message"},
      {"exception étrangère", [](TThreadEssai&) { throw 42; }, L"Aucun message"},
  };
  for (auto& c : cas) {
    SCOPED_TRACE(c.nom);
    TThreadEssai thread(nullptr, true, c.travail);
    thread.Demarrer();
    EXPECT_EQ(MessageLeve([&] { thread.AttendreFinInitialisation(); }), c.attendu);
  }
}

TEST(OvThread, ExceptionNonGereeEtPropriete) {
  TThreadEssai thread(nullptr, false, [](TThreadEssai&) { throw EOvalis(L"panne"); });
  EXPECT_FALSE(thread.GetExceptionNonGeree(false, true)) << "nothing before the end";
  thread.Demarrer();
  EXPECT_EQ(MessageLeve([&] { thread.AttendreArret(); }), L"panne");
  // AttendreArret took the exception: the thread has none left.
  EXPECT_FALSE(thread.GetExceptionNonGeree(false, false));
  auto creee = thread.GetExceptionNonGeree(false, true);
  ASSERT_TRUE(creee);
  EXPECT_EQ(MessageLeve([&] { std::rethrow_exception(creee); }), L"Aucun message");
}

TEST(OvThread, ExceptionGardeeTantQuOnNEnDevientPasProprietaire) {
  TThreadEssai thread(nullptr, false, [](TThreadEssai&) { throw EOvalis(L"panne"); });
  thread.Demarrer();
  WaitForSingleObject(thread.Handle(), INFINITE);
  EXPECT_TRUE(thread.GetExceptionNonGeree(false, false));
  EXPECT_TRUE(thread.GetExceptionNonGeree(true, false));
  EXPECT_FALSE(thread.GetExceptionNonGeree(true, false));
}

TEST(OvThread, LaFinDuThreadReveilleSonAttenteEtLaConditionRecoitLException) {
  auto attente = NouvelObjet<TAttenteBloquante>();
  TThreadEssai thread(attente, false, [](TThreadEssai&) {
    Sleep(50);
    throw EOvalis(L"le travail a échoué");
  });
  // The condition that watches the thread raises its exception itself.
  auto condition = ConditionFinDAttente([&] {
    if (!thread.Fini()) return false;
    std::rethrow_exception(thread.GetExceptionNonGeree(true, true));
  });
  thread.Demarrer();
  EXPECT_EQ(MessageLeve([&] { attente->Attendre(condition.Get(), 0); }), L"le travail a échoué");
}

TEST(OvThread, SansAttenteLaFinReveilleLaBouclePrincipale) {
  static std::atomic<int> reveils{0};
  InstallerReveilBouclePrincipale([] { ++reveils; });
  {
    TThreadEssai thread(nullptr, false, [](TThreadEssai&) {});
    thread.Demarrer();
    thread.AttendreArret();
  }
  InstallerReveilBouclePrincipale(nullptr);
  EXPECT_EQ(reveils, 1);
}

TEST(OvThread, DetruireUnThreadJamaisDemarreNExecutePasSonTravail) {
  std::atomic<bool> execute{false};
  {
    TThreadEssai thread(nullptr, true, [&](TThreadEssai&) { execute = true; });
  }
  EXPECT_FALSE(execute);
}

TEST(OvThread, DetruireUnThreadEnCoursLeTermineEtAttendSaFin) {
  std::atomic<bool> sorti{false};
  {
    TThreadEssai thread(nullptr, true, [&](TThreadEssai& t) {
      t.SignalerFinInitialisation();
      while (!t.Termine()) Sleep(1);
      sorti = true;
    });
    thread.Demarrer();
    thread.AttendreFinInitialisation();
  }
  EXPECT_TRUE(sorti);
}

TEST(OvThread, LibereEnFinSeDetruitSeulEtPasseParLeGestionnaireDeTerminaison) {
  auto attente = NouvelObjet<TAttenteBloquante>();
  std::atomic<bool> gestionnaireAppele{false};
  auto* thread = new TThreadEssai(attente, false, [](TThreadEssai&) {});
  thread->SetLibererEnFin(true);
  thread->SetSurTerminaison([&](TOvThread& t) { gestionnaireAppele = !t.Fini(); });
  const DWORD id = thread->IdThread();
  HANDLE copie = nullptr;
  ASSERT_TRUE(DuplicateHandle(GetCurrentProcess(), thread->Handle(), GetCurrentProcess(), &copie, SYNCHRONIZE,
                              FALSE, 0));
  thread->Demarrer();
  EXPECT_EQ(WaitForSingleObject(copie, 5000), WAIT_OBJECT_0) << "thread " << id;
  CloseHandle(copie);
  EXPECT_TRUE(gestionnaireAppele) << "the handler runs before the finished flag is set";
}
