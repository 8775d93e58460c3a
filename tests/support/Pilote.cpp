#include "support/Pilote.h"

#include <atomic>
#include <chrono>
#include <exception>
#include <future>
#include <thread>

#include "support/CheminsTest.h"
#include "support/ProcessusEnfant.h"

namespace norvel::test {

TResultatPilote Piloter(const std::wstring& arguments) {
  const auto r = LancerProgrammeEnfant(L"", arguments, FichierBuild(L"tools\\pilote.exe"), true);
  return {r.CodeSortie, r.Sortie, r.Erreurs};
}

std::wstring OptionTitre(const std::wstring& titre) { return L"-titre \"" + titre + L"\" "; }

TResultatPilote PiloterPendant(const std::wstring& arguments, const std::function<void()>& modal) {
  const DWORD thread = GetCurrentThreadId();
  std::atomic<bool> fini = false;
  auto pilote = std::async(std::launch::async, [&] {
    // A driver that cannot start still closes what the modal part waits on.
    TResultatPilote resultat;
    std::exception_ptr echec;
    try {
      // Only this program's windows: other test programs may show the same dialogs meanwhile.
      resultat = Piloter(L"-processus " + std::to_wstring(GetCurrentProcessId()) + L" " + arguments);
    } catch (...) {
      echec = std::current_exception();
    }
    const auto limite = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (!fini) {
      if (std::chrono::steady_clock::now() >= limite) {
        EnumThreadWindows(
            thread,
            [](HWND fenetre, LPARAM) -> BOOL {
              if (IsWindowVisible(fenetre)) PostMessageW(fenetre, WM_CLOSE, 0, 0);
              return TRUE;
            },
            0);
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    if (echec) std::rethrow_exception(echec);
    return resultat;
  });
  try {
    modal();
  } catch (...) {
    fini = true;
    pilote.wait();
    throw;
  }
  fini = true;
  return pilote.get();
}

}  // namespace norvel::test
