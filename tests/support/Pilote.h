#pragma once
// The UI driver (tools/pilote) run by a test, also against this program's own modal forms: the
// driver works from its process while this program's main thread runs the form's loop.
#include <windows.h>

#include <functional>
#include <string>

namespace norvel::test {

struct TResultatPilote {
  DWORD Code = 0;
  std::wstring Sortie;
  std::wstring Erreurs;
};

// Runs the driver with its arguments and waits for it (30 s at most).
TResultatPilote Piloter(const std::wstring& arguments);

// "-titre "<titre>" " at the head of the driver's arguments.
std::wstring OptionTitre(const std::wstring& titre);

// Starts the driver on a helper thread, on this program's windows only, runs `modal` (which
// shows a modal form on this thread and returns when it is closed), and answers the driver's
// result. Once the driver has ended,
// the windows of this thread still shown after two seconds are closed (WM_CLOSE), so a drive
// that failed half-way never leaves the test hanging.
TResultatPilote PiloterPendant(const std::wstring& arguments, const std::function<void()>& modal);

}  // namespace norvel::test
