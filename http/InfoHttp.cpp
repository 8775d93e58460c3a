#include "http/InfoHttp.h"

#include "http/WinhttpVerifie.h"

namespace norvel {

namespace {
LPWSTR PointeurOuNul(const std::wstring& texte) { return texte.empty() ? nullptr : const_cast<LPWSTR>(texte.c_str()); }
std::wstring TexteOuVide(LPCWSTR texte) { return texte ? std::wstring(texte) : std::wstring(); }
}  // namespace

WINHTTP_PROXY_INFO TypeInfoProxyHttp::VersPlateforme() const {
  return {GenreConfig, PointeurOuNul(ServeurProxy), PointeurOuNul(PasDeProxyPour)};
}

TypeInfoProxyHttp TypeInfoProxyHttp::DepuisPlateforme(const WINHTTP_PROXY_INFO& info) {
  return {info.dwAccessType, TexteOuVide(info.lpszProxy), TexteOuVide(info.lpszProxyBypass)};
}

TypeInfoProxyHttp TypeInfoProxyHttp::GetConfigProxyParDefaut() {
  WINHTTP_PROXY_INFO info{};
  VerifWinHttpGetDefaultProxyConfiguration(&info);
  // WinHTTP hands over two strings that are ours to free.
  TypeInfoProxyHttp resultat = DepuisPlateforme(info);
  if (info.lpszProxy) GlobalFree(info.lpszProxy);
  if (info.lpszProxyBypass) GlobalFree(info.lpszProxyBypass);
  return resultat;
}

void TypeInfoProxyHttp::SetConfigProxyParDefaut() const {
  WINHTTP_PROXY_INFO info = VersPlateforme();
  VerifWinHttpSetDefaultProxyConfiguration(&info);
}

}  // namespace norvel
