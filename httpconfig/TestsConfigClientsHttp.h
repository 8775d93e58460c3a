#pragma once
// Tests of whole configurations: groups of URL tests (one configuration, or one configuration
// forced onto each of several proxies), driven from the Traiter of the treatment that owns
// them, and the test of a configuration that a caller registers and waits for.
//
// Every URL test starts as soon as its group first sees the URL, all at the same time: a test
// lasts as long as its slowest URL.
#include <memory>
#include <string>
#include <vector>

#include "httpconfig/TestElemConfigClientsHttp.h"

namespace norvel {

// One configuration, many URLs; each URL tested once, whatever its case.
class TTraitementsTestsElemConfigClientsHttp {
 public:
  TTraitementsTestsElemConfigClientsHttp(TThreadConfigClientsHttp& threadConfig, const TypeConfigClientsHttp& config);
  virtual ~TTraitementsTestsElemConfigClientsHttp() = default;
  TTraitementsTestsElemConfigClientsHttp(const TTraitementsTestsElemConfigClientsHttp&) = delete;
  TTraitementsTestsElemConfigClientsHttp& operator=(const TTraitementsTestsElemConfigClientsHttp&) = delete;

  // Starts the tests of the URLs not seen yet and collects the finished ones; true when every
  // test is achieved. Called from a treatment's Traiter (configuration thread, lock held).
  bool EffectuerTraitements(TypeConfigClientsHttp& config, const TypeTabChaines& tabUrlTest);
  // In the order the URLs were first seen.
  TypeTabResultatsTestsConfigClientsHttp GetTabResultats() const;
  // Merged: the first demand for a proxy wins.
  TypeTabDemandesAuthProxy GetTabDemandesAuthProxy() const;

 protected:
  TThreadConfigClientsHttp& FThreadConfig;
  TypeConfigClientsHttp FConfig;
  std::vector<TRef<ITraitementTestElemConfigClientsHttp>> FTraitements;
};

// The configuration forced onto one proxy for both protocols (direct when it is empty); the
// rest of it (user agent, TLS, test URLs, servers reached directly) is kept.
class TTraitementsTestProxyClientsHttp : public TTraitementsTestsElemConfigClientsHttp {
 public:
  TTraitementsTestProxyClientsHttp(TThreadConfigClientsHttp& threadConfig, const TypeConfigClientsHttp& configInit,
                                   std::wstring proxy);
  const std::wstring& Proxy() const { return FProxy; }

 private:
  std::wstring FProxy;
};

// One group per proxy, each proxy once whatever its case.
class TTraitementsTestTabProxiesClientsHttp {
 public:
  TTraitementsTestTabProxiesClientsHttp(TThreadConfigClientsHttp& threadConfig, const TypeConfigClientsHttp& configInit);

  // Every group is driven, even after one that is not done; true when all are.
  bool EffectuerTraitements(const TypeTabChaines& tabProxies, const TypeTabChaines& tabUrlTest,
                            TypeConfigClientsHttp& config);
  // The results of the group of that proxy; none when there is no such group.
  TypeTabResultatsTestsConfigClientsHttp GetTabResultatsDeProxy(std::wstring_view proxy) const;
  TypeTabDemandesAuthProxy GetTabDemandesAuthProxy() const;

 private:
  TThreadConfigClientsHttp& FThreadConfig;
  TypeConfigClientsHttp FConfigInit;
  std::vector<std::unique_ptr<TTraitementsTestProxyClientsHttp>> FTraitements;
};

struct ITraitementTestConfigClientsHttp : ITraitementConfigClientsHttp {
  virtual TypeTabResultatsTestsConfigClientsHttp GetTabResultats() = 0;
  virtual TypeTabDemandesAuthProxy GetTabDemandesAuthProxy() = 0;
};

}  // namespace norvel

NORVEL_GUID(norvel::ITraitementTestConfigClientsHttp, 0x5a8777bf, 0x6b94, 0x48be, 0xb5, 0x7e, 0x3d, 0x64, 0x7c, 0x8b,
            0x4d, 0xe6)

namespace norvel {

// The test of a configuration with the test URLs of the live configuration, the built-in page
// first. The requests use the configuration given here.
class TTraitementTestConfigClientsHttp : public TImplementeTraitement<ITraitementTestConfigClientsHttp> {
 public:
  TTraitementTestConfigClientsHttp(TRef<IReveilThread> reveilThread, TThreadConfigClientsHttp& threadConfig,
                                   const TypeConfigClientsHttp& config);

  void Traiter(TypeConfigClientsHttp& config) override;
  TypeTabResultatsTestsConfigClientsHttp GetTabResultats() override { return FTabResultats; }
  TypeTabDemandesAuthProxy GetTabDemandesAuthProxy() override { return FTabDemandesAuthProxy; }

 private:
  TTraitementsTestsElemConfigClientsHttp FTraitements;
  TypeTabResultatsTestsConfigClientsHttp FTabResultats;
  TypeTabDemandesAuthProxy FTabDemandesAuthProxy;
};

}  // namespace norvel
