// The search of other configurations: the proposals built from what the tests and evaluations
// found (the system's judgement, fitness per scheme, custom settings and their servers reached
// directly, script addresses, discovery, their order), then searches on small networks of the
// stand-in world: Squid as the only way out, a script naming it, the system's settings naming
// it, test pages all in "https".
#include <gtest/gtest.h>

#include <functional>

#include "core/Chaines.h"
#include "core/Format.h"
#include "httpconfig/EssaisReseauConfigClientsHttp.h"
#include "httpconfig/RechercheAutresConfigClientsHttp.h"
#include "support/Sondage.h"

namespace norvel::test {
namespace {

using enum TypeGenreConfigProxyClientsHttp;

constexpr uint32_t Basic = WINHTTP_AUTH_SCHEME_BASIC;

// A proposal in words: "systeme", "perso <http> <https> [directs=a,b]", "script <url>", "wpad".
std::string Texte(const TypePropositionModifConfigClientsHttp& proposition) {
  switch (proposition.GenreConfigProxy) {
    case gcpConfigSysteme:
      return "systeme";
    case gcpConfigOvalis: {
      std::string texte = "perso " + VersUtf8(proposition.ProxyHttpOvalis) + " " + VersUtf8(proposition.ProxyHttpsOvalis);
      for (size_t i = 0; i < proposition.TabExceptionsProxiesOvalis.size(); ++i)
        texte += (i ? "," : " directs=") + VersUtf8(proposition.TabExceptionsProxiesOvalis[i]);
      return texte;
    }
    case gcpUrlConfig:
      return "script " + VersUtf8(proposition.UrlConfigProxies);
    case gcpWpad:
      return "wpad";
  }
  return "?";
}

std::vector<std::string> Textes(const TypeTabPropositionsModifConfigClientsHttp& propositions) {
  std::vector<std::string> textes;
  for (const auto& proposition : propositions) textes.push_back(Texte(proposition));
  return textes;
}

// ---- Proposals from what a search found

struct TCasPropositions {
  const char* Nom;
  std::wstring ProxySysteme;  // machine-wide proxy for both schemes, empty for direct
  TypeTabChaines Proxies;     // "" first
  TypeTabChaines Urls;
  std::vector<std::string> Atteint;  // per proxy, per URL: 'x' reached, '.' not
  std::vector<std::pair<std::wstring, TypeTabChaines>> ProxiesTrouves;
  std::vector<std::string> Attendu;
  TypeTabChaines ExceptionsTestees = {};
};

TypeTabPropositionsModifConfigClientsHttp Propositions(const TCasPropositions& c) {
  TypeConfigClientsHttp config;
  if (!c.ProxySysteme.empty()) config.AffecterInfoProxySysteme({WINHTTP_ACCESS_TYPE_NAMED_PROXY, c.ProxySysteme, L""});
  TypeConstatsRecherche constats{.Proxies = c.Proxies, .UrlsTest = c.Urls, .ProxiesTrouves = c.ProxiesTrouves};
  for (const std::string& ligne : c.Atteint) {
    std::vector<bool>& atteint = constats.Atteint.emplace_back();
    for (char cellule : ligne) atteint.push_back(cellule == 'x');
  }
  return ConstruirePropositions(config, c.ExceptionsTestees, constats);
}

TEST(PropositionsRecherche, DepuisCeQuiAEteTrouve) {
  const std::wstring a = L"https://a.test/", b = L"http://b.test/";
  const TCasPropositions cas[] = {
      {"the system names x, which works: (x, x) is not repeated",
       L"x:1", {L"", L"x:1"}, {a, b}, {"..", "xx"}, {}, {"systeme"}},
      {"a proxy the system names but that was not tested does not count against it",
       L"s:9", {L"", L"x:1"}, {a, b}, {"..", "xx"}, {}, {"systeme", "perso x:1 x:1"}},
      {"the system goes direct, which fails",
       L"", {L"", L"x:1"}, {a, b}, {"..", "xx"}, {}, {"perso x:1 x:1"}},
      {"test pages all in https: no proxy is fit for HTTP, only the script remains",
       L"", {L"", L"x:1"}, {a, L"https://c.test/"}, {"..", "xx"},
       {{L"http://pac.test/a.pac", {L"x:1", L"x:1"}}, {L"", {L"", L""}}}, {"script http://pac.test/a.pac"}},
      {"a proxy fit for both schemes is proposed for both only, never in a pair",
       L"", {L"", L"x:1", L"y:2"}, {b, a}, {"..", "xx", "x."}, {}, {"perso x:1 x:1"}},
      {"two proxies each fit for one scheme make a pair",
       L"", {L"", L"y:2", L"z:3"}, {b, a}, {"..", "x.", ".x"}, {}, {"perso y:2 z:3"}},
      {"servers that only a direct connection reaches, each once",
       L"", {L"", L"x:1"}, {a, L"http://direct.test/1", L"http://DIRECT.test/2", L"http://loin.test/"},
       {".xx.", "x..x"}, {}, {"perso x:1 x:1 directs=direct.test"}},
      {"the servers reached directly in the configurations tested are kept",
       L"", {L"", L"x:1"}, {a, L"http://direct.test/1", L"http://loin.test/"},
       {".x.", "x.x"}, {}, {"perso x:1 x:1 directs=<local>,direct.test,intranet"}, {L"<local>", L"intranet"}},
      {"everything direct: the system, then the proxies, the script that works, discovery last",
       L"", {L"", L"x:1"}, {a, b}, {"xx", "xx"},
       {{L"http://pac.test/a.pac", {L"x:1", L"x:1"}}, {L"http://pac.test/panne.pac", {}},
        {L"http://pac.test/loin.pac", {L"loin:5", L"x:1"}}, {L"", {L"", L""}}},
       {"systeme", "perso x:1 x:1", "script http://pac.test/a.pac", "wpad"}},
      {"a script whose proxy does not reach one page is not proposed",
       L"", {L"", L"x:1", L"y:2"}, {a, b}, {"..", "xx", ".x"},
       {{L"http://pac.test/y.pac", {L"y:2", L"y:2"}}, {L"http://pac.test/xy.pac", {L"x:1", L"y:2"}}},
       {"perso x:1 x:1", "script http://pac.test/xy.pac"}},
      {"a test URL that is not one fails everywhere and breaks nothing",
       L"", {L"", L"x:1"}, {L"pas une adresse", a}, {"..", ".x"}, {}, {}},
  };
  for (const TCasPropositions& c : cas) EXPECT_EQ(Textes(Propositions(c)), c.Attendu) << c.Nom;
}

// ---- Searches on the stand-in world

class RechercheAutresConfigClientsHttp : public TEssaisReseauConfigClientsHttp {
 protected:
  // A search as the sessions service runs it, from the master as it stands.
  TRef<ITraitementRechercheAutresConfigClientsHttp> Rechercher() {
    const TRef<ITraitementRechercheAutresConfigClientsHttp> recherche =
        NouvelObjet<TTraitementRechercheAutresConfigClientsHttp>(FAttente, *FThread, FSession.Handle(), Maitre());
    AttendreTraitement(FAttente.Get(), *FThread, recherche.Get());
    return recherche;
  }
  // Changes the live master as the configuration thread does, under its lock; the copy follows.
  void ModifierMaitre(std::function<void(TypeConfigClientsHttp&)> changement) {
    class TChangement : public TTraitementConfigClientsHttp {
     public:
      TChangement(TRef<IReveilThread> reveil, std::function<void(TypeConfigClientsHttp&)> changement)
          : TTraitementConfigClientsHttp(std::move(reveil)), FChangement(std::move(changement)) {}
      void Traiter(TypeConfigClientsHttp& config) override {
        FChangement(config);
        SignalerAcheve();
      }

     private:
      std::function<void(TypeConfigClientsHttp&)> FChangement;
    };
    const TRef<ITraitementConfigClientsHttp> traitement = NouvelObjet<TChangement>(FAttente, std::move(changement));
    AttendreTraitement(FAttente.Get(), *FThread, traitement.Get());
    FThread->VerifierChangementConfig(FMaitre, false);
  }
  std::wstring ScriptVersSquid(const std::wstring& chemin) {
    return ServirScriptPac(chemin, Format(L"return 'PROXY %s';", {Squid()}));
  }

