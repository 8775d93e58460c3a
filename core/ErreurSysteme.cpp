#include "core/ErreurSysteme.h"

#include "core/Format.h"
#include "core/Messages.h"

namespace norvel {

std::wstring TexteErreurSysteme(DWORD code, HMODULE module) {
  wchar_t* tampon = nullptr;
  const DWORD flags = FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS |
                      (module ? FORMAT_MESSAGE_FROM_HMODULE : FORMAT_MESSAGE_FROM_SYSTEM);
  const DWORD longueur =
      FormatMessageW(flags, module, code, 0, reinterpret_cast<wchar_t*>(&tampon), 0, nullptr);
  std::wstring texte;
  if (longueur != 0 && tampon != nullptr) texte.assign(tampon, longueur);
  if (tampon) LocalFree(tampon);
  while (!texte.empty() && (texte.back() == L'\n' || texte.back() == L'\r' || texte.back() == L' '))
    texte.pop_back();
  return texte;
}

EOvalis ErreurSystemeCode(DWORD code, std::wstring_view message, std::wstring_view complInfo) {
  return EOvalis(Format(message, {code, TexteErreurSysteme(code), std::wstring(complInfo)}));
}

EOvalis ErreurSysteme(std::wstring_view complInfo) {
  const DWORD code = GetLastError();
  return ErreurSystemeCode(code, Msg::ErreurInterne, complInfo);
}

void VerifierCode(LSTATUS code, std::wstring_view nomAppel) {
  if (code != ERROR_SUCCESS) throw ErreurSystemeCode(static_cast<DWORD>(code), Msg::ErreurInterne, nomAppel);
}

}  // namespace norvel
