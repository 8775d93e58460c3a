#include "httpconfig/TraitementAutoProxy.h"

#include <atomic>
#include <chrono>
#include <future>
#include <optional>
#include <thread>

#include "core/Chaines.h"
#include "core/Exceptions.h"
#include "core/Format.h"
#include "core/Messages.h"
#include "http/ExceptionWinhttp.h"
#include "http/UrlDecomposee.h"

namespace norvel {

namespace {

std::atomic<uint32_t> gDelaiMaxEvaluation{DelaiMaxEvaluationAutoProxyParDefaut};

// What WinHttpGetProxyForUrl answered.
struct TReponseAutoProxy {
  bool Succes = false;
  DWORD Erreur = 0;
  std::wstring Proxies;  // empty for a direct connection
};

// The platform call, on a thread of its own, waited for at most `delaiMs`; nothing when it
// overran. A call that overruns is left to end on its own: it owns copies of its texts, and
// WinHTTP keeps the session object alive while a call uses it.
std::optional<TReponseAutoProxy> AppelerGetProxyForUrl(HINTERNET session, const std::wstring& url,
                                                       const std::wstring& urlConfig, uint32_t delaiMs) {
  std::packaged_task<TReponseAutoProxy()> appel([session, url, urlConfig] {
    WINHTTP_AUTOPROXY_OPTIONS options{};
    options.fAutoLogonIfChallenged = TRUE;
    if (urlConfig.empty()) {
      options.dwFlags = WINHTTP_AUTOPROXY_AUTO_DETECT;
      options.dwAutoDetectFlags = WINHTTP_AUTO_DETECT_TYPE_DHCP | WINHTTP_AUTO_DETECT_TYPE_DNS_A;
    } else {
      options.dwFlags = WINHTTP_AUTOPROXY_CONFIG_URL;
      options.lpszAutoConfigUrl = urlConfig.c_str();
    }
    TReponseAutoProxy reponse;
    WINHTTP_PROXY_INFO info{};
    reponse.Succes = WinHttpGetProxyForUrl(session, url.c_str(), &options, &info);
    if (!reponse.Succes) {
      reponse.Erreur = GetLastError();
      return reponse;
    }
    if (info.dwAccessType != WINHTTP_ACCESS_TYPE_NO_PROXY && info.lpszProxy) reponse.Proxies = info.lpszProxy;
    if (info.lpszProxy) GlobalFree(info.lpszProxy);
    if (info.lpszProxyBypass) GlobalFree(info.lpszProxyBypass);
    return reponse;
  });
  std::future<TReponseAutoProxy> reponse = appel.get_future();
  std::thread(std::move(appel)).detach();
  if (reponse.wait_for(std::chrono::milliseconds(delaiMs)) != std::future_status::ready) return std::nullopt;
  return reponse.get();
}

}  // namespace

uint32_t DelaiMaxEvaluationAutoProxy() { return gDelaiMaxEvaluation; }
void DefinirDelaiMaxEvaluationAutoProxy(uint32_t delaiMs) { gDelaiMaxEvaluation = delaiMs; }

TThreadAutoProxy::TThreadAutoProxy(TThreadConfigClientsHttp& threadConfig, HINTERNET handleSession,
                                   std::wstring urlConfig, std::wstring url)
    : TThreadTraitementConfigClientsHttp(threadConfig),
      FHandleSession(handleSession),
      FUrl(std::move(url)),
      FUrlConfig(std::move(urlConfig)) {}

void TThreadAutoProxy::Executer() {
  try {
    if (FUrlConfig.empty())
      AjouterTrace(Msg::AutoProxyModeAutomatique);
    else
      AjouterTrace(Format(Msg::AutoProxyAdresseConfig, {FUrlConfig}));
    AjouterTrace(Format(Msg::AutoProxyAdresseEvaluee, {FUrl}));
    const uint32_t delai = DelaiMaxEvaluationAutoProxy();
    const std::optional<TReponseAutoProxy> reponse = AppelerGetProxyForUrl(FHandleSession, FUrl, FUrlConfig, delai);
    if (!reponse) {
      AjouterTrace(Format(Msg::AutoProxyDelaiDepasse, {static_cast<int>((delai + 999) / 1000)}));
    } else if (reponse->Succes) {
      FProxies = reponse->Proxies;
      AjouterTrace(Format(Msg::AutoProxyServeursObtenus, {FProxies}));
      FSucces = true;
    } else {
      AjouterTrace(MessageExceptionWinhttp(reponse->Erreur, L"WinHttpGetProxyForUrl"));
    }
  } catch (const std::exception& e) {
    AjouterTrace(MessageDe(e));
  }
}

TTraitementAutoProxy::TTraitementAutoProxy(TRef<IReveilThread> reveilThread, TThreadConfigClientsHttp& threadConfig,
                                           HINTERNET handleSession, const std::wstring& urlConfig,
                                           const std::wstring& url)
    : TImplementeTraitement(std::move(reveilThread)),
      FThread(std::make_unique<TThreadAutoProxy>(threadConfig, handleSession, urlConfig, url)),
      FUrl(url) {
  FThread->Demarrer();
}

TRef<ITraitementAutoProxy> TTraitementAutoProxy::CreateCompUrl(TRef<IReveilThread> reveilThread,
                                                               TThreadConfigClientsHttp& threadConfig,
                                                               HINTERNET handleSession, const std::wstring& urlConfig,
                                                               const std::wstring& nomServeur, uint16_t portTcp,
                                                               bool https) {
  TypeUrlDecomposee url;
  url.Https = https;
  url.NomServeur = nomServeur;
  url.PortTcp = portTcp;
  return NouvelObjet<TTraitementAutoProxy>(std::move(reveilThread), threadConfig, handleSession, urlConfig,
                                           url.GetUrlComplete());
}

void TTraitementAutoProxy::Traiter(TypeConfigClientsHttp& config) {
  if (!FThread->Fini()) return;
  FSucces = FThread->Succes();
  if (!FThread->Proxies().empty()) {
    const TypeTabChaines proxies = Decouper(FThread->Proxies(), L';');
    for (const std::wstring& proxy : proxies) config.AjouterProxyConnu(proxy);
    FProxy = proxies.front();
  }
  FTraces = FThread->Traces();
  SignalerAcheve();
}

}  // namespace norvel
