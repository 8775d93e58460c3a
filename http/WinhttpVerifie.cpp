#include "http/WinhttpVerifie.h"

#include <string>

#include "core/Format.h"
#include "core/Messages.h"

namespace norvel {
namespace {

constexpr DWORD SecEBufferTooSmall = 0x80090321;
// WinHTTP asks for a resend of a request it could not send yet; it has no reason to ask
// endlessly, and a loop that never ends would hang the caller without a word.
constexpr int MaxRenvoisImmediats = 20;

}  // namespace

HINTERNET VerifWinHttpOpen(LPCWSTR agent, DWORD typeAcces, LPCWSTR proxy, LPCWSTR pasDeProxyPour, DWORD flags) {
  const HINTERNET h = WinHttpOpen(agent, typeAcces, proxy, pasDeProxyPour, flags);
  VerifierWinhttp(h != nullptr, L"WinHttpOpen");
  return h;
}

HINTERNET VerifWinHttpConnect(HINTERNET session, LPCWSTR serveur, INTERNET_PORT port, DWORD reserve) {
  const HINTERNET h = WinHttpConnect(session, serveur, port, reserve);
  VerifierWinhttp(h != nullptr, L"WinHttpConnect");
  return h;
}

HINTERNET VerifWinHttpOpenRequest(HINTERNET connexion, LPCWSTR verbe, LPCWSTR objet, LPCWSTR version,
                                  LPCWSTR referent, LPCWSTR* typesAcceptes, DWORD flags) {
  const HINTERNET h = WinHttpOpenRequest(connexion, verbe, objet, version, referent, typesAcceptes, flags);
  VerifierWinhttp(h != nullptr, L"WinHttpOpenRequest");
  return h;
}

void VerifWinHttpCloseHandle(HINTERNET handle) { VerifierWinhttp(WinHttpCloseHandle(handle), L"WinHttpCloseHandle"); }

WINHTTP_STATUS_CALLBACK VerifWinHttpSetStatusCallback(HINTERNET handle, WINHTTP_STATUS_CALLBACK callback,
                                                      DWORD notifications, DWORD_PTR reserve) {
  const WINHTTP_STATUS_CALLBACK precedent = WinHttpSetStatusCallback(handle, callback, notifications, reserve);
  VerifierWinhttp(precedent != WINHTTP_INVALID_STATUS_CALLBACK, L"WinHttpSetStatusCallback");
  return precedent;
}

void VerifWinHttpSetOption(HINTERNET handle, DWORD option, LPVOID tampon, DWORD longueur) {
  if (WinHttpSetOption(handle, option, tampon, longueur)) return;
  const DWORD code = GetLastError();
  throw EExceptionWinhttp(code, L"WinHttpSetOption, " + std::to_wstring(option));
}

void VerifWinHttpSetTimeouts(HINTERNET handle, int resolution, int connexion, int envoi, int reception) {
  VerifierWinhttp(WinHttpSetTimeouts(handle, resolution, connexion, envoi, reception), L"WinHttpSetTimeouts");
}

void VerifWinHttpSetCredentials(HINTERNET requete, DWORD cible, DWORD schema, LPCWSTR identifiant,
                                LPCWSTR motDePasse, LPVOID reserve) {
  VerifierWinhttp(WinHttpSetCredentials(requete, cible, schema, identifiant, motDePasse, reserve),
                  L"WinHttpSetCredentials");
}

void VerifWinHttpSendRequest(HINTERNET requete, LPCWSTR entetes, DWORD longueurEntetes, LPVOID donnees,
                             DWORD longueurDonnees, DWORD longueurTotale, DWORD_PTR contexte) {
  for (int renvois = 0;; ++renvois) {
    if (WinHttpSendRequest(requete, entetes, longueurEntetes, donnees, longueurDonnees, longueurTotale, contexte))
      return;
    const DWORD code = GetLastError();
    if (code == ERROR_WINHTTP_RESEND_REQUEST && renvois < MaxRenvoisImmediats) continue;
    if (code == SecEBufferTooSmall)
      throw EExceptionWinhttp(code, Format(Msg::WinhttpSecBufferTooSmall,
                                           {longueurEntetes, longueurDonnees, longueurTotale}));
    throw EExceptionWinhttp(code, L"WinHttpSendRequest");
  }
}

void VerifWinHttpReceiveResponse(HINTERNET requete, LPVOID reserve) {
  VerifierWinhttp(WinHttpReceiveResponse(requete, reserve), L"WinHttpReceiveResponse");
}

void VerifWinHttpQueryDataAvailable(HINTERNET requete, LPDWORD disponible) {
  VerifierWinhttp(WinHttpQueryDataAvailable(requete, disponible), L"WinHttpQueryDataAvailable");
}

void VerifWinHttpReadData(HINTERNET requete, LPVOID tampon, DWORD aLire, LPDWORD lus) {
  VerifierWinhttp(WinHttpReadData(requete, tampon, aLire, lus), L"WinHttpReadData");
}

void VerifWinHttpWriteData(HINTERNET requete, LPCVOID tampon, DWORD aEcrire, LPDWORD ecrits) {
  VerifierWinhttp(WinHttpWriteData(requete, tampon, aEcrire, ecrits), L"WinHttpWriteData");
}

void VerifWinHttpGetDefaultProxyConfiguration(WINHTTP_PROXY_INFO* info) {
  VerifierWinhttp(WinHttpGetDefaultProxyConfiguration(info), L"WinHttpGetDefaultProxyConfiguration");
}

void VerifWinHttpSetDefaultProxyConfiguration(WINHTTP_PROXY_INFO* info) {
  VerifierWinhttp(WinHttpSetDefaultProxyConfiguration(info), L"WinHttpSetDefaultProxyConfiguration");
}

}  // namespace norvel
