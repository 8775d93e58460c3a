#pragma once
// What the tests, the searches and the wizard exchange about the HTTP configuration: the kind
// of configuration, proposals for a changed one, test results and proxies asking for
// credentials.
#include <cstdint>
#include <string>
#include <vector>

#include "httpconfig/ListeProxies.h"

namespace norvel {

// Stored by name in the configuration file.
enum class TypeGenreConfigProxyClientsHttp : uint8_t {
  gcpConfigSysteme,  // the machine-wide WinHTTP proxies (the "...Systeme" fields)
  gcpConfigOvalis,   // the program's own proxies (the "...Ovalis" fields)
  gcpUrlConfig,      // the automatic configuration script at FUrlConfigProxies, per request
  gcpWpad,           // the script discovered by WPAD, per request
};

// Only the fields of its kind mean something: the three "...Ovalis" for gcpConfigOvalis,
// UrlConfigProxies for gcpUrlConfig.
struct TypePropositionModifConfigClientsHttp {
  TypeGenreConfigProxyClientsHttp GenreConfigProxy = TypeGenreConfigProxyClientsHttp::gcpConfigSysteme;
  std::wstring ProxyHttpOvalis;
  std::wstring ProxyHttpsOvalis;
  TypeTabChaines TabExceptionsProxiesOvalis;
  std::wstring UrlConfigProxies;

  TypePropositionModifConfigClientsHttp Dupliquer() const { return *this; }
  bool operator==(const TypePropositionModifConfigClientsHttp&) const = default;
};
using TypeTabPropositionsModifConfigClientsHttp = std::vector<TypePropositionModifConfigClientsHttp>;

enum class TypeEtatTestConfigClientsHttp : uint8_t {
  etcErreurComm,           // no HTTP answer, or a proxy refused the request
  etcAuthProxyNecessaire,  // a proxy wants credentials the program does not have
  etcErreurServeur,        // the server answered with a status other than 200
  etcSucces,               // status 200
};

struct TypeResultatTestConfigClientsHttp {
  std::wstring UrlTest;
  TypeEtatTestConfigClientsHttp Etat = TypeEtatTestConfigClientsHttp::etcErreurComm;
  std::wstring InfoCompl;  // status code and text, or the error message
  std::wstring Proxy;      // the proxy the request went through, empty for direct
  TypeTabChaines TracesAutoProxy;

  TypeResultatTestConfigClientsHttp Dupliquer() const { return *this; }
};
using TypeTabResultatsTestsConfigClientsHttp = std::vector<TypeResultatTestConfigClientsHttp>;

// Internet access works when some HTTPS server answered, whatever its status.
bool TestsHttpsReussis(const TypeTabResultatsTestsConfigClientsHttp& resultats);

struct TypeDemandeAuthProxy {
  std::wstring Proxy;
  uint32_t SchemaRetenu = 0;

  static TypeDemandeAuthProxy Create(std::wstring proxy, uint32_t schemaRetenu) {
    return {std::move(proxy), schemaRetenu};
  }
  TypeDemandeAuthProxy Dupliquer() const { return *this; }
  bool operator==(const TypeDemandeAuthProxy&) const = default;
};
using TypeTabDemandesAuthProxy = std::vector<TypeDemandeAuthProxy>;

// An empty target becomes the source; otherwise each source entry whose proxy is not among the
// target's entries from before the merge (case-insensitive) is appended, in source order.
void FusionnerDemandesAuthProxy(TypeTabDemandesAuthProxy& cible, const TypeTabDemandesAuthProxy& source);

}  // namespace norvel
