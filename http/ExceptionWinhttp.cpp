#include "http/ExceptionWinhttp.h"

#include "core/ErreurSysteme.h"
#include "core/Format.h"
#include "core/Messages.h"
#include "http/ConseilControleurDomaine.h"

namespace norvel {

std::wstring TexteSystemeWinhttp(DWORD code) {
  // Normally already loaded by the call that failed; otherwise kept for the process's life,
  // which an error path must not pay for twice.
  static const HMODULE winhttp = [] {
    const HMODULE charge = GetModuleHandleW(L"winhttp.dll");
    return charge ? charge : LoadLibraryExW(L"winhttp.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  }();
  std::wstring texte = winhttp ? TexteErreurSysteme(code, winhttp) : std::wstring();
  if (texte.empty()) texte = TexteErreurSysteme(code);
  return texte;
}

namespace {

constexpr DWORD CodeClePriveeInaccessible = 12186;  // ERROR_WINHTTP_CLIENT_CERT_NO_ACCESS_PRIVATE_KEY

// Codes that older winhttp.dll message tables lack (mingw's winhttp.h lacks most of them too).
struct TypeTexteDeSecours {
  DWORD Code;
  const wchar_t* Texte;
};
constexpr TypeTexteDeSecours TextesDeSecours[] = {
    {12153, Msg::WinhttpEnteteInvalide},          // ERROR_WINHTTP_INVALID_HEADER
    {12178, Msg::WinhttpAucunProxy},              // ERROR_WINHTTP_AUTO_PROXY_SERVICE_ERROR
    {12185, Msg::WinhttpCertificatSansClePrivee},  // ERROR_WINHTTP_CLIENT_CERT_NO_PRIVATE_KEY
    {CodeClePriveeInaccessible, Msg::WinhttpClePriveeInaccessible},
};

}  // namespace

std::wstring TexteErreurWinhttp(DWORD code) {
  std::wstring texte = TexteSystemeWinhttp(code);
  if (!texte.empty()) return texte;
  for (const auto& secours : TextesDeSecours)
    if (secours.Code == code) return secours.Texte;
  return Msg::ErreurNonPrecisee;
}

std::wstring MessageExceptionWinhttp(DWORD code, std::wstring_view complInfo) {
  std::wstring message = Msg::EchecRequeteHttp;
  if (code == 0) {
    if (!complInfo.empty()) message += L" (" + std::wstring(complInfo) + L")";
    return message;
  }
  message += L" (";
  if (!complInfo.empty()) message += std::wstring(complInfo) + L" - ";
  message += Format(L"0x%.8x)\r\n", {code}) + TexteErreurWinhttp(code);
  // A private key out of reach is often the read-only domain controller's doing.
  if (code == CodeClePriveeInaccessible) message += ConseilControleurDomaineLectureSeule();
  return message;
}

EExceptionWinhttp::EExceptionWinhttp(DWORD code, std::wstring_view complInfo)
    : EOvalis(MessageExceptionWinhttp(code, complInfo)), FCode(code) {}

EExceptionWinhttp EExceptionWinhttp::DerniereErreur(std::wstring_view complInfo) {
  const DWORD code = GetLastError();
  return EExceptionWinhttp(code, complInfo);
}

}  // namespace norvel
