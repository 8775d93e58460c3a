#pragma once
// What sessions and requests are made from: proxy settings in WinHTTP's own terms, credentials
// for one authentication target, and the creation record of a session.
#include <windows.h>
#include <winhttp.h>

#include <cstdint>
#include <string>

#include "core/ValeursOffusquees.h"

namespace norvel {

struct TypeInfoProxyHttp {
  // WinHTTP access type: 0 the system's default proxy, 1 no proxy, 3 named proxies.
  uint32_t GenreConfig = WINHTTP_ACCESS_TYPE_DEFAULT_PROXY;
  std::wstring ServeurProxy;   // WinHTTP proxy list ("http=a:1;https=b:2"), empty when none
  std::wstring PasDeProxyPour;  // bypass entries separated by ";"

  // Case-sensitive on both strings.
  bool operator==(const TypeInfoProxyHttp&) const = default;

  // WinHTTP's record pointing into this one (an empty string becomes a null pointer): valid
  // while this record lives unchanged.
  WINHTTP_PROXY_INFO VersPlateforme() const;
  static TypeInfoProxyHttp DepuisPlateforme(const WINHTTP_PROXY_INFO& info);
  TypeInfoProxyHttp Dupliquer() const { return *this; }

  // The machine-wide default proxy configuration (WinHttpGetDefaultProxyConfiguration /
  // WinHttpSetDefaultProxyConfiguration).
  static TypeInfoProxyHttp GetConfigProxyParDefaut();
  void SetConfigProxyParDefaut() const;
};

struct TypeInfoAuthHttp {
  uint32_t Schema = 0;  // WINHTTP_AUTH_SCHEME_*: 1 Basic, 2 NTLM, 8 Digest, 16 Negotiate
  TypeLoginOffusque Identifiant;
  TypeMotDePasseOffusque MotDePasse;

  // A zero-filled record: no credentials.
  bool EstVide() const { return Schema == 0 && Identifiant.EstAbsente() && MotDePasse.EstAbsente(); }
  // Scheme, login and password compared as values (each with its own comparison).
  bool MemeValeurQue(const TypeInfoAuthHttp& autre) const {
    return Schema == autre.Schema && Identifiant.MemeValeurQue(autre.Identifiant) &&
           MotDePasse.MemeValeurQue(autre.MotDePasse);
  }
  TypeInfoAuthHttp Dupliquer() const { return *this; }
};

struct TypeInfoCreationSessionClientsHttp {
  std::wstring UserAgent;
  TypeInfoProxyHttp InfoProxy;
  bool UtiliserVersionsTLSDuSysteme = false;
  bool SansSupportTls1_3 = false;
  bool AnciennesVersionsTLS = false;
};

}  // namespace norvel
