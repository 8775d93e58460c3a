#include "httpconfig/RechercheAutresConfigClientsHttp.h"

#include <algorithm>
#include <array>
#include <optional>

#include "core/Chaines.h"
#include "http/UrlDecomposee.h"

namespace norvel {

using enum TypeGenreConfigProxyClientsHttp;
using enum TypeEtatTestConfigClientsHttp;

namespace {

enum TypeSchema : size_t { schHttp, schHttps };

// A test URL as the proposals see it. A text that is not a URL has no server (its tests all
// failed); its scheme is read from its start.
struct TUrlTest {
  TypeSchema Schema;
  std::wstring Serveur;
};

TUrlTest DecomposerUrlTest(const std::wstring& url) {
  TypeUrlDecomposee decomposee;
  if (decomposee.TrySetUrlComplete(url)) return {decomposee.Https ? schHttps : schHttp, decomposee.NomServeur};
  return {CommencePar(EnMinuscules(url), L"https://") ? schHttps : schHttp, L""};
}

std::optional<size_t> Position(const TypeTabChaines& liste, std::wstring_view valeur) {
  const auto* trouve =
      TrouverParCle(liste, valeur, [](const std::wstring& element) -> const std::wstring& { return element; });
  if (!trouve) return std::nullopt;
  return static_cast<size_t>(trouve - liste.data());
}

// The proposals of one search, built from what it found.
class TConstructionPropositions {
 public:
  TConstructionPropositions(const TypeConfigClientsHttp& config, const TypeConstatsRecherche& constats)
      : FConfig(config), FConstats(constats), FProxies(constats.Proxies) {
    for (const std::wstring& url : constats.UrlsTest) FUrls.push_back(DecomposerUrlTest(url));
  }

  bool Atteint(size_t j, size_t k) const { return FConstats.Atteint[j][k]; }

  // The system's settings work when every URL is reached through the proxy they name for it
  // (a proxy that was not tested does not count against them).
  bool SystemeFonctionne() const {
    for (size_t k = 0; k < FUrls.size(); ++k) {
      const std::optional<size_t> j =
          Position(FProxies, FConfig.GetProxyEffectifConfigSysteme(FUrls[k].Serveur, FUrls[k].Schema == schHttps));
      if (j && !Atteint(*j, k)) return false;
    }
    return true;
  }

  // A proxy is fit for a scheme when it reaches every URL of that scheme that fails directly,
  // or, when none fails directly, at least one URL of that scheme.
  bool Apte(size_t j, TypeSchema schema) const {
    bool echecDirect = false, tousEchecsDirectsAtteints = true, unAtteint = false;
    for (size_t k = 0; k < FUrls.size(); ++k) {
      if (FUrls[k].Schema != schema) continue;
      unAtteint = unAtteint || Atteint(j, k);
      if (!Atteint(0, k)) {
        echecDirect = true;
        tousEchecsDirectsAtteints = tousEchecsDirectsAtteints && Atteint(j, k);
      }
    }
    return echecDirect ? tousEchecsDirectsAtteints : unAtteint;
  }

  // Custom settings: proxy m for HTTP, c for HTTPS; the servers that only a direct connection
  // reaches join the servers reached directly.
  TypePropositionModifConfigClientsHttp PropositionPersonnalisee(size_t m, size_t c,
                                                                TypeTabChaines exceptions) const {
    for (size_t k = 0; k < FUrls.size(); ++k) {
      const size_t choisi = FUrls[k].Schema == schHttps ? c : m;
      if (Atteint(0, k) && !Atteint(choisi, k) && !FUrls[k].Serveur.empty())
        TypeConfigClientsHttp::InsererDansTabExceptions(FUrls[k].Serveur, exceptions);
    }
    TypePropositionModifConfigClientsHttp proposition;
    proposition.GenreConfigProxy = gcpConfigOvalis;
    proposition.ProxyHttpOvalis = FProxies[m];
    proposition.ProxyHttpsOvalis = FProxies[c];
    proposition.TabExceptionsProxiesOvalis = std::move(exceptions);
    return proposition;
  }

  // A script address is worth proposing when the proxy it gives for each URL reaches it.
  bool AdresseFonctionne(const TypeTabChaines& proxiesTrouves) const {
    if (proxiesTrouves.size() != FUrls.size()) return false;
    for (size_t k = 0; k < FUrls.size(); ++k) {
      const std::optional<size_t> j = Position(FProxies, proxiesTrouves[k]);
      if (!j || !Atteint(*j, k)) return false;
    }
    return true;
  }

