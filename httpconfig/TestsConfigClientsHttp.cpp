#include "httpconfig/TestsConfigClientsHttp.h"

#include "core/Chaines.h"

namespace norvel {

namespace {

TypeConfigClientsHttp ConfigForceeSurProxy(const TypeConfigClientsHttp& configInit, const std::wstring& proxy) {
  TypeConfigClientsHttp config = configInit.Dupliquer();
  config.SetGenreConfigProxy(TypeGenreConfigProxyClientsHttp::gcpConfigOvalis);
  config.SetProxyHttpOvalis(proxy);
  config.SetProxyHttpsOvalis(proxy);
  return config;
}

const std::wstring& ProxyDuGroupe(const std::unique_ptr<TTraitementsTestProxyClientsHttp>& groupe) {
  return groupe->Proxy();
}

}  // namespace

// ---- One configuration, many URLs

TTraitementsTestsElemConfigClientsHttp::TTraitementsTestsElemConfigClientsHttp(TThreadConfigClientsHttp& threadConfig,
                                                                               const TypeConfigClientsHttp& config)
    : FThreadConfig(threadConfig), FConfig(config.Dupliquer()) {}

bool TTraitementsTestsElemConfigClientsHttp::EffectuerTraitements(TypeConfigClientsHttp& config,
                                                                  const TypeTabChaines& tabUrlTest) {
  for (const std::wstring& url : tabUrlTest)
    if (!TrouverParCle(FTraitements, url, [](const auto& traitement) { return traitement->GetUrlTest(); }))
      FTraitements.push_back(NouvelObjet<TTraitementTestElemConfigClientsHttp>(nullptr, FThreadConfig, FConfig, url));
  return MenerTraitements(FTraitements, config);
}

TypeTabResultatsTestsConfigClientsHttp TTraitementsTestsElemConfigClientsHttp::GetTabResultats() const {
  TypeTabResultatsTestsConfigClientsHttp resultats;
  for (const TRef<ITraitementTestElemConfigClientsHttp>& traitement : FTraitements)
    resultats.push_back(traitement->GetResultat());
  return resultats;
}

TypeTabDemandesAuthProxy TTraitementsTestsElemConfigClientsHttp::GetTabDemandesAuthProxy() const {
  TypeTabDemandesAuthProxy demandes;
  for (const TRef<ITraitementTestElemConfigClientsHttp>& traitement : FTraitements)
    FusionnerDemandesAuthProxy(demandes, traitement->GetTabDemandesAuthProxy());
  return demandes;
}

TTraitementsTestProxyClientsHttp::TTraitementsTestProxyClientsHttp(TThreadConfigClientsHttp& threadConfig,
                                                                   const TypeConfigClientsHttp& configInit,
                                                                   std::wstring proxy)
    : TTraitementsTestsElemConfigClientsHttp(threadConfig, ConfigForceeSurProxy(configInit, proxy)),
      FProxy(std::move(proxy)) {}

// ---- Many proxies

TTraitementsTestTabProxiesClientsHttp::TTraitementsTestTabProxiesClientsHttp(TThreadConfigClientsHttp& threadConfig,
                                                                             const TypeConfigClientsHttp& configInit)
    : FThreadConfig(threadConfig), FConfigInit(configInit.Dupliquer()) {}

bool TTraitementsTestTabProxiesClientsHttp::EffectuerTraitements(const TypeTabChaines& tabProxies,
                                                                 const TypeTabChaines& tabUrlTest,
                                                                 TypeConfigClientsHttp& config) {
  for (const std::wstring& proxy : tabProxies)
    if (!TrouverParCle(FTraitements, proxy, ProxyDuGroupe))
      FTraitements.push_back(std::make_unique<TTraitementsTestProxyClientsHttp>(FThreadConfig, FConfigInit, proxy));
  bool tousAcheves = true;
  for (const auto& groupe : FTraitements) tousAcheves = groupe->EffectuerTraitements(config, tabUrlTest) && tousAcheves;
  return tousAcheves;
}

TypeTabResultatsTestsConfigClientsHttp TTraitementsTestTabProxiesClientsHttp::GetTabResultatsDeProxy(
    std::wstring_view proxy) const {
  const auto* groupe = TrouverParCle(FTraitements, proxy, ProxyDuGroupe);
  return groupe ? (*groupe)->GetTabResultats() : TypeTabResultatsTestsConfigClientsHttp{};
}

TypeTabDemandesAuthProxy TTraitementsTestTabProxiesClientsHttp::GetTabDemandesAuthProxy() const {
  TypeTabDemandesAuthProxy demandes;
  for (const auto& groupe : FTraitements) FusionnerDemandesAuthProxy(demandes, groupe->GetTabDemandesAuthProxy());
  return demandes;
}

// ---- The test of a configuration

TTraitementTestConfigClientsHttp::TTraitementTestConfigClientsHttp(TRef<IReveilThread> reveilThread,
                                                                   TThreadConfigClientsHttp& threadConfig,
                                                                   const TypeConfigClientsHttp& config)
    : TImplementeTraitement(std::move(reveilThread)), FTraitements(threadConfig, config) {}

void TTraitementTestConfigClientsHttp::Traiter(TypeConfigClientsHttp& config) {
  if (!FTraitements.EffectuerTraitements(config, config.GetTabUrlTestPlusBuiltIn())) return;
  FTabResultats = FTraitements.GetTabResultats();
  FTabDemandesAuthProxy = FTraitements.GetTabDemandesAuthProxy();
  SignalerAcheve();
}

}  // namespace norvel