  // The session of the sessions service has no proxy of its own.
  TSessionClientsHttp FSession{{L"NORVEL essais", {WINHTTP_ACCESS_TYPE_NO_PROXY}}};
  // Nothing listens there.
  const std::wstring FProxyMort = L"127.0.0.1:9";
};

TEST_F(RechercheAutresConfigClientsHttp, RienDeConnuRienAProposer) {
  // Only the direct connection is tested, only discovery evaluated: no WPAD on this network.
  EXPECT_TRUE(Rechercher()->GetTabPropositions().empty());
  EXPECT_TRUE(Maitre().TabProxiesConnus().empty());
}

TEST_F(RechercheAutresConfigClientsHttp, SeulLeProxyAtteintLesPages) {
  FThread->AjouterUrlTest(PageInternet("http", L"/recherche"), FMaitre);
  FThread->AjouterUrlTest(PageInternet("https", L"/recherche"), FMaitre);
  for (const std::wstring& proxy : {Squid(), Squid("squid_auth"), FProxyMort}) FThread->AjouterProxyConnu(proxy, FMaitre);
  const auto recherche = Rechercher();
  EXPECT_EQ(Textes(recherche->GetTabPropositions()), std::vector<std::string>{"perso " + VersUtf8(Squid()) + " " +
                                                                              VersUtf8(Squid())});
  // The proxy that wants credentials is reported all the same.
  EXPECT_EQ(recherche->GetTabDemandesAuthProxy(),
            TypeTabDemandesAuthProxy{TypeDemandeAuthProxy::Create(Squid("squid_auth"), Basic)});
}

// The searches with a script keep to the built-in test page: one evaluation of the script.
// Wine's WinHttpGetProxyForUrl runs every script in one process-wide slot, so evaluations made
// at the same moment there trample on each other (Windows evaluates them apart).

TEST_F(RechercheAutresConfigClientsHttp, UnScriptQuiNommeLeProxy) {
  const std::wstring script = ScriptVersSquid(L"/recherche-squid.pac");
  FThread->AjouterUrlConfigProxiesConnue(script, FMaitre);
  ASSERT_TRUE(Maitre().TabProxiesConnus().empty());
  const auto recherche = Rechercher();
  // The proxy the script named was tested too; with "https" pages only, it is not offered as
  // custom settings.
  EXPECT_EQ(Textes(recherche->GetTabPropositions()), std::vector<std::string>{"script " + VersUtf8(script)});
  EXPECT_TRUE(recherche->GetTabDemandesAuthProxy().empty());
  // It is known from now on, in the file as well.
  EXPECT_EQ(Maitre().TabProxiesConnus(), TypeTabChaines{Squid()});
  EXPECT_TRUE(AttendreQue([&] { return LireOctets(FThread->NomFichier()).find(VersUtf8(Squid())) != std::string::npos; },
                          5000));
}

TEST_F(RechercheAutresConfigClientsHttp, UnScriptQuiNAboutitPasNEstPasPropose) {
  FThread->AjouterUrlConfigProxiesConnue(ServirScriptPac(L"/recherche-direct.pac", L"return 'DIRECT';"), FMaitre);
  EXPECT_TRUE(Rechercher()->GetTabPropositions().empty());
  FThread->SupprimerTabUrlConfigProxiesConnues(Maitre().TabUrlConfigProxiesConnues(), FMaitre);
  FThread->AjouterUrlConfigProxiesConnue(ServirScriptPac(L"/recherche-panne.pac", L"throw 'panne';"), FMaitre);
  EXPECT_TRUE(Rechercher()->GetTabPropositions().empty());
}

TEST_F(RechercheAutresConfigClientsHttp, LesReglagesDuSystemeFonctionnent) {
  // The machine-wide settings name Squid. They are put into the master the way the
  // configuration thread folds them in: the machine's own settings are shared with the other
  // test programs running at the same time.
  ModifierMaitre([&](TypeConfigClientsHttp& config) {
    config.AffecterInfoProxySysteme({WINHTTP_ACCESS_TYPE_NAMED_PROXY, Squid(), L"<local>"});
  });
  const std::wstring script = ScriptVersSquid(L"/systeme-squid.pac");
  FThread->AjouterUrlConfigProxiesConnue(script, FMaitre);
  ASSERT_EQ(Maitre().ProxyHttpsSysteme(), Squid());
  EXPECT_EQ(Textes(Rechercher()->GetTabPropositions()), (std::vector<std::string>{"systeme", "script " + VersUtf8(script)}));

  // With pages of both schemes, the same proxy as custom settings is not offered again.
  FThread->SupprimerTabUrlConfigProxiesConnues({script}, FMaitre);
  FThread->AjouterUrlTest(PageInternet("http", L"/systeme"), FMaitre);
  FThread->AjouterUrlTest(PageInternet("https", L"/systeme"), FMaitre);
  EXPECT_EQ(Textes(Rechercher()->GetTabPropositions()), std::vector<std::string>{"systeme"});
}

TEST_F(RechercheAutresConfigClientsHttp, DesPagesDeTestToutesEnHttps) {
  FThread->AjouterUrlTest(PageInternet("https", L"/seulement-https"), FMaitre);
  FThread->AjouterProxyConnu(Squid(), FMaitre);
  // Squid reaches every page, yet no proxy is fit for HTTP: no custom settings.
  EXPECT_TRUE(Rechercher()->GetTabPropositions().empty());
  // One page of each scheme, and Squid is offered.
  FThread->AjouterUrlTest(PageInternet("http", L"/et-http"), FMaitre);
  EXPECT_EQ(Textes(Rechercher()->GetTabPropositions()),
            std::vector<std::string>{"perso " + VersUtf8(Squid()) + " " + VersUtf8(Squid())});
}

}  // namespace
}  // namespace norvel::test
