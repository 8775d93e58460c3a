// Requests through a real Squid: the proxy chosen by the session's hooks or by its own
// settings, Basic authentication answered through the hooks, and the diagnostic of proxies
// that answer Windows authentication in HTTP/1.0.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

#include "platform/RestrictionsApiWindows.h"
#include "core/Format.h"
#include "core/Messages.h"
#include "http/EchangeHttp.h"
#include "http/ExceptionWinhttp.h"
#include "support/Monde.h"

namespace norvel::test {
namespace {

class ProxyHttp : public testing::Test {
 protected:
  TMonde& Monde() { return MondePartage({.Squid = true}); }
  // A page that only the proxy can reach: internet.test resolves nowhere else.
  std::wstring PageInternet(const std::string& ecoute, std::wstring_view chemin) {
    return Monde().Url(ecoute, chemin, L"internet.test");
  }
  // Squid's log lines that mention `marque`, in order, once `dernier` shows in one of them:
  // Squid writes a line when it is done with the transaction, a moment after the client.
  std::vector<std::string> LignesSquid(const std::string& marque, const std::string& derniere = {}) {
    std::vector<std::string> lignes;
    for (int essai = 0; essai < 100; ++essai, Sleep(20)) {
      lignes.clear();
      const std::string journal = Monde().JournalSquid();
      for (size_t debut = 0, fin; debut < journal.size(); debut = fin + 1) {
        fin = journal.find('\n', debut);
        if (fin == std::string::npos) fin = journal.size();
        const std::string ligne = journal.substr(debut, fin - debut);
        if (ligne.find(marque) != std::string::npos) lignes.push_back(ligne);
      }
      if (!lignes.empty() && lignes.back().find(derniere) != std::string::npos) break;
    }
    return lignes;
  }
  TypeInfoAuthHttp BonIdentifiant() {
    return InfoAuth(WINHTTP_AUTH_SCHEME_BASIC, Monde().Valeur("squid_utilisateur"), Monde().Valeur("squid_motdepasse"));
  }
  // A session routed by its own settings through `proxy`, whose hook names that proxy for every
  // request without setting it on the request: the road of the configured sessions.
  std::unique_ptr<TSessionEssai> SessionPar(const std::wstring& proxy) {
    auto session =
        std::make_unique<TSessionEssai>(TypeInfoCreationSessionClientsHttp{L"NORVEL essais", ParProxy(proxy)});
    session->ProxyRequete = proxy;
    session->ProxySurRequete = false;
    return session;
  }
  static TypeInfoProxyHttp ParProxy(const std::wstring& proxy) {
    return {WINHTTP_ACCESS_TYPE_NAMED_PROXY, proxy, L""};
  }

