#pragma once
// Checked WinHTTP calls: the same arguments as the platform function; a failure raises
// EExceptionWinhttp with the thread's last error and the function's name, at once, without
// retry (except the resend that WinHttpSendRequest itself asks for).
// WinHttpQueryHeaders and WinHttpQueryAuthSchemes are left unchecked on purpose: their callers
// read a failure as an empty answer. WinHttpCrackUrl and WinHttpCreateUrl raise from
// TypeUrlDecomposee, whose callers may also ask without raising.
#include <windows.h>
#include <winhttp.h>

#include <string_view>

#include "http/ExceptionWinhttp.h"

namespace norvel {

// The one check behind every wrapper.
inline void VerifierWinhttp(bool reussi, std::wstring_view nomFonction) {
  if (!reussi) throw EExceptionWinhttp::DerniereErreur(nomFonction);
}

HINTERNET VerifWinHttpOpen(LPCWSTR agent, DWORD typeAcces, LPCWSTR proxy, LPCWSTR pasDeProxyPour, DWORD flags);
HINTERNET VerifWinHttpConnect(HINTERNET session, LPCWSTR serveur, INTERNET_PORT port, DWORD reserve);
HINTERNET VerifWinHttpOpenRequest(HINTERNET connexion, LPCWSTR verbe, LPCWSTR objet, LPCWSTR version,
                                  LPCWSTR referent, LPCWSTR* typesAcceptes, DWORD flags);
void VerifWinHttpCloseHandle(HINTERNET handle);
WINHTTP_STATUS_CALLBACK VerifWinHttpSetStatusCallback(HINTERNET handle, WINHTTP_STATUS_CALLBACK callback,
                                                      DWORD notifications, DWORD_PTR reserve);
// The message names the option: "WinHttpSetOption, 38".
void VerifWinHttpSetOption(HINTERNET handle, DWORD option, LPVOID tampon, DWORD longueur);
void VerifWinHttpSetTimeouts(HINTERNET handle, int resolution, int connexion, int envoi, int reception);
void VerifWinHttpSetCredentials(HINTERNET requete, DWORD cible, DWORD schema, LPCWSTR identifiant,
                                LPCWSTR motDePasse, LPVOID reserve);
// Repeats the call while WinHTTP answers ERROR_WINHTTP_RESEND_REQUEST; SEC_E_BUFFER_TOO_SMALL
// gets a message with the three lengths.
void VerifWinHttpSendRequest(HINTERNET requete, LPCWSTR entetes, DWORD longueurEntetes, LPVOID donnees,
                             DWORD longueurDonnees, DWORD longueurTotale, DWORD_PTR contexte);
void VerifWinHttpReceiveResponse(HINTERNET requete, LPVOID reserve);
void VerifWinHttpQueryDataAvailable(HINTERNET requete, LPDWORD disponible);
void VerifWinHttpReadData(HINTERNET requete, LPVOID tampon, DWORD aLire, LPDWORD lus);
void VerifWinHttpWriteData(HINTERNET requete, LPCVOID tampon, DWORD aEcrire, LPDWORD ecrits);
void VerifWinHttpGetDefaultProxyConfiguration(WINHTTP_PROXY_INFO* info);
void VerifWinHttpSetDefaultProxyConfiguration(WINHTTP_PROXY_INFO* info);

}  // namespace norvel