 private:
  const TypeConfigClientsHttp& FConfig;
  const TypeConstatsRecherche& FConstats;
  const TypeTabChaines& FProxies;
  std::vector<TUrlTest> FUrls;
};

}  // namespace

TypeTabPropositionsModifConfigClientsHttp ConstruirePropositions(const TypeConfigClientsHttp& config,
                                                                 const TypeTabChaines& exceptionsTestees,
                                                                 const TypeConstatsRecherche& constats) {
  const TConstructionPropositions construction(config, constats);
  TypeTabPropositionsModifConfigClientsHttp propositions;

  const bool systeme = construction.SystemeFonctionne();
  if (systeme) propositions.push_back({.GenreConfigProxy = gcpConfigSysteme});

  const size_t nombreProxies = constats.Proxies.size();
  std::vector<std::array<bool, 2>> apte(nombreProxies);
  for (size_t j = 0; j < nombreProxies; ++j)
    apte[j] = {construction.Apte(j, schHttp), construction.Apte(j, schHttps)};
  for (size_t m = 0; m < nombreProxies; ++m) {
    if (!apte[m][schHttp]) continue;
    for (size_t c = 0; c < nombreProxies; ++c) {
      if (!apte[c][schHttps]) continue;
      // A proxy fit for both schemes is proposed for both only.
      if (c != m && (apte[m][schHttps] || apte[c][schHttp])) continue;
      if (systeme && MemeTexteSansCasse(constats.Proxies[m], config.ProxyHttpSysteme()) &&
          MemeTexteSansCasse(constats.Proxies[c], config.ProxyHttpsSysteme()))
        continue;
      propositions.push_back(construction.PropositionPersonnalisee(m, c, exceptionsTestees));
    }
  }

  for (const auto& [adresse, proxiesTrouves] : constats.ProxiesTrouves) {
    if (!construction.AdresseFonctionne(proxiesTrouves)) continue;
    TypePropositionModifConfigClientsHttp proposition;
    proposition.GenreConfigProxy = adresse.empty() ? gcpWpad : gcpUrlConfig;
    proposition.UrlConfigProxies = adresse;
    propositions.push_back(std::move(proposition));
  }
  return propositions;
}

TTraitementRechercheAutresConfigClientsHttp::TTraitementRechercheAutresConfigClientsHttp(
    TRef<IReveilThread> reveilThread, TThreadConfigClientsHttp& threadConfig, HINTERNET handleSession,
    const TypeConfigClientsHttp& configInit)
    : TImplementeTraitement(std::move(reveilThread)),
      FTraitementsAutoProxy(threadConfig, handleSession),
      FTraitementsTest(threadConfig, configInit),
      FExceptionsTestees(configInit.TabExceptionsProxiesOvalis()) {}

void TTraitementRechercheAutresConfigClientsHttp::Traiter(TypeConfigClientsHttp& config) {
  TypeTabChaines adresses = config.TabUrlConfigProxiesConnues();
  adresses.push_back(L"");  // discovery
  const TypeTabChaines urls = config.GetTabUrlTestPlusBuiltIn();
  const bool evaluationsAchevees = FTraitementsAutoProxy.EffectuerTraitements(adresses, urls, config);
  // After the evaluations: the proxies they just found are tested as well.
  TypeTabChaines proxies{L""};
  proxies.insert(proxies.end(), config.TabProxiesConnus().begin(), config.TabProxiesConnus().end());
  const bool testsAcheves = FTraitementsTest.EffectuerTraitements(proxies, urls, config);
  if (!evaluationsAchevees || !testsAcheves) return;

  TypeConstatsRecherche constats{.Proxies = proxies, .UrlsTest = urls};
  for (const std::wstring& proxy : proxies) {
    const TypeTabResultatsTestsConfigClientsHttp resultats = FTraitementsTest.GetTabResultatsDeProxy(proxy);
    std::vector<bool>& ligne = constats.Atteint.emplace_back();
    for (const std::wstring& url : urls) {
      const auto* resultat = TrouverParCle(resultats, url, [](const auto& r) { return r.UrlTest; });
      ligne.push_back(resultat && (resultat->Etat == etcErreurServeur || resultat->Etat == etcSucces));
    }
  }
  for (const std::wstring& adresse : adresses)
    constats.ProxiesTrouves.emplace_back(adresse, FTraitementsAutoProxy.GetProxiesTrouves(adresse, urls));

  FTabPropositions = ConstruirePropositions(config, FExceptionsTestees, constats);
  FTabDemandesAuthProxy = FTraitementsTest.GetTabDemandesAuthProxy();
  SignalerAcheve();
}

}  // namespace norvel
