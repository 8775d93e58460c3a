#pragma once
// Automatic proxy evaluations in groups, for the search of other configurations: one script
// address (or discovery) evaluated for every test URL, and every known address at once. Each
// (address, URL) pair is evaluated once, whatever its case; every evaluation starts as soon as
// its group first sees the pair.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "httpconfig/TraitementAutoProxy.h"

namespace norvel {

// One script address; empty means discovery (WPAD).
class TTraitementsAutoProxyUrlConfigClientsHttp {
 public:
  // handleSession: borrowed, it must outlive the group.
  TTraitementsAutoProxyUrlConfigClientsHttp(TThreadConfigClientsHttp& threadConfig, HINTERNET handleSession,
                                            std::wstring urlConfig);
  TTraitementsAutoProxyUrlConfigClientsHttp(const TTraitementsAutoProxyUrlConfigClientsHttp&) = delete;
  TTraitementsAutoProxyUrlConfigClientsHttp& operator=(const TTraitementsAutoProxyUrlConfigClientsHttp&) = delete;

  // Starts the evaluations of the URLs not seen yet and collects the finished ones (their
  // proxies become known to the live configuration); true when all are achieved. Called from a
  // treatment's Traiter (configuration thread, lock held).
  bool EffectuerTraitements(TypeConfigClientsHttp& config, const TypeTabChaines& tabUrlTest);
  // The proxy found for each URL, in the order given ("" for direct); empty as a whole when a
  // URL has no evaluation or its evaluation failed: the address is then worth nothing.
  TypeTabChaines GetProxiesTrouves(const TypeTabChaines& tabUrlTest) const;
  const std::wstring& UrlConfig() const { return FUrlConfig; }

 private:
  TThreadConfigClientsHttp& FThreadConfig;
  HINTERNET FHandleSession;
  std::wstring FUrlConfig;
  std::vector<TRef<ITraitementAutoProxy>> FTraitements;
};

// Many script addresses, discovery being the empty one; each address once whatever its case.
class TTraitementsAutoProxyTabUrlConfigClientsHttp {
 public:
  TTraitementsAutoProxyTabUrlConfigClientsHttp(TThreadConfigClientsHttp& threadConfig, HINTERNET handleSession);

  // Every group is driven, even after one that is not done; true when all are.
  bool EffectuerTraitements(const TypeTabChaines& tabUrlConfig, const TypeTabChaines& tabUrlTest,
                            TypeConfigClientsHttp& config);
  // The answer of the group of that address; empty when there is none.
  TypeTabChaines GetProxiesTrouves(std::wstring_view urlConfig, const TypeTabChaines& tabUrlTest) const;

 private:
  TThreadConfigClientsHttp& FThreadConfig;
  HINTERNET FHandleSession;
  std::vector<std::unique_ptr<TTraitementsAutoProxyUrlConfigClientsHttp>> FTraitements;
};

}  // namespace norvel
