// Automatic proxy evaluations against scripts served by the stand-in server: the trace of one
// evaluation, discovery on a network without WPAD, the bound on a script that never comes, and
// the groups of the search (a script address worth nothing when one of its evaluations failed).
#include <gtest/gtest.h>

#include "core/Chaines.h"
#include "core/Format.h"
#include "core/Messages.h"
#include "httpconfig/EssaisReseauConfigClientsHttp.h"
#include "httpconfig/TraitementsAutoProxy.h"

namespace norvel::test {
namespace {

class TraitementsAutoProxy : public TEssaisReseauConfigClientsHttp {
 protected:
  TRef<ITraitementAutoProxy> Evaluer(const std::wstring& urlConfig, const std::wstring& url) {
    const TRef<ITraitementAutoProxy> evaluation =
        NouvelObjet<TTraitementAutoProxy>(FAttente, *FThread, FSession.Handle(), urlConfig, url);
    AttendreTraitement(FAttente.Get(), *FThread, evaluation.Get());
    return evaluation;
  }
  // The trace is its lines, each ended by "\r\n": the first two, then the last one (a failure's
  // message holds a line break of its own).
  static std::wstring DerniereLigne(const std::wstring& traces, const std::wstring& premiere,
                                    const std::wstring& deuxieme) {
    const std::wstring debut = premiere + L"\r\n" + deuxieme + L"\r\n";
    EXPECT_TRUE(CommencePar(traces, debut)) << VersUtf8(traces);
    EXPECT_TRUE(FinitPar(traces, L"\r\n")) << VersUtf8(traces);
    if (!CommencePar(traces, debut) || traces.size() < debut.size() + 2) return {};
    return traces.substr(debut.size(), traces.size() - debut.size() - 2);
  }