  TRef<IAttente> FAttente = AttenteBloquante();
  TSessionEssai FSession;
};

// Wine's WinHTTP accepts WINHTTP_OPTION_PROXY on sessions and requests and ignores it: only the
// proxy given when the session is opened is used there.
bool ProxyModifiableSurHandle() {
  if (!DescriptionPlateforme().SousWine) return true;
  std::printf("  [cas non émulé] WinHTTP de Wine ignore WINHTTP_OPTION_PROXY (session et requête)\n");
  return false;
}

TEST_F(ProxyHttp, ProxyDeLaSession) {
  const std::unique_ptr<TSessionEssai> session = SessionPar(Monde().AdresseProxy("squid_ouvert"));
  TEchange http(*session, PageInternet("http", L"/session?corps=par-le-proxy"), FAttente.Get());
  EXPECT_EQ(http.Requete.Proxy(), Monde().AdresseProxy("squid_ouvert"));
  http.Requete.Executer();
  EXPECT_EQ(http.Requete.Reponse(), "par-le-proxy");
  // HTTPS goes through the proxy's tunnel, still verified against the test authority.
  TEchange https(*session, PageInternet("https", L"/session?corps=tunnel"), FAttente.Get());
  https.Requete.Executer();
  EXPECT_EQ(https.Requete.Reponse(), "tunnel");
  EXPECT_EQ(LignesSquid("/session?").size(), 1u);  // Squid logs paths without their query

  // Without the proxy, the name means nothing.
  TEchange direct(FSession, PageInternet("http", L"/session"), FAttente.Get());
  try {
    direct.Requete.Executer();
    ADD_FAILURE() << "internet.test a été joint sans le proxy";
  } catch (const EExceptionWinhttp& e) {
    EXPECT_EQ(e.Code(), static_cast<DWORD>(ERROR_WINHTTP_NAME_NOT_RESOLVED)) << e.what();
  }
}

TEST_F(ProxyHttp, ProxyChoisiPourLaRequete) {
  if (!ProxyModifiableSurHandle()) GTEST_SKIP();
  FSession.ProxyRequete = Monde().AdresseProxy("squid_ouvert");
  TEchange http(FSession, PageInternet("http", L"/choisi?corps=par-le-proxy"), FAttente.Get());
  EXPECT_EQ(http.Requete.Proxy(), Monde().AdresseProxy("squid_ouvert"));
  http.Requete.Executer();
  EXPECT_EQ(http.Requete.Reponse(), "par-le-proxy");
  // HTTPS goes through the proxy's tunnel, still verified against the test authority.
  TEchange https(FSession, PageInternet("https", L"/choisi?corps=tunnel"), FAttente.Get());
  https.Requete.Executer();
  EXPECT_EQ(https.Requete.Reponse(), "tunnel");
}

TEST_F(ProxyHttp, ReconfigurationDuProxyDeLaSession) {
  const TypeInfoProxyHttp parSquid{WINHTTP_ACCESS_TYPE_NAMED_PROXY, Monde().AdresseProxy("squid_ouvert"), L"<local>"};
  const TypeInfoProxyHttp sansProxy{WINHTTP_ACCESS_TYPE_NO_PROXY, L"", L""};
  TSessionClientsHttp session({L"NORVEL essais", parSquid});
  {
    TEchange echange(session, PageInternet("http", L"/reconfiguree?corps=session"), FAttente.Get());
    EXPECT_EQ(echange.Requete.Proxy(), L"");  // the hooks of the base class name none
    echange.Requete.Executer();
    EXPECT_EQ(echange.Requete.Reponse(), "session");
  }
  session.Reconfigurer(sansProxy, false);
  EXPECT_TRUE(session.InfoCreation().InfoProxy == sansProxy);
  if (!ProxyModifiableSurHandle()) GTEST_SKIP();
  {
    TEchange echange(session, PageInternet("http", L"/reconfiguree"), FAttente.Get());
    EXPECT_THROW(echange.Requete.Executer(), EExceptionWinhttp);
  }
  session.Reconfigurer(parSquid, false);
  TEchange echange(session, PageInternet("http", L"/reconfiguree?corps=de-nouveau"), FAttente.Get());
  echange.Requete.Executer();
  EXPECT_EQ(echange.Requete.Reponse(), "de-nouveau");
}

// ---- Basic authentication through the hooks

struct TCasAuth {
  const char* Ecoute;
  bool AvantDemande;  // the hook has the credentials before the proxy asks
};

class AuthentificationProxy : public ProxyHttp, public testing::WithParamInterface<TCasAuth> {};

TEST_P(AuthentificationProxy, IdentifiantsDonnesParLeCrochet) {
  const TCasAuth cas = GetParam();
  if (std::string(cas.Ecoute) == "https" && DescriptionPlateforme().SousWine) {
    std::printf("  [cas non émulé] WinHTTP de Wine n'authentifie pas le tunnel CONNECT auprès du proxy\n");
    GTEST_SKIP();
  }
  const std::unique_ptr<TSessionEssai> session = SessionPar(Monde().AdresseProxy("squid_auth"));
  (cas.AvantDemande ? session->AuthAvantDemande : session->AuthSurDemande).push_back(BonIdentifiant());
  const std::wstring chemin = Format(L"/auth-%s-%d?corps=authentifie", {DepuisUtf8(cas.Ecoute), int(cas.AvantDemande)});
  TEchange echange(*session, PageInternet(cas.Ecoute, chemin), FAttente.Get());
  echange.Requete.Executer();
  EXPECT_EQ(echange.Requete.StatutReponse(), L"200");
  EXPECT_EQ(echange.Requete.Reponse(), "authentifie");

  const std::vector<TAppelAuthProxy> appels = session->AppelsAuth();
  ASSERT_EQ(appels.size(), cas.AvantDemande ? 1u : 2u);
  EXPECT_EQ(appels[0].Proxy, Monde().AdresseProxy("squid_auth"));
  EXPECT_EQ(appels[0].SchemasProposes, 0u);
  if (!cas.AvantDemande) {
    EXPECT_TRUE(appels[1].SchemasProposes & WINHTTP_AUTH_SCHEME_BASIC);
    EXPECT_EQ(appels[1].SchemaPrefere, static_cast<uint32_t>(WINHTTP_AUTH_SCHEME_BASIC));
    EXPECT_TRUE(appels[1].DernierEssaiVide);
  }
  if (std::string(cas.Ecoute) == "http") {
    // The proxy refused the request without credentials, then let it through for the user.
    // (How many refusals come first is WinHTTP's own affair: Wine's asks twice.)
    const std::vector<std::string> lignes = LignesSquid(VersUtf8(chemin.substr(0, chemin.find(L'?'))), " norvel ");
    ASSERT_FALSE(lignes.empty());
    if (!cas.AvantDemande) {
      EXPECT_NE(lignes.front().find("TCP_DENIED/407"), std::string::npos) << lignes.front();
    }
    EXPECT_NE(lignes.back().find("/200 "), std::string::npos) << lignes.back();
    EXPECT_NE(lignes.back().find(" norvel "), std::string::npos) << lignes.back();
  }
}

INSTANTIATE_TEST_SUITE_P(Cas, AuthentificationProxy,
                         testing::Values(TCasAuth{"http", false}, TCasAuth{"http", true}, TCasAuth{"https", false}, TCasAuth{"https", true}));

TEST_F(ProxyHttp, UnCrochetQuiNaPlusRienANouveauLaisseLe407) {
  const std::unique_ptr<TSessionEssai> session = SessionPar(Monde().AdresseProxy("squid_auth"));
  session->AuthSurDemande.push_back(InfoAuth(WINHTTP_AUTH_SCHEME_BASIC, Monde().Valeur("squid_utilisateur"), L"faux"));
  TEchange echange(*session, PageInternet("http", L"/refuse"), FAttente.Get());
  echange.Requete.Executer();
  EXPECT_EQ(echange.Requete.StatutReponse(), L"407");
  EXPECT_FALSE(echange.Requete.Reponse().empty());  // Squid's error page, the last response only

  const std::vector<TAppelAuthProxy> appels = session->AppelsAuth();
  ASSERT_EQ(appels.size(), 3u);
  EXPECT_TRUE(appels[1].DernierEssaiVide);
  // Asked again with the credentials it gave last, the hook has nothing new: the 407 stays.
  EXPECT_FALSE(appels[2].DernierEssaiVide);
  const std::vector<std::string> lignes = LignesSquid("/refuse");
  ASSERT_FALSE(lignes.empty());
  for (const std::string& ligne : lignes) EXPECT_NE(ligne.find("TCP_DENIED/407"), std::string::npos) << ligne;
}

TEST_F(ProxyHttp, LesRenvoisAvecIdentifiantsSontBornes) {
  // A hook that always has new wrong credentials, like a user who keeps mistyping.
  const std::unique_ptr<TSessionEssai> session = SessionPar(Monde().AdresseProxy("squid_auth"));
  for (int i = 0; i < 2 * MaxRenvoisAuthProxy; ++i)
    session->AuthSurDemande.push_back(
        InfoAuth(WINHTTP_AUTH_SCHEME_BASIC, Monde().Valeur("squid_utilisateur"), L"faux" + std::to_wstring(i)));
  TEchange echange(*session, PageInternet("http", L"/borne"), FAttente.Get());
  echange.Requete.Executer();
  EXPECT_EQ(echange.Requete.StatutReponse(), L"407");
  // Asked once before the first send, then once per resend.
  EXPECT_EQ(session->AppelsAuth().size(), 1u + MaxRenvoisAuthProxy);
}

// ---- Proxies that cannot keep up Windows authentication

struct TCasDiagnostic {
  const wchar_t* Requete;      // the answer the stand-in proxy gives
  bool Verifier;               // verifierVersionHttp
  const wchar_t* VersionSquid;  // the Squid message with this version; L"" the generic one; null none
};

class DiagnosticProxy : public ProxyHttp, public testing::WithParamInterface<TCasDiagnostic> {};

TEST_P(DiagnosticProxy, Http10AvecNtlm) {
  const TCasDiagnostic cas = GetParam();
  // The stand-in server plays the proxy.
  const std::unique_ptr<TSessionEssai> session = SessionPar(L"127.0.0.1:" + std::to_wstring(Monde().Port("http")));
  TEchange echange(*session, std::wstring(L"http://internet.test/diagnostic?") + cas.Requete, FAttente.Get());
  try {
    echange.Requete.Executer({}, {}, cas.Verifier);
    EXPECT_EQ(cas.VersionSquid, nullptr) << "aucun diagnostic";
  } catch (const EExceptionWinhttp& e) {
    ADD_FAILURE() << e.what();
  } catch (const EOvalis& e) {
    ASSERT_NE(cas.VersionSquid, nullptr) << e.what();
    const std::wstring entetes = echange.Requete.TousLesEntetesReponse();
    EXPECT_EQ(e.Message(), *cas.VersionSquid ? Format(Msg::SquidSansHttp11, {cas.VersionSquid, entetes})
                                             : Format(Msg::ProxySansHttp11, {entetes}));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cas, DiagnosticProxy,
    testing::Values(
        TCasDiagnostic{L"proxy=squid/2.7", true, L"2.7"}, TCasDiagnostic{L"proxy=squid/3.1", true, L"3.1"},
        TCasDiagnostic{L"proxy=squid/2.4", true, L"2.4"},
        // Versions that do HTTP/1.1, or no version at all: the generic message.
        TCasDiagnostic{L"proxy=squid/5.7", true, L""}, TCasDiagnostic{L"proxy=inconnu", true, L""},
        TCasDiagnostic{L"proxy=squid/2.7", false, nullptr},
        // Headers of 500 characters or more read as empty: nothing to diagnose.
        TCasDiagnostic{L"proxy=squid/2.7&long=X-Bourrage:400", true, nullptr},
        TCasDiagnostic{L"statut=200&version=HTTP/1.0&entete=Proxy-Authenticate:%20NTLM"
                       L"&entete=Via:%201.0%20p%20(squid/2.7)",
                       true, nullptr},
        TCasDiagnostic{L"statut=407&entete=Proxy-Authenticate:%20NTLM&entete=Via:%201.1%20p%20(squid/2.7)", true,
                       nullptr},
        TCasDiagnostic{L"statut=407&version=HTTP/1.0&entete=Proxy-Authenticate:%20Basic%20realm=x"
                       L"&entete=Via:%201.0%20p%20(squid/2.7)",
                       true, nullptr}));

}  // namespace
}  // namespace norvel::test
