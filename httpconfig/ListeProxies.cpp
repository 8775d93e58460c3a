#include "httpconfig/ListeProxies.h"

#include "core/Chaines.h"

namespace norvel {

namespace {

// The non-empty pieces of a text cut at every run of spaces and ";".
TypeTabChaines Jetons(std::wstring_view texte) {
  TypeTabChaines jetons;
  std::wstring courant;
  for (const wchar_t c : std::wstring(texte) + L";") {
    if (c == L' ' || c == L';') {
      if (!courant.empty()) jetons.push_back(std::move(courant));
      courant.clear();
    } else {
      courant += c;
    }
  }
  return jetons;
}

std::wstring Joindre(const TypeTabChaines& morceaux) {
  std::wstring texte;
  for (const std::wstring& morceau : morceaux) texte += (texte.empty() ? L"" : L";") + morceau;
  return texte;
}

}  // namespace

std::wstring EcrireListeProxies(const TypeTabProxiesHttp& proxies) {
  TypeTabChaines entrees;
  for (const TypeProxyHttp& proxy : proxies)
    entrees.push_back(proxy.Protocole.empty() ? proxy.Adresse : proxy.Protocole + L"=" + proxy.Adresse);
  return Joindre(entrees);
}

TypeTabProxiesHttp LireListeProxies(std::wstring_view texte) {
  TypeTabProxiesHttp proxies;
  for (const std::wstring& jeton : Jetons(texte)) {
    const size_t egal = jeton.find(L'=');
    proxies.push_back(egal == std::wstring::npos ? TypeProxyHttp{L"", jeton}
                                                 : TypeProxyHttp{jeton.substr(0, egal), jeton.substr(egal + 1)});
  }
  return proxies;
}

std::wstring AdressePourProtocole(const TypeTabProxiesHttp& proxies, std::wstring_view protocole) {
  for (const TypeProxyHttp& proxy : proxies)
    if (proxy.Protocole.empty() || MemeTexteSansCasse(proxy.Protocole, protocole)) return proxy.Adresse;
  return {};
}

TypeTabProxiesHttp ListeProxiesDepuis(const std::wstring& proxyHttp, const std::wstring& proxyHttps) {
  if (proxyHttp.empty() && proxyHttps.empty()) return {};
  if (proxyHttps.empty()) return {{L"http", proxyHttp}};
  if (proxyHttp.empty()) return {{L"https", proxyHttps}};
  if (proxyHttp == proxyHttps) return {{L"", proxyHttp}};
  return {{L"http", proxyHttp}, {L"https", proxyHttps}};
}

std::wstring EcrireListeExceptions(const TypeTabChaines& exceptions) { return Joindre(exceptions); }

TypeTabChaines LireListeExceptions(std::wstring_view texte) { return Jetons(texte); }

}  // namespace norvel