  // The session of the sessions service has no proxy of its own.
  TSessionClientsHttp FSession{{L"NORVEL essais", {WINHTTP_ACCESS_TYPE_NO_PROXY}}};
};

TEST_F(TraitementsAutoProxy, TraceDUneEvaluation) {
  const std::wstring echec = Format(L"%s (WinHttpGetProxyForUrl - 0x", {Msg::EchecRequeteHttp});
  struct TCas {
    std::wstring UrlConfig;
    bool Succes;
    std::wstring Proxy;
    std::wstring DerniereLigne;  // exact, or the start of a failure
  };
  const TCas cas[] = {
      {ServirScriptPac(L"/trace-squid.pac", Format(L"return 'PROXY %s';", {Squid()})), true, Squid(),
       Format(Msg::AutoProxyServeursObtenus, {Squid()})},
      // Direct: a success without proxy.
      {ServirScriptPac(L"/trace-direct.pac", L"return 'DIRECT';"), true, L"", L"Serveurs proxy obtenus : "},
      {Monde().Url("http", L"/trace-absent.pac?statut=404"), false, L"", echec},
      {ServirScriptPac(L"/trace-panne.pac", L"throw 'panne';"), false, L"", echec},
      // Discovery: no WPAD on this network.
      {L"", false, L"", echec},
  };
  const std::wstring url = PageInternet("http", L"/evaluee");
  for (const TCas& c : cas) {
    const TRef<ITraitementAutoProxy> evaluation = Evaluer(c.UrlConfig, url);
    const std::wstring derniere = DerniereLigne(
        evaluation->GetTraces(),
        c.UrlConfig.empty() ? Msg::AutoProxyModeAutomatique : Format(Msg::AutoProxyAdresseConfig, {c.UrlConfig}),
        Format(Msg::AutoProxyAdresseEvaluee, {url}));
    EXPECT_TRUE(c.Succes ? derniere == c.DerniereLigne : CommencePar(derniere, c.DerniereLigne)) << VersUtf8(derniere);
    EXPECT_EQ(evaluation->GetSucces(), c.Succes) << VersUtf8(c.UrlConfig);
    EXPECT_EQ(evaluation->GetProxy(), c.Proxy);
    EXPECT_EQ(evaluation->GetUrl(), url);
  }
  // The proxy found became known to the master.
  EXPECT_EQ(Maitre().TabProxiesConnus(), TypeTabChaines{Squid()});
}

TEST_F(TraitementsAutoProxy, LesProxysDUnScriptDeviennentTousConnus) {
  const TRef<ITraitementAutoProxy> evaluation =
      Evaluer(ServirScriptPac(L"/deux.pac", L"return 'PROXY premier.test:1; PROXY second.test:2';"),
              PageInternet("http", L"/deux"));
  if (evaluation->GetTraces().find(L"second.test") == std::wstring::npos)
    GTEST_SKIP() << "Wine's WinHttpGetProxyForUrl gives only the first proxy of a script's answer";
  EXPECT_EQ(evaluation->GetProxy(), L"premier.test:1");
  EXPECT_EQ(Maitre().TabProxiesConnus(), (TypeTabChaines{L"premier.test:1", L"second.test:2"}));
}

TEST_F(TraitementsAutoProxy, UneEvaluationQuiNAboutitPasEstAbandonnee) {
  struct TDelai {
    TDelai() { DefinirDelaiMaxEvaluationAutoProxy(2000); }
    ~TDelai() { DefinirDelaiMaxEvaluationAutoProxy(DelaiMaxEvaluationAutoProxyParDefaut); }
  } delai;
  // The script comes after 20 s.
  const std::wstring urlScript = Monde().Url("http", L"/tardif.pac?delai=20000");
  const ULONGLONG debut = GetTickCount64();
  const TRef<ITraitementAutoProxy> evaluation = Evaluer(urlScript, PageInternet("http", L"/tardive"));
  const ULONGLONG duree = GetTickCount64() - debut;
  EXPECT_GE(duree, 1900u);
  EXPECT_LT(duree, 6000u);
  EXPECT_FALSE(evaluation->GetSucces());
  EXPECT_EQ(evaluation->GetProxy(), L"");
  EXPECT_EQ(DerniereLigne(evaluation->GetTraces(), Format(Msg::AutoProxyAdresseConfig, {urlScript}),
                          Format(Msg::AutoProxyAdresseEvaluee, {PageInternet("http", L"/tardive")})),
            Format(Msg::AutoProxyDelaiDepasse, {2}));
}

// Driven one step at a time, each step starting one evaluation: Wine's WinHttpGetProxyForUrl
// runs every script in one process-wide slot, so scripts evaluated at the same moment there
// trample on each other (Windows evaluates them apart).
TEST_F(TraitementsAutoProxy, GroupesDAdresses) {
  const std::wstring parSquid = ServirScriptPac(L"/groupe-squid.pac", Format(L"return 'PROXY %s';", {Squid()}));
  const std::wstring enPanne =
      ServirScriptPac(L"/groupe-panne.pac", L"if (host == 'panne.test') throw 'panne'; return 'DIRECT';");
  const std::wstring ok = L"http://ok.test/a", panne = L"http://panne.test/b";
  TTraitementsAutoProxyTabUrlConfigClientsHttp groupes(*FThread, FSession.Handle());
  const auto mener = [&](const TypeTabChaines& adresses, const TypeTabChaines& urls) {
    while (!groupes.EffectuerTraitements(adresses, urls, FMaitre)) Sleep(10);
  };
  // "" is discovery; an address or a URL in other letters is the same.
  mener({parSquid, L""}, {ok});
  mener({parSquid, L"", EnMajuscules(parSquid.substr(0, 17)) + parSquid.substr(17)}, {ok, L"HTTP://OK.TEST/a"});
  mener({parSquid, L"", enPanne}, {ok});
  mener({parSquid, L"", enPanne}, {ok, panne});
  mener({parSquid, L"", enPanne}, {ok, panne, L"http://nouvelle.test/"});

  const TypeTabChaines urls = {ok, panne, L"HTTP://OK.TEST/a", L"http://nouvelle.test/"};
  EXPECT_EQ(groupes.GetProxiesTrouves(parSquid, urls), (TypeTabChaines{Squid(), Squid(), Squid(), Squid()}));
  // One failed evaluation and the address is worth nothing, though the others went direct.
  EXPECT_TRUE(groupes.GetProxiesTrouves(enPanne, urls).empty());
  EXPECT_EQ(groupes.GetProxiesTrouves(enPanne, {ok, L"http://nouvelle.test/"}), (TypeTabChaines{L"", L""}));
  EXPECT_TRUE(groupes.GetProxiesTrouves(L"", urls).empty());
  EXPECT_TRUE(groupes.GetProxiesTrouves(L"http://ailleurs.test/x.pac", urls).empty());
  // A URL never evaluated: nothing is known of it.
  EXPECT_TRUE(groupes.GetProxiesTrouves(parSquid, {L"http://jamais.test/"}).empty());
  // The proxy found became known to the configuration given.
  EXPECT_EQ(FMaitre.TabProxiesConnus(), TypeTabChaines{Squid()});
}

}  // namespace
}  // namespace norvel::test
