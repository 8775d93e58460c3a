#pragma once
// What the installation manager's tests share: a subscriber that records the wizard's calls,
// a special-folder service on a test folder, and the user interface's main loop run by the test
// (the manager's idle passes counted; a wait that would hang fails instead).
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <ostream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "platform/AttenteApplication.h"
#include "platform/ServicesApplication.h"
#include "core/Chaines.h"
#include "core/Handle.h"
#include "core/ObjetInterfacable.h"
#include "install/EvenementInstallation.h"
#include "support/DossierSpecialFixe.h"
#include "support/BouclePrincipaleVide.h"

namespace norvel::test {

struct TAppel {
  std::wstring Operation;
  std::wstring Argument;
  int Passage = 0;  // the idle pass that delivered it
  DWORD Thread = 0;
  bool operator==(const TAppel& a) const { return Operation == a.Operation && Argument == a.Argument; }
};

inline void PrintTo(const TAppel& a, std::ostream* os) {
  *os << VersUtf8(a.Operation) << "(" << VersUtf8(a.Argument) << ")";
}

class TAbonneEnregistreur : public TImplemente<TObjetInterfacable, IAbonneEvenementInstallationsClientLourd> {
 public:
  explicit TAbonneEnregistreur(const int* passage = nullptr) : FPassage(passage) {}
  void RaccourciPortailCree() override { Noter(L"RaccourciPortailCree"); }
  void EchecRaccourciPortail(const std::wstring& m) override { Noter(L"EchecRaccourciPortail", m); }
  void DesinstallationEnCours(const std::wstring& n) override { Noter(L"DesinstallationEnCours", n); }
  void EchecDesinstallation(const std::wstring& m) override { Noter(L"EchecDesinstallation", m); }
  void TelechargementEnCours() override { Noter(L"TelechargementEnCours"); }
  void EchecTelechargement(const std::wstring& m) override { Noter(L"EchecTelechargement", m); }
  void InstallationEnCours() override { Noter(L"InstallationEnCours"); }
  void EchecInstallation(const std::wstring& m) override { Noter(L"EchecInstallation", m); }
  void InstallationTerminee() override { Noter(L"InstallationTerminee"); }
  void LancementTermine() override { Noter(L"LancementTermine"); }
  void EchecLancement(const std::wstring& m) override { Noter(L"EchecLancement", m); }
  // Kept apart: how many come depends on the link's speed.
  void ProgressionTelechargement(uint64_t recus, uint64_t total) override { Progressions.emplace_back(recus, total); }

  std::vector<TAppel> Appels;
  std::vector<std::pair<uint64_t, uint64_t>> Progressions;

 private:
  void Noter(const wchar_t* operation, const std::wstring& argument = {}) {
    Appels.push_back({operation, argument, FPassage ? *FPassage : 0, GetCurrentThreadId()});
  }
  const int* FPassage;
};

// The main loop of the user-interface thread, for the life of the object: its idle passes run
// the idle services (the installation manager among them) and are counted.
class TBoucleInstallation {
 public:
  TBoucleInstallation() {
    FApplication.Initialiser();
    FApplication.SetSurInactivite([this](bool& fini) {
      ++Passage;
      fini = TServicesApplication::Invoquer(dsiIdle) && fini;
    });
  }
  ~TBoucleInstallation() {
    TServicesApplication::Arreter();
    FApplication.SetSurInactivite(nullptr);
    test::ViderBouclePrincipale(FApplication);
  }
  TBoucleInstallation(const TBoucleInstallation&) = delete;
  TBoucleInstallation& operator=(const TBoucleInstallation&) = delete;

  // Runs the loop (no timer: only real wake-ups) until the condition holds; fails after the
  // limit instead of hanging when a wake-up went missing.
  void AttendreQue(const std::function<bool()>& condition,
                   std::chrono::milliseconds limite = std::chrono::seconds(15)) {
    THandle fin(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    std::atomic<bool> expire{false};
    std::thread veilleur([&] {
      if (WaitForSingleObject(fin.Get(), static_cast<DWORD>(limite.count())) == WAIT_TIMEOUT) {
        expire = true;
        TApplicationGraphique::Reveiller();
      }
    });
    auto c = ConditionFinDAttente([&] { return expire || condition(); });
    FAttente->Attendre(c.Get(), 0);
    SetEvent(fin.Get());
    veilleur.join();
    ASSERT_FALSE(expire) << "la boucle s'est endormie avec du travail en attente";
  }

  TApplicationGraphique& Application() { return FApplication; }

  int Passage = 0;

 private:
  TApplicationGraphique& FApplication = TApplicationGraphique::Instance();
  TRef<TAttenteApplicationFmx> FAttente = NouvelObjet<TAttenteApplicationFmx>();
};

}  // namespace norvel::test
