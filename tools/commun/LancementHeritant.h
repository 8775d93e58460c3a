#pragma once
// Starts a program that inherits the caller's standard streams and leaves it running: the
// program's own reader then waits for it too, as for a child of the caller.
#include <windows.h>

#include <string>

#include "core/ErreurSysteme.h"

namespace norvel::outils {

inline void LancerAvecSortiesHeritees(std::wstring ligne) {
  STARTUPINFOW demarrage{};
  demarrage.cb = sizeof(demarrage);
  demarrage.dwFlags = STARTF_USESTDHANDLES;
  demarrage.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  demarrage.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
  demarrage.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  PROCESS_INFORMATION processus{};
  VerifierWin32(CreateProcessW(nullptr, ligne.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &demarrage, &processus),
                L"CreateProcess");
  CloseHandle(processus.hThread);
  CloseHandle(processus.hProcess);
}

}  // namespace norvel::outils
