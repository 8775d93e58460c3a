// Configuration tests against the stand-in server and a real Squid: verdicts of one URL, groups
// of URLs and of proxies, demands for proxy credentials, the test of a whole configuration, and
// the proxy of an automatic configuration script.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

#include "platform/RestrictionsApiWindows.h"
#include "core/Chaines.h"
#include "core/Format.h"
#include "core/Messages.h"
#include "http/ExceptionWinhttp.h"
#include "httpconfig/EssaisReseauConfigClientsHttp.h"
#include "httpconfig/TestsConfigClientsHttp.h"
#include "support/ProcessusEnfant.h"

namespace norvel::test {
namespace {

using enum TypeGenreConfigProxyClientsHttp;
using enum TypeEtatTestConfigClientsHttp;

constexpr uint32_t Basic = WINHTTP_AUTH_SCHEME_BASIC;

std::string Texte(TypeEtatTestConfigClientsHttp etat) {
  const char* noms[] = {"etcErreurComm", "etcAuthProxyNecessaire", "etcErreurServeur", "etcSucces"};
  return noms[static_cast<int>(etat)];
}

class TestsConfigClientsHttp : public TEssaisReseauConfigClientsHttp {
 protected:
  static TypeConfigClientsHttp ConfigPar(const std::wstring& proxy) {
    TypeConfigClientsHttp config;
    config.SetUserAgent(L"NORVEL essais");
    config.SetGenreConfigProxy(gcpConfigOvalis);
    config.SetProxyHttpOvalis(proxy);
    config.SetProxyHttpsOvalis(proxy);
    return config;
  }

  TypeResultatTestConfigClientsHttp TesterUrl(const TypeConfigClientsHttp& config, const std::wstring& url) {
    const auto test = NouvelObjet<TTraitementTestElemConfigClientsHttp>(FAttente, *FThread, config, url);
    AttendreTraitement(FAttente.Get(), *FThread, static_cast<ITraitementTestElemConfigClientsHttp*>(test.Get()));
    EXPECT_TRUE(test->GetTabDemandesAuthProxy().empty() || test->GetResultat().Etat == etcAuthProxyNecessaire);
    return test->GetResultat();
  }
  // A group driven the way a treatment drives it, until it is done.
  void MenerUrls(TTraitementsTestsElemConfigClientsHttp& groupe, const TypeTabChaines& urls) {
    while (!groupe.EffectuerTraitements(FMaitre, urls)) Sleep(10);
  }

