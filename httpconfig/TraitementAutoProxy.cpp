#include "httpconfig/TraitementAutoProxy.h"

#include "core/Chaines.h"
#include "core/Exceptions.h"
#include "core/Format.h"
#include "core/Messages.h"
#include "http/ExceptionWinhttp.h"
#include "http/UrlDecomposee.h"

namespace norvel {

TThreadAutoProxy::TThreadAutoProxy(TThreadConfigClientsHttp& threadConfig, HINTERNET handleSession,
                                   std::wstring urlConfig, std::wstring url)
    : TThreadTraitementConfigClientsHttp(threadConfig),
      FHandleSession(handleSession),
      FUrl(std::move(url)),
      FUrlConfig(std::move(urlConfig)) {}

void TThreadAutoProxy::Executer() {
  try {
    WINHTTP_AUTOPROXY_OPTIONS options{};
    options.fAutoLogonIfChallenged = TRUE;
    if (FUrlConfig.empty()) {
      AjouterTrace(Msg::AutoProxyModeAutomatique);
      options.dwFlags = WINHTTP_AUTOPROXY_AUTO_DETECT;
      options.dwAutoDetectFlags = WINHTTP_AUTO_DETECT_TYPE_DHCP | WINHTTP_AUTO_DETECT_TYPE_DNS_A;
    } else {
      AjouterTrace(Format(Msg::AutoProxyAdresseConfig, {FUrlConfig}));
      options.dwFlags = WINHTTP_AUTOPROXY_CONFIG_URL;
      options.lpszAutoConfigUrl = FUrlConfig.c_str();
    }
    AjouterTrace(Format(Msg::AutoProxyAdresseEvaluee, {FUrl}));
    WINHTTP_PROXY_INFO info{};
    if (WinHttpGetProxyForUrl(FHandleSession, FUrl.c_str(), &options, &info)) {
      if (info.dwAccessType != WINHTTP_ACCESS_TYPE_NO_PROXY && info.lpszProxy) FProxies = info.lpszProxy;
      if (info.lpszProxy) GlobalFree(info.lpszProxy);
      if (info.lpszProxyBypass) GlobalFree(info.lpszProxyBypass);
      AjouterTrace(Format(Msg::AutoProxyServeursObtenus, {FProxies}));
      FSucces = true;
    } else {
      AjouterTrace(MessageExceptionWinhttp(GetLastError(), L"WinHttpGetProxyForUrl"));
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
