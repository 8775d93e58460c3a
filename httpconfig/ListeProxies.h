#pragma once
// WinHTTP's proxy-list syntax: entries "protocole=adresse", or "adresse" alone for any
// protocol, joined with ";"; bypass lists are entries joined with ";".
#include <string>
#include <string_view>
#include <vector>

namespace norvel {

using TypeTabChaines = std::vector<std::wstring>;

struct TypeProxyHttp {
  std::wstring Protocole;  // "http", "https", or empty for any protocol
  std::wstring Adresse;    // host:port

  static TypeProxyHttp Create(std::wstring protocole, std::wstring adresse) {
    return {std::move(protocole), std::move(adresse)};
  }
  bool operator==(const TypeProxyHttp&) const = default;
};
using TypeTabProxiesHttp = std::vector<TypeProxyHttp>;

std::wstring EcrireListeProxies(const TypeTabProxiesHttp& proxies);
// Tokens are cut at every run of spaces and ";"; a token with "=" names its protocol before
// the first "=".
TypeTabProxiesHttp LireListeProxies(std::wstring_view texte);
// The first entry for that protocol (case-insensitive) or for any protocol; empty when none.
std::wstring AdressePourProtocole(const TypeTabProxiesHttp& proxies, std::wstring_view protocole);
// One entry without protocol when both are equal, otherwise one per protocol given.
TypeTabProxiesHttp ListeProxiesDepuis(const std::wstring& proxyHttp, const std::wstring& proxyHttps);

std::wstring EcrireListeExceptions(const TypeTabChaines& exceptions);
// Entries separated by ";" and spaces.
TypeTabChaines LireListeExceptions(std::wstring_view texte);

}  // namespace norvel