  const TypeConfigClientsHttp FDirecte = ConfigPar(L"");
};

// ---- One URL

TEST_F(TestsConfigClientsHttp, VerdictsDUneUrlEnDirect) {
  struct TCas {
    std::wstring Url;
    TypeEtatTestConfigClientsHttp Etat;
    std::wstring InfoCompl;  // exact, or the start of the error message
  };
  const std::wstring page = NomUnique(L"/page");  // its one request is looked for in the journal
  const TCas cas[] = {
      {Monde().Url("https", page + L"?corps=bonjour"), etcSucces, L"Code HTTP 200 (OK)"},
      {Monde().Url("https", L"/absente?statut=404"), etcErreurServeur, L"Code HTTP 404 (Not Found)"},
      {Monde().Url("http", L"/panne?statut=500&texte=En%20panne"), etcErreurServeur, L"Code HTTP 500 (En panne)"},
      // No proxy involved: a 407 from a server is one more refusal.
      {Monde().Url("http", L"/mandataire?statut=407"), etcErreurComm, L"Code HTTP 407 (Proxy Authentication Required)"},
      {L"https://nom-inconnu.invalid/", etcErreurComm, Msg::EchecRequeteHttp},
      {Monde().Url("https_inconnu", L"/"), etcErreurComm, Msg::EchecRequeteHttp},
      {L"pas une adresse", etcErreurComm, Msg::EchecRequeteHttp},
      // A page that never ends, or far larger than any test page: refused at the test's bound
      // instead of growing in memory.
      {Monde().Url("http", L"/sans-fin?infini=1"), etcErreurComm,
       L"La réponse du serveur dépasse la taille attendue (256 Kio au plus)"},
      {Monde().Url("https", L"/enorme?taille=300000"), etcErreurComm,
       L"La réponse du serveur dépasse la taille attendue (256 Kio au plus)"},
  };
  for (const TCas& c : cas) {
    const TypeResultatTestConfigClientsHttp resultat = TesterUrl(FDirecte, c.Url);
    EXPECT_EQ(resultat.UrlTest, c.Url);
    EXPECT_EQ(Texte(resultat.Etat), Texte(c.Etat)) << VersUtf8(c.Url) << " : " << VersUtf8(resultat.InfoCompl);
    EXPECT_TRUE(CommencePar(resultat.InfoCompl, c.InfoCompl)) << VersUtf8(resultat.InfoCompl);
    EXPECT_EQ(resultat.Proxy, L"");
    EXPECT_TRUE(resultat.TracesAutoProxy.empty());
  }
  // The name that does not resolve: WinHTTP's own text for it.
  const TypeResultatTestConfigClientsHttp inconnu = TesterUrl(FDirecte, L"https://nom-inconnu.invalid/");
  EXPECT_NE(inconnu.InfoCompl.find(TexteErreurWinhttp(ERROR_WINHTTP_NAME_NOT_RESOLVED)), std::wstring::npos)
      << VersUtf8(inconnu.InfoCompl);
  // A plain GET asking for HTML in French.
  const std::vector<std::string> lignes = JournalServeur(VersUtf8(page) + "?");
  ASSERT_EQ(lignes.size(), 1u);
  EXPECT_NE(lignes[0].find("\"methode\": \"GET\""), std::string::npos) << lignes[0];
  EXPECT_NE(lignes[0].find("\"Accept\": \"text/html\""), std::string::npos) << lignes[0];
  EXPECT_NE(lignes[0].find("\"Accept-Language\": \"fr-FR\""), std::string::npos) << lignes[0];
  EXPECT_NE(lignes[0].find("\"User-Agent\": \"NORVEL essais\""), std::string::npos) << lignes[0];
}

TEST_F(TestsConfigClientsHttp, AuTraversDeSquidAvecEtSansIdentifiants) {
  TypeConfigClientsHttp config = ConfigPar(Squid("squid_auth"));
  const std::wstring page = PageInternet("http", L"/authentifiee?corps=ok");

  // Nothing stored: the proxy's demand, for the scheme the program would answer.
  const TypeResultatTestConfigClientsHttp sans = TesterUrl(config, page);
  EXPECT_EQ(Texte(sans.Etat), Texte(etcAuthProxyNecessaire)) << VersUtf8(sans.InfoCompl);
  EXPECT_EQ(sans.InfoCompl, L"Code HTTP 407 (Proxy Authentication Required)");
  EXPECT_EQ(sans.Proxy, Squid("squid_auth"));

  // Stored in the master: the request goes through.
  FThread->SetInfoAuthProxy(Squid("squid_auth"), {Basic, TypeLoginOffusque::Create(Monde().Valeur("squid_utilisateur")),
                                                  TypeMotDePasseOffusque::Create(Monde().Valeur("squid_motdepasse"))});
  const TypeResultatTestConfigClientsHttp avec = TesterUrl(config, page);
  EXPECT_EQ(Texte(avec.Etat), Texte(etcSucces)) << VersUtf8(avec.InfoCompl);
  EXPECT_EQ(avec.Proxy, Squid("squid_auth"));

  // Stored but refused: asked about again.
  FThread->SetInfoAuthProxy(Squid("squid_auth"), {Basic, TypeLoginOffusque::Create(Monde().Valeur("squid_utilisateur")),
                                                  TypeMotDePasseOffusque::Create(L"faux")});
  const auto refuse = NouvelObjet<TTraitementTestElemConfigClientsHttp>(FAttente, *FThread, config, page);
  AttendreTraitement(FAttente.Get(), *FThread, static_cast<ITraitementTestElemConfigClientsHttp*>(refuse.Get()));
  EXPECT_EQ(Texte(refuse->GetResultat().Etat), Texte(etcAuthProxyNecessaire));
  EXPECT_EQ(refuse->GetTabDemandesAuthProxy(),
            TypeTabDemandesAuthProxy{TypeDemandeAuthProxy::Create(Squid("squid_auth"), Basic)});
}

TEST_F(TestsConfigClientsHttp, UnProxyQuiDemandeUnSchemaInconnuEstUnEchec) {
  // The stand-in server plays a proxy that wants Windows authentication only.
  const TypeConfigClientsHttp config = ConfigPar(L"127.0.0.1:" + std::to_wstring(Monde().Port("http")));
  const auto test = NouvelObjet<TTraitementTestElemConfigClientsHttp>(
      FAttente, *FThread, config,
      L"http://internet.test/ntlm?statut=407&entete=Proxy-Authenticate:%20NTLM&entete=Via:%201.1%20p");
  AttendreTraitement(FAttente.Get(), *FThread, static_cast<ITraitementTestElemConfigClientsHttp*>(test.Get()));
  EXPECT_EQ(Texte(test->GetResultat().Etat), Texte(etcErreurComm)) << VersUtf8(test->GetResultat().InfoCompl);
  EXPECT_EQ(test->GetResultat().InfoCompl, L"Code HTTP 407 (Proxy Authentication Required)");
  EXPECT_TRUE(test->GetTabDemandesAuthProxy().empty());
}

// ---- Groups

TEST_F(TestsConfigClientsHttp, UneUrlEstTesteeUneSeuleFoisEtLesDemandesSontFusionnees) {
  TTraitementsTestsElemConfigClientsHttp groupe(*FThread, ConfigPar(Squid("squid_auth")));
  const std::wstring a = PageInternet("http", L"/groupe-a"), b = PageInternet("http", L"/groupe-b");
  MenerUrls(groupe, {a, b, EnMajuscules(a.substr(0, 7)) + a.substr(7), a});
  const TypeTabResultatsTestsConfigClientsHttp resultats = groupe.GetTabResultats();
  ASSERT_EQ(resultats.size(), 2u);
  EXPECT_EQ(resultats[0].UrlTest, a);
  EXPECT_EQ(resultats[1].UrlTest, b);
  for (const auto& resultat : resultats) EXPECT_EQ(Texte(resultat.Etat), Texte(etcAuthProxyNecessaire));
  // Both asked the same proxy: one demand.
  EXPECT_EQ(groupe.GetTabDemandesAuthProxy(),
            TypeTabDemandesAuthProxy{TypeDemandeAuthProxy::Create(Squid("squid_auth"), Basic)});

  // A URL met again is not tested again; a new one is.
  const std::wstring c = PageInternet("http", L"/groupe-c");
  MenerUrls(groupe, {b, c});
  ASSERT_EQ(groupe.GetTabResultats().size(), 3u);
  EXPECT_EQ(groupe.GetTabResultats()[2].UrlTest, c);
}

TEST_F(TestsConfigClientsHttp, UnGroupeParProxy) {
  TypeConfigClientsHttp configInit;
  configInit.SetUserAgent(L"NORVEL essais");
  configInit.SetTabExceptionsProxiesOvalis({L"localhost"});  // kept: this server goes direct
  TTraitementsTestTabProxiesClientsHttp groupes(*FThread, configInit);
  const std::wstring parProxy = NomUnique(L"/par-proxy");
  const TypeTabChaines urls = {PageInternet("http", parProxy), Monde().Url("http", L"/en-direct")};
  const TypeTabChaines proxies = {Squid(), Squid(), L"", Squid("squid_auth")};
  while (!groupes.EffectuerTraitements(proxies, urls, FMaitre)) Sleep(10);

  const auto parSquid = groupes.GetTabResultatsDeProxy(Squid());
  ASSERT_EQ(parSquid.size(), 2u);
  EXPECT_EQ(Texte(parSquid[0].Etat), Texte(etcSucces)) << VersUtf8(parSquid[0].InfoCompl);
  EXPECT_EQ(parSquid[0].Proxy, Squid());
  EXPECT_EQ(Texte(parSquid[1].Etat), Texte(etcSucces));
  EXPECT_EQ(parSquid[1].Proxy, L"");  // the server reached directly

  // No proxy: the name means nothing without one.
  const auto direct = groupes.GetTabResultatsDeProxy(L"");
  ASSERT_EQ(direct.size(), 2u);
  EXPECT_EQ(Texte(direct[0].Etat), Texte(etcErreurComm));
  EXPECT_EQ(Texte(direct[1].Etat), Texte(etcSucces));

  EXPECT_EQ(groupes.GetTabResultatsDeProxy(Squid("squid_auth")).size(), 2u);
  EXPECT_TRUE(groupes.GetTabResultatsDeProxy(L"inconnu:1").empty());
  EXPECT_EQ(groupes.GetTabDemandesAuthProxy(),
            TypeTabDemandesAuthProxy{TypeDemandeAuthProxy::Create(Squid("squid_auth"), Basic)});
  // The same proxy twice made no second group: its URLs were asked once.
  EXPECT_EQ(JournalServeur(VersUtf8(parProxy) + "\"").size(), 1u);
}

// ---- A whole configuration

TEST_F(TestsConfigClientsHttp, TestDUneConfigurationAvecLesUrlsDuMaitre) {
  const std::wstring page = PageInternet("https", L"/config-entiere");
  FThread->AjouterUrlTest(page, FMaitre);
  const auto test = NouvelObjet<TTraitementTestConfigClientsHttp>(FAttente, *FThread, ConfigPar(Squid()));
  AttendreTraitement(FAttente.Get(), *FThread, static_cast<ITraitementTestConfigClientsHttp*>(test.Get()));
  const TypeTabResultatsTestsConfigClientsHttp resultats = test->GetTabResultats();
  ASSERT_EQ(resultats.size(), 2u);
  // The built-in page first, through the configuration's proxy like the others.
  EXPECT_EQ(resultats[0].UrlTest, UrlTestIntegree);
  EXPECT_EQ(resultats[0].Proxy, Squid());
  EXPECT_EQ(resultats[1].UrlTest, page);
  EXPECT_EQ(Texte(resultats[1].Etat), Texte(etcSucces)) << VersUtf8(resultats[1].InfoCompl);
  EXPECT_EQ(resultats[1].Proxy, Squid());
  EXPECT_TRUE(TestsHttpsReussis(resultats));
  EXPECT_TRUE(test->GetTabDemandesAuthProxy().empty());
}

TEST_F(TestsConfigClientsHttp, LeProxyDUnScriptDeConfigurationAutomatique) {
  const std::wstring urlScript = ServirScriptPac(L"/proxy.pac", Format(L"return 'PROXY %s';", {Squid()}));
  TypeConfigClientsHttp config;
  config.SetUserAgent(L"NORVEL essais");
  config.SetGenreConfigProxy(gcpUrlConfig);
  config.SetUrlConfigProxies(urlScript);
  const std::wstring page = Monde().Url("http", L"/par-script");
  const TypeResultatTestConfigClientsHttp resultat = TesterUrl(config, page);
  EXPECT_EQ(resultat.Proxy, Squid());
  const std::wstring racine = Monde().Url("http", L"/").substr(0, Monde().Url("http", L"/").size() - 1);
  EXPECT_EQ(resultat.TracesAutoProxy,
            (TypeTabChaines{Format(Msg::AutoProxyAdresseConfig, {urlScript}), Format(Msg::AutoProxyAdresseEvaluee, {racine}),
                            Format(Msg::AutoProxyServeursObtenus, {Squid()})}));
  EXPECT_EQ(Texte(resultat.Etat), Texte(etcSucces)) << VersUtf8(resultat.InfoCompl);
  // The proxy the script gave became known to the master.
  FThread->VerifierChangementConfig(FMaitre, false);
  EXPECT_EQ(FMaitre.TabProxiesConnus(), TypeTabChaines{Squid()});
}

}  // namespace
}  // namespace norvel::test
