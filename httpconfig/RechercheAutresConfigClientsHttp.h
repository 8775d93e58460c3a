#pragma once
// The search of other configurations, when the current one does not reach the Internet: every
// known script address and discovery are evaluated for every test URL, every test URL is
// tested directly and through every known proxy (those the evaluations find included), all at
// once; from what answered, the proposals that the user may choose from are built, in order:
// the system's settings, custom settings, script addresses, discovery.
#include <string>
#include <utility>
#include <vector>

#include "httpconfig/TestsConfigClientsHttp.h"
#include "httpconfig/TraitementsAutoProxy.h"

namespace norvel {

// What the tests and evaluations of a search found, from which its proposals are built.
struct TypeConstatsRecherche {
  TypeTabChaines Proxies;   // "" (direct) first, then the known proxies
  TypeTabChaines UrlsTest;  // the built-in page first
  // Atteint[j][k]: a web server answered UrlsTest[k] through Proxies[j].
  std::vector<std::vector<bool>> Atteint;
  // Per script address, in order ("" for discovery, last): the proxy found for each test URL,
  // empty when an evaluation failed.
  std::vector<std::pair<std::wstring, TypeTabChaines>> ProxiesTrouves;
};

// The proposals, in their order. `config` is the live configuration (its system settings);
// `exceptionsTestees` are the servers reached directly in every configuration tested, which
// each custom proposal keeps so that it routes as it was tested.
TypeTabPropositionsModifConfigClientsHttp ConstruirePropositions(const TypeConfigClientsHttp& config,
                                                                 const TypeTabChaines& exceptionsTestees,
                                                                 const TypeConstatsRecherche& constats);

struct ITraitementRechercheAutresConfigClientsHttp : ITraitementConfigClientsHttp {
  // Empty until the search is achieved.
  virtual TypeTabPropositionsModifConfigClientsHttp GetTabPropositions() = 0;
  // The proxies that asked for credentials during the tests, the first demand per proxy.
  virtual TypeTabDemandesAuthProxy GetTabDemandesAuthProxy() = 0;
};

}  // namespace norvel

NORVEL_GUID(norvel::ITraitementRechercheAutresConfigClientsHttp, 0x4cb89181, 0xa2c1, 0x4b2a, 0xa8, 0x7e, 0xe9, 0xe2,
            0x21, 0xce, 0xf1, 0x3f)

namespace norvel {

class TTraitementRechercheAutresConfigClientsHttp
    : public TImplementeTraitement<ITraitementRechercheAutresConfigClientsHttp> {
 public:
  // handleSession: the session evaluating the scripts, borrowed; it must outlive the search.
  // configInit: each configuration tested is this one forced onto a proxy. Nothing starts
  // before the first Traiter.
  TTraitementRechercheAutresConfigClientsHttp(TRef<IReveilThread> reveilThread, TThreadConfigClientsHttp& threadConfig,
                                              HINTERNET handleSession, const TypeConfigClientsHttp& configInit);

  // Starts what the live configuration calls for (known addresses, test URLs, known proxies,
  // those found by the evaluations on a later call) and, once everything is achieved, builds
  // the proposals.
  void Traiter(TypeConfigClientsHttp& config) override;
  TypeTabPropositionsModifConfigClientsHttp GetTabPropositions() override { return FTabPropositions; }
  TypeTabDemandesAuthProxy GetTabDemandesAuthProxy() override { return FTabDemandesAuthProxy; }

 private:
  TTraitementsAutoProxyTabUrlConfigClientsHttp FTraitementsAutoProxy;
  TTraitementsTestTabProxiesClientsHttp FTraitementsTest;
  TypeTabChaines FExceptionsTestees;
  TypeTabPropositionsModifConfigClientsHttp FTabPropositions;
  TypeTabDemandesAuthProxy FTabDemandesAuthProxy;
};

}  // namespace norvel
