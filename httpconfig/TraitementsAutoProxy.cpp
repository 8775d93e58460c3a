#include "httpconfig/TraitementsAutoProxy.h"

namespace norvel {

namespace {

std::wstring UrlDeLEvaluation(const TRef<ITraitementAutoProxy>& evaluation) { return evaluation->GetUrl(); }

const std::wstring& AdresseDuGroupe(const std::unique_ptr<TTraitementsAutoProxyUrlConfigClientsHttp>& groupe) {
  return groupe->UrlConfig();
}

}  // namespace

// ---- One script address

TTraitementsAutoProxyUrlConfigClientsHttp::TTraitementsAutoProxyUrlConfigClientsHttp(
    TThreadConfigClientsHttp& threadConfig, HINTERNET handleSession, std::wstring urlConfig)
    : FThreadConfig(threadConfig), FHandleSession(handleSession), FUrlConfig(std::move(urlConfig)) {}

bool TTraitementsAutoProxyUrlConfigClientsHttp::EffectuerTraitements(TypeConfigClientsHttp& config,
                                                                     const TypeTabChaines& tabUrlTest) {
  for (const std::wstring& url : tabUrlTest)
    if (!TrouverParCle(FTraitements, url, UrlDeLEvaluation))
      FTraitements.push_back(
          NouvelObjet<TTraitementAutoProxy>(nullptr, FThreadConfig, FHandleSession, FUrlConfig, url));
  return MenerTraitements(FTraitements, config);
}

TypeTabChaines TTraitementsAutoProxyUrlConfigClientsHttp::GetProxiesTrouves(const TypeTabChaines& tabUrlTest) const {
  TypeTabChaines proxies;
  for (const std::wstring& url : tabUrlTest) {
    const TRef<ITraitementAutoProxy>* evaluation = TrouverParCle(FTraitements, url, UrlDeLEvaluation);
    if (!evaluation || !(*evaluation)->GetSucces()) return {};
    proxies.push_back((*evaluation)->GetProxy());
  }
  return proxies;
}

// ---- Many script addresses

TTraitementsAutoProxyTabUrlConfigClientsHttp::TTraitementsAutoProxyTabUrlConfigClientsHttp(
    TThreadConfigClientsHttp& threadConfig, HINTERNET handleSession)
    : FThreadConfig(threadConfig), FHandleSession(handleSession) {}

bool TTraitementsAutoProxyTabUrlConfigClientsHttp::EffectuerTraitements(const TypeTabChaines& tabUrlConfig,
                                                                        const TypeTabChaines& tabUrlTest,
                                                                        TypeConfigClientsHttp& config) {
  for (const std::wstring& urlConfig : tabUrlConfig)
    if (!TrouverParCle(FTraitements, urlConfig, AdresseDuGroupe))
      FTraitements.push_back(
          std::make_unique<TTraitementsAutoProxyUrlConfigClientsHttp>(FThreadConfig, FHandleSession, urlConfig));
  bool tousAcheves = true;
  for (const auto& groupe : FTraitements) tousAcheves = groupe->EffectuerTraitements(config, tabUrlTest) && tousAcheves;
  return tousAcheves;
}

TypeTabChaines TTraitementsAutoProxyTabUrlConfigClientsHttp::GetProxiesTrouves(std::wstring_view urlConfig,
                                                                              const TypeTabChaines& tabUrlTest) const {
  const auto* groupe = TrouverParCle(FTraitements, urlConfig, AdresseDuGroupe);
  return groupe ? (*groupe)->GetProxiesTrouves(tabUrlTest) : TypeTabChaines{};
}

}  // namespace norvel
