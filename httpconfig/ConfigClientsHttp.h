#pragma once
// How the program reaches the Internet: the revisioned HTTP configuration. Plain data with
// value semantics, not thread-safe by itself: the configuration thread keeps the master copy
// under its lock, other threads work on copies and send changes with their copy's revision.
//
// Every change of a field increments FRevision. Every list holds trimmed, non-empty entries,
// distinct and in ascending order for the user locale's case-insensitive comparison.
#include <cstdint>
#include <string>
#include <string_view>

#include "http/InfoHttp.h"
#include "httpconfig/ListeProxies.h"
#include "httpconfig/ResultatsConfigClientsHttp.h"

struct IXMLDOMElement;

namespace norvel {

// The built-in test address, tested before the configured ones: a page of the publisher's site.
inline constexpr const wchar_t* UrlTestIntegree = L"https://www.ovalis.fr/trs.html";

class TypeConfigClientsHttp {
 public:
  int32_t Revision() const { return FRevision; }
  void IncRevision() { ++FRevision; }

  const std::wstring& UserAgent() const { return FUserAgent; }
  bool UtiliserVersionsTLSDuSysteme() const { return FUtiliserVersionsTLSDuSysteme; }
  bool SansSupportTls1_3() const { return FSansSupportTls1_3; }
  bool AnciennesVersionsTLS() const { return FAnciennesVersionsTLS; }
  TypeGenreConfigProxyClientsHttp GenreConfigProxy() const { return FGenreConfigProxy; }
  const std::wstring& ProxyHttpSysteme() const { return FProxyHttpSysteme; }
  const std::wstring& ProxyHttpsSysteme() const { return FProxyHttpsSysteme; }
  const TypeTabChaines& TabExceptionsProxiesSysteme() const { return FTabExceptionsProxiesSysteme; }
  const std::wstring& ProxyHttpOvalis() const { return FProxyHttpOvalis; }
  const std::wstring& ProxyHttpsOvalis() const { return FProxyHttpsOvalis; }
  const TypeTabChaines& TabExceptionsProxiesOvalis() const { return FTabExceptionsProxiesOvalis; }
  const std::wstring& UrlConfigProxies() const { return FUrlConfigProxies; }
  const TypeTabChaines& TabProxiesConnus() const { return FTabProxiesConnus; }
  const TypeTabChaines& TabExceptionsProxiesConnues() const { return FTabExceptionsProxiesConnues; }
  const TypeTabChaines& TabUrlConfigProxiesConnues() const { return FTabUrlConfigProxiesConnues; }
  const TypeTabChaines& TabUrlTest() const { return FTabUrlTest; }

  // Trimmed; a proxy or script address that changed also becomes known.
  void SetUserAgent(std::wstring_view valeur);
  void SetProxyHttpSysteme(std::wstring_view valeur);
  void SetProxyHttpsSysteme(std::wstring_view valeur);
  void SetProxyHttpOvalis(std::wstring_view valeur);
  void SetProxyHttpsOvalis(std::wstring_view valeur);
  void SetUrlConfigProxies(std::wstring_view valeur);
  void SetUtiliserVersionsTLSDuSysteme(bool valeur);
  void SetSansSupportTls1_3(bool valeur);
  void SetAnciennesVersionsTLS(bool valeur);
  void SetGenreConfigProxy(TypeGenreConfigProxyClientsHttp valeur);
  // List setters: the list is rebuilt (one revision, even for the same content, then one per
  // entry added); the bypass lists also make their entries known.
  void SetTabExceptionsProxiesSysteme(const TypeTabChaines& valeur);
  void SetTabExceptionsProxiesOvalis(const TypeTabChaines& valeur);
  void SetTabProxiesConnus(const TypeTabChaines& valeur);
  void SetTabExceptionsProxiesConnues(const TypeTabChaines& valeur);
  void SetTabUrlConfigProxiesConnues(const TypeTabChaines& valeur);
  void SetTabUrlTest(const TypeTabChaines& valeur);

  void AjouterProxyConnu(std::wstring_view proxy);
  // The machine-wide proxies cannot be forgotten.
  bool ProxyConnuModifiable(std::wstring_view proxy) const;
  // Also clears the own proxies equal to it and forgets its credentials.
  void SupprimerProxyConnu(std::wstring_view proxy);
  void AjouterExceptionProxiesConnue(std::wstring_view exception);
  bool ExceptionProxiesConnueModifiable(std::wstring_view exception) const;
  void SupprimerExceptionProxiesConnue(std::wstring_view exception);
  void AjouterUrlConfigProxiesConnue(std::wstring_view url);
  void SupprimerUrlConfigProxiesConnue(std::wstring_view url);
  void AjouterUrlTest(std::wstring_view url);
  void SupprimerUrlTest(std::wstring_view url);
  bool UrlTestModifiable(std::wstring_view url) const;
  // The built-in test address, then the configured ones.
  TypeTabChaines GetTabUrlTestPlusBuiltIn() const;
  // Inserts the value as given (untrimmed) at its sorted place when absent; no revision.
  static void InsererDansTabExceptions(std::wstring_view exception, TypeTabChaines& exceptions);

