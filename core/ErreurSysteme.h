#pragma once
// Failed operating-system calls become EOvalis with "Erreur interne (%2:s, 0x%0:.8x) : %1:s":
// the error code, the system's own text for it and the name of the failed call.
#include <windows.h>

#include <string>
#include <string_view>

#include "core/Exceptions.h"

namespace norvel {

// The system's text for an error code (from a module's message table when one is given),
// without the trailing line break; empty when the system has none.
std::wstring TexteErreurSysteme(DWORD code, HMODULE module = nullptr);

// The generic system error for the thread's last error, ready to be raised.
EOvalis ErreurSysteme(std::wstring_view complInfo);
// The same with an explicit code and a message whose %0 is the code, %1 the system text and
// %2 the complementary text.
EOvalis ErreurSystemeCode(DWORD code, std::wstring_view message, std::wstring_view complInfo);

// One-line checks of Win32 calls: raise the generic system error naming the call.
inline void VerifierWin32(BOOL ok, std::wstring_view nomAppel) {
  if (!ok) throw ErreurSysteme(nomAppel);
}
template <class T>
T* VerifierPointeur(T* resultat, std::wstring_view nomAppel) {
  if (resultat == nullptr) throw ErreurSysteme(nomAppel);
  return resultat;
}
inline HANDLE VerifierHandle(HANDLE h, std::wstring_view nomAppel) {
  if (h == nullptr || h == INVALID_HANDLE_VALUE) throw ErreurSysteme(nomAppel);
  return h;
}
// Registry and other calls that answer an error code instead of setting the last error.
void VerifierCode(LSTATUS code, std::wstring_view nomAppel);

}  // namespace norvel
