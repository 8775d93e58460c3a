#pragma once
// The test of one URL with one configuration: a plain GET on a worker thread of its own,
// through a session built from exactly that configuration. The verdict says whether a server
// answered (200 or another status), a proxy wants credentials the program does not hold, or
// nothing usable came back.
#include <memory>
#include <string>

#include "http/SessionClientsHttp.h"
#include "httpconfig/TraitementConfigClientsHttp.h"

namespace norvel {

struct ITraitementTestElemConfigClientsHttp : ITraitementConfigClientsHttp {
  virtual std::wstring GetUrlTest() = 0;
  virtual TypeResultatTestConfigClientsHttp GetResultat() = 0;
  virtual TypeTabDemandesAuthProxy GetTabDemandesAuthProxy() = 0;
};

}  // namespace norvel

NORVEL_GUID(norvel::ITraitementTestElemConfigClientsHttp, 0x1458cbce, 0xf65d, 0x49b6, 0x96, 0x06, 0x67, 0xfc, 0xf6,
            0xea, 0x3c, 0xa2)

namespace norvel {

// The longest one URL test may take, whole answer included: a test page comes in seconds, and a
// proxy or server that sends it a byte now and then would hold step 1 and the search for hours.
inline constexpr uint32_t DelaiMaxTestUrl = 30000;

class TThreadTestElemConfigClientsHttp : public TThreadTraitementConfigClientsHttp {
 public:
  TThreadTestElemConfigClientsHttp(TThreadConfigClientsHttp& threadConfig, const TypeConfigClientsHttp& config,
                                   std::wstring urlTest);
  ~TThreadTestElemConfigClientsHttp() override { TerminerEtAttendre(); }

  // Read once the thread is finished.
  const TypeResultatTestConfigClientsHttp& Resultat() const { return FResultat; }
  const TypeTabDemandesAuthProxy& TabDemandesAuthProxy() const { return FTabDemandesAuthProxy; }

 protected:
  void Executer() override;

 private:
  friend class TSessionClientsHttpTest;

  TypeConfigClientsHttp FConfig;
  std::wstring FUrlTest;
  TypeResultatTestConfigClientsHttp FResultat;
  TypeTabDemandesAuthProxy FTabDemandesAuthProxy;
};

// The session of one URL test: the proxy comes from the configuration under test (evaluated by
// its script when it names one), the credentials from the configuration thread's master; a
// proxy asking for credentials that are not stored becomes the test's demand.
class TSessionClientsHttpTest : public TSessionClientsHttp {
 public:
  TSessionClientsHttpTest(const TypeInfoCreationSessionClientsHttp& infoCreation,
                          TThreadTestElemConfigClientsHttp& threadTest);

  bool ObtenirProxy(const std::wstring& nomServeur, uint16_t portTcp, bool https, IAttente* attente,
                    std::wstring& proxy) override;
  bool ObtenirInfoAuthProxy(const std::wstring& proxy, uint32_t schemasProposes, TypeInfoAuthHttp& infoAuth,
                            uint32_t schemaPrefere) override;

 private:
  TThreadTestElemConfigClientsHttp& FThreadTest;
};

class TTraitementTestElemConfigClientsHttp : public TImplementeTraitement<ITraitementTestElemConfigClientsHttp> {
 public:
  // Starts the worker at once.
  TTraitementTestElemConfigClientsHttp(TRef<IReveilThread> reveilThread, TThreadConfigClientsHttp& threadConfig,
                                       const TypeConfigClientsHttp& config, const std::wstring& urlTest);

  void Traiter(TypeConfigClientsHttp& config) override;
  std::wstring GetUrlTest() override { return FUrlTest; }
  TypeResultatTestConfigClientsHttp GetResultat() override { return FResultat.Dupliquer(); }
  TypeTabDemandesAuthProxy GetTabDemandesAuthProxy() override { return FTabDemandesAuthProxy; }

 private:
  std::unique_ptr<TThreadTestElemConfigClientsHttp> FThread;
  std::wstring FUrlTest;
  TypeResultatTestConfigClientsHttp FResultat;
  TypeTabDemandesAuthProxy FTabDemandesAuthProxy;
};

}  // namespace norvel
