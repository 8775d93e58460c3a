#pragma once
// Failures of WinHTTP calls: "Échec de la requête http", the failed call, the error code and
// WinHTTP's own explanation (or ours when winhttp.dll has none).
#include <windows.h>

#include <string>
#include <string_view>

#include "core/Exceptions.h"

namespace norvel {

class EExceptionWinhttp : public EOvalis {
 public:
  // complInfo: as a rule the name of the failed function, possibly with details.
  // code 0: a failure without a platform code.
  EExceptionWinhttp(DWORD code, std::wstring_view complInfo);
  DWORD Code() const noexcept { return FCode; }

  // The thread's last error, read before anything else can overwrite it.
  static EExceptionWinhttp DerniereErreur(std::wstring_view complInfo);

 private:
  DWORD FCode;
};

// WinHTTP's text for a code (winhttp.dll's message table, then the system's for the plain
// Win32 codes WinHTTP also returns); empty when neither has one.
std::wstring TexteSystemeWinhttp(DWORD code);
// The same, or our text for the codes the table may lack, or "Erreur non précisée.".
std::wstring TexteErreurWinhttp(DWORD code);

// The full message of EExceptionWinhttp.
std::wstring MessageExceptionWinhttp(DWORD code, std::wstring_view complInfo);

}  // namespace norvel
