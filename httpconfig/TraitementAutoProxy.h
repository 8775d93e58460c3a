#pragma once
// One automatic proxy evaluation: WinHTTP's answer, for one destination URL, of the proxy
// auto-configuration script at a given address or found by discovery (WPAD), on a worker of
// its own, with a short trace of what happened. The proxies it finds become known proxies of
// the live configuration.
//
// Discovery and scripts can hang (a script that never returns, a server that never answers):
// an evaluation gives up after DelaiMaxEvaluationAutoProxy, so that every test and every
// search ends.
#include <windows.h>
#include <winhttp.h>

#include <cstdint>
#include <memory>
#include <string>

#include "httpconfig/TraitementConfigClientsHttp.h"

namespace norvel {

// The longest wait for one evaluation, in milliseconds.
inline constexpr uint32_t DelaiMaxEvaluationAutoProxyParDefaut = 20000;
uint32_t DelaiMaxEvaluationAutoProxy();
// For the tests and measurements of the bound itself.
void DefinirDelaiMaxEvaluationAutoProxy(uint32_t delaiMs);

struct ITraitementAutoProxy : ITraitementConfigClientsHttp {
  virtual std::wstring GetUrl() = 0;
  virtual bool GetSucces() = 0;
  // The first proxy found; empty for a direct connection or a failed evaluation.
  virtual std::wstring GetProxy() = 0;
  // One line per event, each ended by "\r\n".
  virtual std::wstring GetTraces() = 0;
};

}  // namespace norvel

NORVEL_GUID(norvel::ITraitementAutoProxy, 0x6531af96, 0x4641, 0x4b9f, 0xba, 0x30, 0x1c, 0x1e, 0x57, 0x8f, 0xbc, 0x43)

namespace norvel {

class TThreadAutoProxy : public TThreadTraitementConfigClientsHttp {
 public:
  // handleSession: borrowed, it must outlive the evaluation. urlConfig empty: discovery.
  TThreadAutoProxy(TThreadConfigClientsHttp& threadConfig, HINTERNET handleSession, std::wstring urlConfig,
                   std::wstring url);
  ~TThreadAutoProxy() override { TerminerEtAttendre(); }

  // Read once the thread is finished.
  bool Succes() const { return FSucces; }
  const std::wstring& Proxies() const { return FProxies; }
  const std::wstring& Traces() const { return FTraces; }

 protected:
  void Executer() override;

 private:
  void AjouterTrace(const std::wstring& ligne) { FTraces += ligne + L"\r\n"; }

  HINTERNET FHandleSession;
  std::wstring FUrl;
  std::wstring FUrlConfig;
  bool FSucces = false;
  std::wstring FProxies;
  std::wstring FTraces;
};

class TTraitementAutoProxy : public TImplementeTraitement<ITraitementAutoProxy> {
 public:
  // Starts the worker at once.
  TTraitementAutoProxy(TRef<IReveilThread> reveilThread, TThreadConfigClientsHttp& threadConfig,
                       HINTERNET handleSession, const std::wstring& urlConfig, const std::wstring& url);
  // The evaluation for the root URL of a server (scheme, name and port).
  static TRef<ITraitementAutoProxy> CreateCompUrl(TRef<IReveilThread> reveilThread,
                                                  TThreadConfigClientsHttp& threadConfig, HINTERNET handleSession,
                                                  const std::wstring& urlConfig, const std::wstring& nomServeur,
                                                  uint16_t portTcp, bool https);

  // Every proxy found becomes known to the live configuration.
  void Traiter(TypeConfigClientsHttp& config) override;
  std::wstring GetUrl() override { return FUrl; }
  bool GetSucces() override { return FSucces; }
  std::wstring GetProxy() override { return FProxy; }
  std::wstring GetTraces() override { return FTraces; }

 private:
  std::unique_ptr<TThreadAutoProxy> FThread;
  std::wstring FUrl;
  bool FSucces = false;
  std::wstring FProxy;
  std::wstring FTraces;
};

}  // namespace norvel