  // Stored credentials worth offering to `proxy`, which offered `schemas` (and prefers
  // `premierSchema`): Digest, then Basic. infoAuth holds the credentials the caller tried last;
  // the same credentials are never offered twice in a row under the same scheme.
  bool TryGetInfoAuthProxy(std::wstring_view proxy, uint32_t schemas, uint32_t premierSchema,
                           uint32_t& schemaRetenu, TypeInfoAuthHttp& infoAuth);
  void SetInfoAuthProxy(std::wstring_view proxy, const TypeInfoAuthHttp& infoAuth);
  TypeTabChaines GetTabProxiesAvecInfoAuth() const { return FTabProxiesAvecInfoAuth; }
  void SupprimerInfoAuthDeProxy(std::wstring_view proxy);

  // A copy of everything but the credentials, which never leave the master.
  TypeConfigClientsHttp Dupliquer() const;

  // The file form, the element "Version1" under the root of the configuration file. Writing
  // replaces that element and writes every stored field, empty ones included; reading goes
  // through the setters (so the known lists follow) and leaves everything as it is when the
  // element is missing. The credentials are written and read in their obfuscated text form.
  void LireXml(IXMLDOMElement* noeudRacine);
  void EcrireXml(IXMLDOMElement* noeudRacine) const;

  // WinHTTP's proxy settings for a kind: named proxies for the explicit kinds that have one,
  // no proxy otherwise (the automatic kinds resolve their proxy per request).
  TypeInfoProxyHttp ConstruireInfoProxyDeGenre(TypeGenreConfigProxyClientsHttp genre) const;
  TypeInfoProxyHttp ConstruireInfoProxy() const { return ConstruireInfoProxyDeGenre(FGenreConfigProxy); }
  TypeInfoCreationSessionClientsHttp ConstruireInfoCreation(bool anciennesVersionsTLS) const;
  // The machine-wide WinHTTP settings into the "...Systeme" fields.
  void AffecterInfoProxySysteme(const TypeInfoProxyHttp& infoProxy);
  void AppliquerPropositionModif(const TypePropositionModifConfigClientsHttp& proposition);

  // True when the proxy towards that server is settled without a script (proxy: the proxy,
  // empty for direct); false when the script at urlAutoProxy (discovered when empty) decides.
  bool TryGetProxyEffectif(std::wstring_view nomServeur, bool https, std::wstring& proxy,
                           std::wstring& urlAutoProxy) const;
  std::wstring GetProxyEffectifConfigSysteme(std::wstring_view nomServeur, bool https) const;

 private:
  void SetTexte(std::wstring& champ, std::wstring_view valeur, TypeTabChaines* connus = nullptr);
  template <class T>
  void SetValeur(T& champ, T valeur);
  void SetListe(TypeTabChaines& champ, const TypeTabChaines& valeur, TypeTabChaines* connus = nullptr);
  void Ajouter(TypeTabChaines& liste, std::wstring_view valeur);
  void Supprimer(TypeTabChaines& liste, std::wstring_view valeur);
  ptrdiff_t IndiceInfoAuth(std::wstring_view proxy) const;

  int32_t FRevision = 0;
  std::wstring FUserAgent;
  bool FUtiliserVersionsTLSDuSysteme = false;
  bool FSansSupportTls1_3 = false;
  bool FAnciennesVersionsTLS = false;
  TypeGenreConfigProxyClientsHttp FGenreConfigProxy = TypeGenreConfigProxyClientsHttp::gcpConfigSysteme;
  std::wstring FProxyHttpSysteme;
  std::wstring FProxyHttpsSysteme;
  TypeTabChaines FTabExceptionsProxiesSysteme;
  std::wstring FProxyHttpOvalis;
  std::wstring FProxyHttpsOvalis;
  TypeTabChaines FTabExceptionsProxiesOvalis;
  std::wstring FUrlConfigProxies;
  TypeTabChaines FTabProxiesConnus;
  TypeTabChaines FTabExceptionsProxiesConnues;
  TypeTabChaines FTabUrlConfigProxiesConnues;
  TypeTabChaines FTabUrlTest;
  // Parallel: entry i of one belongs to entry i of the other; names in ascending order.
  TypeTabChaines FTabProxiesAvecInfoAuth;
  std::vector<TypeInfoAuthHttp> FTabInfoAuth;
};

// The effective proxy towards a server for one pair of proxies and their bypass entries: none
// when the proxy for the scheme is empty, or when an entry equals the server's name, or is
// "<local>" for a name without a dot. Entries are compared whole, without wildcards.
std::wstring ProxyEffectif(const std::wstring& proxyHttp, const std::wstring& proxyHttps,
                           const TypeTabChaines& exceptions, std::wstring_view nomServeur, bool https);

}  // namespace norvel
