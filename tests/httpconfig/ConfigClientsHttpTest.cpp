// The revisioned HTTP configuration: sorted case-insensitive lists, revisions, the proxy-list
// syntax, effective proxies, stored proxy credentials and the records around them.
#include <gtest/gtest.h>

#include <functional>

#include "core/Chaines.h"
#include "core/Format.h"
#include "httpconfig/ConfigClientsHttp.h"

namespace norvel::test {
namespace {

using enum TypeGenreConfigProxyClientsHttp;
using TypeEtat = TypeEtatTestConfigClientsHttp;

TypeInfoAuthHttp Auth(uint32_t schema, std::wstring_view login, std::wstring_view motDePasse) {
  return {schema, TypeLoginOffusque::Create(login), TypeMotDePasseOffusque::Create(motDePasse)};
}
constexpr uint32_t Basic = WINHTTP_AUTH_SCHEME_BASIC, Ntlm = WINHTTP_AUTH_SCHEME_NTLM,
                   Digest = WINHTTP_AUTH_SCHEME_DIGEST;

// ---- Lists and revisions

TEST(ConfigClientsHttp, AjoutsAuxProxiesConnus) {
  struct TCas {
    const wchar_t* Ajout;
    TypeTabChaines Attendu;
    int Revisions;
  };
  const TCas cas[] = {
      {L" proxy:8080 ", {L"proxy:8080"}, 1},
      {L"PROXY:8080", {L"proxy:8080"}, 0},  // already there, whatever the case
      {L"", {L"proxy:8080"}, 0},
      {L" \t ", {L"proxy:8080"}, 0},
      {L"alpha:1", {L"alpha:1", L"proxy:8080"}, 1},
      {L"Beta:2", {L"alpha:1", L"Beta:2", L"proxy:8080"}, 1},  // sorted without regard to case
      {L"zeta:9\r\n", {L"alpha:1", L"Beta:2", L"proxy:8080", L"zeta:9"}, 1},
  };
  TypeConfigClientsHttp config;
  for (const TCas& c : cas) {
    const int avant = config.Revision();
    config.AjouterProxyConnu(c.Ajout);
    EXPECT_EQ(config.TabProxiesConnus(), c.Attendu) << VersUtf8(c.Ajout);
    EXPECT_EQ(config.Revision() - avant, c.Revisions) << VersUtf8(c.Ajout);
  }
}

TEST(ConfigClientsHttp, SettersEtRevisions) {
  TypeConfigClientsHttp config;
  config.SetUserAgent(L"  NORVEL/1.9 \t");
  EXPECT_EQ(config.UserAgent(), L"NORVEL/1.9");
  EXPECT_EQ(config.Revision(), 1);
  config.SetUserAgent(L"NORVEL/1.9 ");  // trims to the same value
  config.SetAnciennesVersionsTLS(false);
  config.SetGenreConfigProxy(gcpConfigSysteme);
  EXPECT_EQ(config.Revision(), 1);
  config.SetUserAgent(L"norvel/1.9");  // a change of case is a change
  config.SetAnciennesVersionsTLS(true);
  config.SetGenreConfigProxy(gcpWpad);
  EXPECT_EQ(config.Revision(), 4);

  // A proxy that changes becomes known; the list keeps it after the proxy changes again.
  config.SetProxyHttpOvalis(L" own:3128 ");
  config.SetProxyHttpsSysteme(L"sys:8080");
  config.SetProxyHttpOvalis(L"");
  EXPECT_EQ(config.TabProxiesConnus(), (TypeTabChaines{L"own:3128", L"sys:8080"}));
  config.SetUrlConfigProxies(L"http://pac/proxy.pac");
  EXPECT_EQ(config.TabUrlConfigProxiesConnues(), TypeTabChaines{L"http://pac/proxy.pac"});
}

TEST(ConfigClientsHttp, SettersDeListes) {
  TypeConfigClientsHttp config;
  config.SetTabExceptionsProxiesOvalis({L" b.local", L"A.local", L"", L"a.LOCAL", L"<local>"});
  EXPECT_EQ(config.TabExceptionsProxiesOvalis(), (TypeTabChaines{L"<local>", L"A.local", L"b.local"}));
  EXPECT_EQ(config.TabExceptionsProxiesConnues(), config.TabExceptionsProxiesOvalis());

  // The same content again still counts as a change, once for the list and once per entry.
  const int avant = config.Revision();
  config.SetTabExceptionsProxiesOvalis(config.TabExceptionsProxiesConnues());
  EXPECT_EQ(config.Revision() - avant, 4);
  // The very list itself: nothing happens.
  config.SetTabExceptionsProxiesOvalis(config.TabExceptionsProxiesOvalis());
  EXPECT_EQ(config.Revision() - avant, 4);

  config.SetTabUrlTest({L"https://b/", L"https://a/"});
  EXPECT_EQ(config.TabUrlTest(), (TypeTabChaines{L"https://a/", L"https://b/"}));
}

// A control character inside a value (pasted, or in the machine's settings) never reaches the
// shared file, which XML could not read back: every way in leaves it out.
TEST(ConfigClientsHttp, LesCaracteresDeControleNEntrentPas) {
  struct TCas {
    const char* Nom;
    std::function<void(TypeConfigClientsHttp&, const std::wstring&)> Entree;
    std::function<TypeTabChaines(const TypeConfigClientsHttp&)> Lecture;
  };
  const auto un = [](std::wstring texte) { return TypeTabChaines{std::move(texte)}; };
  const TCas cas[] = {
      {"own proxy", [](auto& c, auto& v) { c.SetProxyHttpOvalis(v); },
       [&](const auto& c) { return un(c.ProxyHttpOvalis()); }},
      {"machine's proxy", [](auto& c, auto& v) { c.SetProxyHttpsSysteme(v); },
       [&](const auto& c) { return un(c.ProxyHttpsSysteme()); }},
      {"known proxy", [](auto& c, auto& v) { c.AjouterProxyConnu(v); }, [](const auto& c) { return c.TabProxiesConnus(); }},
      {"bypass list", [](auto& c, auto& v) { c.SetTabExceptionsProxiesOvalis({v}); },
       [](const auto& c) { return c.TabExceptionsProxiesOvalis(); }},
      {"script address", [](auto& c, auto& v) { c.SetUrlConfigProxies(v); },
       [&](const auto& c) { return un(c.UrlConfigProxies()); }},
      {"test address", [](auto& c, auto& v) { c.AjouterUrlTest(v); }, [](const auto& c) { return c.TabUrlTest(); }},
  };
  for (const TCas& c : cas) {
    TypeConfigClientsHttp config;
    config.SetTabProxiesConnus({});
    c.Entree(config, L" pro\x01xy.\x1f\x7flan\t:3\r\n128 ");
    EXPECT_EQ(c.Lecture(config), TypeTabChaines{L"proxy.lan:3128"}) << c.Nom;
  }
}

TEST(ConfigClientsHttp, CeQueLeSystemeImposeNeSeSupprimePas) {
  TypeConfigClientsHttp config;
  config.SetProxyHttpSysteme(L"sys:8080");
  config.SetProxyHttpsSysteme(L"secu:8443");
  config.SetProxyHttpOvalis(L"propre:3128");
  config.SetProxyHttpsOvalis(L"PROPRE:3128");
  config.SetInfoAuthProxy(L"propre:3128", Auth(Basic, L"u", L"p"));
  config.SetTabExceptionsProxiesSysteme({L"<local>"});
  config.SetTabExceptionsProxiesOvalis({L"interne.ecole", L"<local>"});

  for (const wchar_t* imposee : {L"SYS:8080", L"secu:8443", L"", L"  "}) {
    EXPECT_FALSE(config.ProxyConnuModifiable(imposee)) << VersUtf8(imposee);
    config.SupprimerProxyConnu(imposee);
  }
  EXPECT_EQ(config.TabProxiesConnus(), (TypeTabChaines{L"propre:3128", L"secu:8443", L"sys:8080"}));
  EXPECT_FALSE(config.ExceptionProxiesConnueModifiable(L"<LOCAL>"));
  config.SupprimerExceptionProxiesConnue(L"<local>");
  EXPECT_EQ(config.TabExceptionsProxiesConnues(), (TypeTabChaines{L"<local>", L"interne.ecole"}));

  // An own proxy goes from the known list, from both own fields and with its credentials.
  EXPECT_TRUE(config.ProxyConnuModifiable(L"Propre:3128"));
  config.SupprimerProxyConnu(L"Propre:3128");
  EXPECT_EQ(config.TabProxiesConnus(), (TypeTabChaines{L"secu:8443", L"sys:8080"}));
  EXPECT_EQ(config.ProxyHttpOvalis(), L"");
  EXPECT_EQ(config.ProxyHttpsOvalis(), L"");
  EXPECT_TRUE(config.GetTabProxiesAvecInfoAuth().empty());
  config.SupprimerExceptionProxiesConnue(L"INTERNE.ecole");
  EXPECT_EQ(config.TabExceptionsProxiesConnues(), TypeTabChaines{L"<local>"});
  EXPECT_EQ(config.TabExceptionsProxiesOvalis(), TypeTabChaines{L"<local>"});
}

TEST(ConfigClientsHttp, AdressesDeScriptsEtDeTest) {
  TypeConfigClientsHttp config;
  config.SetUrlConfigProxies(L"http://pac/a.pac");
  config.AjouterUrlConfigProxiesConnue(L"http://pac/b.pac");
  config.SupprimerUrlConfigProxiesConnue(L"HTTP://PAC/A.PAC");
  EXPECT_EQ(config.UrlConfigProxies(), L"");
  EXPECT_EQ(config.TabUrlConfigProxiesConnues(), TypeTabChaines{L"http://pac/b.pac"});

  config.AjouterUrlTest(L" https://exemple.test/ ");
  EXPECT_TRUE(config.UrlTestModifiable(L"https://EXEMPLE.test/"));
  EXPECT_FALSE(config.UrlTestModifiable(UrlTestIntegree));
  EXPECT_EQ(config.GetTabUrlTestPlusBuiltIn(), (TypeTabChaines{UrlTestIntegree, L"https://exemple.test/"}));
  EXPECT_TRUE(FinitPar(UrlTestIntegree, L"/trs.html") && CommencePar(UrlTestIntegree, L"https://"));
  config.SupprimerUrlTest(L"https://exemple.test/");
  EXPECT_EQ(config.GetTabUrlTestPlusBuiltIn(), TypeTabChaines{UrlTestIntegree});
}

TEST(ConfigClientsHttp, InsererDansTabExceptionsGardeLaValeurTelleQuelle) {
  TypeTabChaines exceptions{L"a.test", L"c.test"};
  TypeConfigClientsHttp::InsererDansTabExceptions(L" b.test", exceptions);
  TypeConfigClientsHttp::InsererDansTabExceptions(L"C.TEST", exceptions);
  EXPECT_EQ(exceptions, (TypeTabChaines{L" b.test", L"a.test", L"c.test"}));
}

// ---- Proxy-list syntax

TEST(ListeProxies, Lecture) {
  struct TCas {
    const wchar_t* Texte;
    TypeTabProxiesHttp Entrees;
    const wchar_t *PourHttp, *PourHttps;
  };
  const TCas cas[] = {
      {L"http=a:1;https=b:2", {{L"http", L"a:1"}, {L"https", L"b:2"}}, L"a:1", L"b:2"},
      {L"a:1 b:2", {{L"", L"a:1"}, {L"", L"b:2"}}, L"a:1", L"a:1"},
      {L" ;; HTTP=a:1 ;  ", {{L"HTTP", L"a:1"}}, L"a:1", L""},
      {L"https=b:2;a:1", {{L"https", L"b:2"}, {L"", L"a:1"}}, L"a:1", L"b:2"},
      {L"http=x=y", {{L"http", L"x=y"}}, L"x=y", L""},
      {L"", {}, L"", L""},
  };
  for (const TCas& c : cas) {
    const TypeTabProxiesHttp lus = LireListeProxies(c.Texte);
    EXPECT_EQ(lus, c.Entrees) << VersUtf8(c.Texte);
    EXPECT_EQ(AdressePourProtocole(lus, L"http"), c.PourHttp) << VersUtf8(c.Texte);
    EXPECT_EQ(AdressePourProtocole(lus, L"https"), c.PourHttps) << VersUtf8(c.Texte);
  }
  EXPECT_EQ(LireListeExceptions(L"<local>; *.ecole  10.0.0.1;"), (TypeTabChaines{L"<local>", L"*.ecole", L"10.0.0.1"}));
}

TEST(ListeProxies, ProxiesPropresVersWinhttp) {
  struct TCas {
    const wchar_t *Http, *Https;
    uint32_t Genre;
    const wchar_t* Liste;
  };
  const TCas cas[] = {
      {L"a:1", L"a:1", WINHTTP_ACCESS_TYPE_NAMED_PROXY, L"a:1"},
      {L"a:1", L"b:2", WINHTTP_ACCESS_TYPE_NAMED_PROXY, L"http=a:1;https=b:2"},
      {L"a:1", L"", WINHTTP_ACCESS_TYPE_NAMED_PROXY, L"http=a:1"},
      {L"", L"b:2", WINHTTP_ACCESS_TYPE_NAMED_PROXY, L"https=b:2"},
      {L"", L"", WINHTTP_ACCESS_TYPE_NO_PROXY, L""},
  };
  for (const TCas& c : cas) {
    TypeConfigClientsHttp config;
    config.SetProxyHttpOvalis(c.Http);
    config.SetProxyHttpsOvalis(c.Https);
    config.SetTabExceptionsProxiesOvalis({L"<local>", L"b.test"});
    config.SetProxyHttpSysteme(L"systeme:1");
    const TypeInfoProxyHttp info = config.ConstruireInfoProxyDeGenre(gcpConfigOvalis);
    EXPECT_EQ(info.GenreConfig, c.Genre) << VersUtf8(c.Liste);
    EXPECT_EQ(info.ServeurProxy, c.Liste);
    EXPECT_EQ(info.PasDeProxyPour, *c.Liste ? L"<local>;b.test" : L"");
    // The automatic kinds resolve their proxies per request: their sessions have none.
    for (const auto genre : {gcpUrlConfig, gcpWpad})
      EXPECT_TRUE(config.ConstruireInfoProxyDeGenre(genre) == TypeInfoProxyHttp{WINHTTP_ACCESS_TYPE_NO_PROXY});
    EXPECT_EQ(config.ConstruireInfoProxyDeGenre(gcpConfigSysteme).ServeurProxy, L"http=systeme:1");
  }
}

TEST(ListeProxies, ConfigurationDeLaMachine) {
  TypeConfigClientsHttp config;
  config.AffecterInfoProxySysteme({WINHTTP_ACCESS_TYPE_NAMED_PROXY, L"http=a:1;https=b:2;c:3", L"<local>;*.x"});
  EXPECT_EQ(config.ProxyHttpSysteme(), L"a:1");
  EXPECT_EQ(config.ProxyHttpsSysteme(), L"b:2");
  EXPECT_EQ(config.TabExceptionsProxiesSysteme(), (TypeTabChaines{L"*.x", L"<local>"}));
  EXPECT_EQ(config.TabProxiesConnus(), (TypeTabChaines{L"a:1", L"b:2", L"c:3"}));
  EXPECT_EQ(config.TabExceptionsProxiesConnues(), (TypeTabChaines{L"*.x", L"<local>"}));

  config.AffecterInfoProxySysteme({WINHTTP_ACCESS_TYPE_NO_PROXY, L"ignore:1", L"ignore"});
  EXPECT_EQ(config.ProxyHttpSysteme(), L"");
  EXPECT_EQ(config.ProxyHttpsSysteme(), L"");
  EXPECT_TRUE(config.TabExceptionsProxiesSysteme().empty());
  EXPECT_EQ(config.TabProxiesConnus().size(), 3u);  // what was seen stays known
}

// ---- Effective proxies

TEST(ProxyEffectif, ExceptionsEntieresEtLocal) {
  struct TCas {
    const wchar_t* Serveur;
    bool Https;
    const wchar_t* Attendu;
  };
  const TCas cas[] = {
      {L"gamma", false, L""},              // no dot: <local>
      {L"gamma.beta", false, L"own:1"},
      {L"ALPHA.BETA", false, L""},         // listed, whatever the case
      {L"x.alpha.beta", false, L"own:1"},  // entries are whole names, not suffixes
      {L"gamma.beta", true, L""},          // no HTTPS proxy
  };
  TypeConfigClientsHttp config;
  config.SetGenreConfigProxy(gcpConfigOvalis);
  config.SetProxyHttpOvalis(L"own:1");
  config.SetTabExceptionsProxiesOvalis({L"<local>", L"alpha.beta"});
  for (const TCas& c : cas) {
    std::wstring proxy = L"ancien", script = L"ancien";
    EXPECT_TRUE(config.TryGetProxyEffectif(c.Serveur, c.Https, proxy, script));
    EXPECT_EQ(proxy, c.Attendu) << VersUtf8(c.Serveur) << " " << c.Https;
    EXPECT_EQ(script, L"");
  }
}

TEST(ProxyEffectif, SelonLeGenre) {
  struct TCas {
    TypeGenreConfigProxyClientsHttp Genre;
    const wchar_t* UrlConfig;
    bool Regle;
    const wchar_t *Proxy, *Script;
  };
  const TCas cas[] = {
      {gcpConfigSysteme, L"", true, L"sys:8080", L""},
      {gcpConfigOvalis, L"", true, L"own:3128", L""},
      {gcpUrlConfig, L"", true, L"", L""},  // no script: direct
      {gcpUrlConfig, L"http://pac/p.pac", false, L"", L"http://pac/p.pac"},
      {gcpWpad, L"http://pac/p.pac", false, L"", L""},
  };
  for (const TCas& c : cas) {
    TypeConfigClientsHttp config;
    config.SetProxyHttpsSysteme(L"sys:8080");
    config.SetProxyHttpsOvalis(L"own:3128");
    config.SetUrlConfigProxies(c.UrlConfig);
    config.SetGenreConfigProxy(c.Genre);
    std::wstring proxy, script;
    EXPECT_EQ(config.TryGetProxyEffectif(L"www.exemple.test", true, proxy, script), c.Regle);
    EXPECT_EQ(proxy, c.Proxy);
    EXPECT_EQ(script, c.Script);
    EXPECT_EQ(config.GetProxyEffectifConfigSysteme(L"www.exemple.test", true), L"sys:8080");
  }
}

// ---- Stored proxy credentials

TEST(InfoAuthProxy, RangeesParNomEtToujoursRevisionnees) {
  TypeConfigClientsHttp config;
  config.SetInfoAuthProxy(L"zeta:1", Auth(Basic, L"z", L"1"));
  config.SetInfoAuthProxy(L"alpha:1", Auth(Basic, L"a", L"1"));
  config.SetInfoAuthProxy(L"Mu:1", Auth(Basic, L"m", L"1"));
  EXPECT_EQ(config.GetTabProxiesAvecInfoAuth(), (TypeTabChaines{L"alpha:1", L"Mu:1", L"zeta:1"}));
  const int avant = config.Revision();
  config.SetInfoAuthProxy(L"MU:1", Auth(Basic, L"m", L"1"));  // the same again: replaced, still a change
  EXPECT_EQ(config.Revision(), avant + 1);
  EXPECT_EQ(config.GetTabProxiesAvecInfoAuth().size(), 3u);

  // Each name keeps its own credentials.
  uint32_t schema = 0;
  TypeInfoAuthHttp lue;
  ASSERT_TRUE(config.TryGetInfoAuthProxy(L"zeta:1", Basic, 0, schema, lue));
  EXPECT_TRUE(lue.Identifiant.MemeValeurQue(L"z"));
  config.SupprimerInfoAuthDeProxy(L"ALPHA:1");
  config.SupprimerInfoAuthDeProxy(L"absent:1");
  EXPECT_EQ(config.GetTabProxiesAvecInfoAuth(), (TypeTabChaines{L"Mu:1", L"zeta:1"}));
  lue = {};
  ASSERT_TRUE(config.TryGetInfoAuthProxy(L"zeta:1", Basic, 0, schema, lue));
  EXPECT_TRUE(lue.Identifiant.MemeValeurQue(L"z"));
}

TEST(InfoAuthProxy, JamaisDeuxFoisDeSuiteSousLeMemeSchema) {
  TypeConfigClientsHttp config;
  config.SetInfoAuthProxy(L"proxy:3128", Auth(Basic, L"eleve", L"secret"));
  uint32_t schema = 99;
  TypeInfoAuthHttp essai;

  // Basic offered, nothing tried yet: the stored credentials.
  ASSERT_TRUE(config.TryGetInfoAuthProxy(L"proxy:3128", Basic, Basic, schema, essai));
  EXPECT_EQ(schema, Basic);
  EXPECT_TRUE(essai.MemeValeurQue(Auth(Basic, L"eleve", L"secret")));
  // Those failed: nothing new.
  EXPECT_FALSE(config.TryGetInfoAuthProxy(L"proxy:3128", Basic, Basic, schema, essai));

  // Digest preferred while Basic is stored: re-labelled, one revision, offered.
  const int avant = config.Revision();
  ASSERT_TRUE(config.TryGetInfoAuthProxy(L"proxy:3128", Basic | Digest, Digest, schema, essai));
  EXPECT_EQ(schema, Digest);
  EXPECT_EQ(essai.Schema, Digest);
  EXPECT_EQ(config.Revision(), avant + 1);
}

TEST(InfoAuthProxy, ChoixDuSchema) {
  struct TCas {
    uint32_t Stocke;  // 0: nothing stored
    uint32_t Schemas, Premier;
    bool DejaEssayees;  // the caller tried the stored credentials last
    bool Offert;
    uint32_t Retenu;
  };
  const TCas cas[] = {
      {0, Basic, 0, false, false, Basic},             // nothing stored: no, the scheme is still chosen
      {Basic, Basic | Ntlm, Ntlm, false, true, Basic},  // NTLM is not ours to answer: Basic
      {Basic, Basic | Digest, 0, false, true, Digest},  // Digest first when both are offered
      {Basic, 0, 0, false, true, Basic},              // before any request: the stored scheme
      {Ntlm, 0, 0, false, false, 0},                  // a stored scheme we cannot answer with
      {Basic, Ntlm, Ntlm, false, true, Basic},        // none of ours offered: the stored ones, once...
      {Basic, Ntlm, Ntlm, true, false, 0},            // ...and not again, or the request would loop
  };
  for (const TCas& c : cas) {
    TypeConfigClientsHttp config;
    if (c.Stocke) config.SetInfoAuthProxy(L"p:1", Auth(c.Stocke, L"u", L"m"));
    uint32_t retenu = 1234;
    TypeInfoAuthHttp essai = c.DejaEssayees ? Auth(c.Stocke, L"u", L"m") : TypeInfoAuthHttp{};
    const std::string trace = VersUtf8(Format(L"%d %d %d %d", {c.Stocke, c.Schemas, c.Premier, int(c.DejaEssayees)}));
    EXPECT_EQ(config.TryGetInfoAuthProxy(L"p:1", c.Schemas, c.Premier, retenu, essai), c.Offert) << trace;
    EXPECT_EQ(retenu, c.Retenu) << trace;
    if (c.Offert) {
      EXPECT_TRUE(essai.MemeValeurQue(Auth(c.Retenu, L"u", L"m"))) << trace;
    }
  }
}

TEST(ConfigClientsHttp, DupliquerSansIdentifiants) {
  TypeConfigClientsHttp config;
  config.SetUserAgent(L"ua");
  config.SetProxyHttpOvalis(L"own:1");
  config.SetTabExceptionsProxiesOvalis({L"<local>"});
  config.SetInfoAuthProxy(L"own:1", Auth(Basic, L"u", L"p"));
  const TypeConfigClientsHttp copie = config.Dupliquer();
  EXPECT_EQ(copie.Revision(), config.Revision());
  EXPECT_TRUE(copie.GetTabProxiesAvecInfoAuth().empty());
  EXPECT_EQ(copie.ProxyHttpOvalis(), L"own:1");
  EXPECT_EQ(copie.TabProxiesConnus(), config.TabProxiesConnus());
  EXPECT_EQ(copie.TabExceptionsProxiesOvalis(), config.TabExceptionsProxiesOvalis());
  uint32_t schema;
  TypeInfoAuthHttp essai;
  EXPECT_FALSE(TypeConfigClientsHttp(copie).TryGetInfoAuthProxy(L"own:1", Basic, Basic, schema, essai));
  EXPECT_FALSE(config.GetTabProxiesAvecInfoAuth().empty());  // the source keeps them
}

TEST(ConfigClientsHttp, PropositionsEtCreationDeSession) {
  TypeConfigClientsHttp config;
  config.SetUserAgent(L"ua");
  config.SetSansSupportTls1_3(true);
  config.SetUrlConfigProxies(L"http://ancien/p.pac");
  config.AppliquerPropositionModif({gcpConfigOvalis, L"h:1", L"s:2", {L"<local>"}, L"http://ignoree/p.pac"});
  EXPECT_EQ(config.GenreConfigProxy(), gcpConfigOvalis);
  EXPECT_EQ(config.ProxyHttpOvalis(), L"h:1");
  EXPECT_EQ(config.ProxyHttpsOvalis(), L"s:2");
  EXPECT_EQ(config.UrlConfigProxies(), L"http://ancien/p.pac");

  const TypeInfoCreationSessionClientsHttp info = config.ConstruireInfoCreation(true);
  EXPECT_EQ(info.UserAgent, L"ua");
  EXPECT_EQ(info.InfoProxy.ServeurProxy, L"http=h:1;https=s:2");
  EXPECT_TRUE(info.SansSupportTls1_3);
  EXPECT_TRUE(info.AnciennesVersionsTLS);

  config.AppliquerPropositionModif({gcpUrlConfig, L"x:1", L"", {}, L"http://nouveau/p.pac"});
  EXPECT_EQ(config.UrlConfigProxies(), L"http://nouveau/p.pac");
  EXPECT_EQ(config.ProxyHttpOvalis(), L"h:1");
  const int avant = config.Revision();
  config.AppliquerPropositionModif({gcpWpad, L"x:1", L"y:2", {L"z"}, L"http://z/p.pac"});
  EXPECT_EQ(config.GenreConfigProxy(), gcpWpad);
  EXPECT_EQ(config.Revision(), avant + 1);
}

// ---- Records around the configuration

TEST(TestsHttpsReussis, UnServeurHttpsARepondu) {
  using R = TypeResultatTestConfigClientsHttp;
  struct TCas {
    std::vector<R> Resultats;
    bool Attendu;
  };
  const TCas cas[] = {
      {{}, false},
      {{R{L"http://a/", TypeEtat::etcSucces}, R{L"http://b/", TypeEtat::etcSucces}}, false},
      {{R{L"https://a/", TypeEtat::etcErreurServeur}}, true},  // a 500 still proves the access
      {{R{L"HTTPS://a/", TypeEtat::etcSucces}}, true},
      {{R{L"https://a/", TypeEtat::etcErreurComm}, R{L"https://b/", TypeEtat::etcAuthProxyNecessaire}}, false},
      {{R{L"http://a/", TypeEtat::etcErreurComm}, R{L"https://b/", TypeEtat::etcSucces}}, true},
  };
  for (const TCas& c : cas) EXPECT_EQ(TestsHttpsReussis(c.Resultats), c.Attendu);
}

TEST(DemandesAuthProxy, Fusion) {
  using D = TypeDemandeAuthProxy;
  TypeTabDemandesAuthProxy cible;
  FusionnerDemandesAuthProxy(cible, {D::Create(L"a:1", Basic), D::Create(L"a:1", Digest)});
  // An empty target takes the source as it is.
  EXPECT_EQ(cible, (TypeTabDemandesAuthProxy{{L"a:1", Basic}, {L"a:1", Digest}}));
  FusionnerDemandesAuthProxy(cible, {D::Create(L"A:1", Digest), D::Create(L"b:2", Basic), D::Create(L"c:3", Basic)});
  EXPECT_EQ(cible, (TypeTabDemandesAuthProxy{{L"a:1", Basic}, {L"a:1", Digest}, {L"b:2", Basic}, {L"c:3", Basic}}));
  // Only the entries from before the merge count: the source's own repeats all come in.
  TypeTabDemandesAuthProxy autre{{L"x:1", Basic}};
  FusionnerDemandesAuthProxy(autre, {D::Create(L"y:1", Basic), D::Create(L"y:1", Digest)});
  EXPECT_EQ(autre, (TypeTabDemandesAuthProxy{{L"x:1", Basic}, {L"y:1", Basic}, {L"y:1", Digest}}));
}

}  // namespace
}  // namespace norvel::test
