// Sessions: TLS versions and their reconfiguration, proxy records in WinHTTP's terms and the
// machine-wide default proxy configuration.
#include <gtest/gtest.h>
#include <windows.h>
#include <winhttp.h>

#include <cstdio>

#include "core/Chaines.h"
#include "http/ExceptionWinhttp.h"
#include "http/InfoHttp.h"
#include "http/EchangeHttp.h"
#include "http/SessionClientsHttp.h"
#include "support/Monde.h"

namespace norvel::test {
namespace {

// Whether a session reaches the stand-in server that speaks TLS 1.0 and 1.1 only: the
// observable trace of the secure-protocols option, which WinHTTP does not let one read back
// everywhere.
bool JointAnciennesVersions(TSessionClientsHttp& session) {
  const TRef<IAttente> attente = AttenteBloquante();
  TEchange echange(session, MondePartage().Url("https_tls10", L"/tls?corps=ancien"), attente.Get());
  // A connection kept from an earlier request would carry the TLS version agreed then.
  echange.Requete.DesactiverFonctionsHttp({TypeFonctionHttpDesactivable::fhdKeepAlive});
  try {
    echange.Requete.Executer();
    return echange.Requete.Reponse() == "ancien";
  } catch (const EExceptionWinhttp&) {
    return false;
  }
}

TypeInfoCreationSessionClientsHttp InfoTls(bool systeme, bool anciennes) {
  return {L"NORVEL essais", {WINHTTP_ACCESS_TYPE_NO_PROXY}, systeme, false, anciennes};
}

TEST(VersionsTls, ProtocolesSelonLesDrapeaux) {
  EXPECT_EQ(ProtocolesSecurises(false, false), 0x2800u);
  EXPECT_EQ(ProtocolesSecurises(true, false), 0x800u);
  EXPECT_EQ(ProtocolesSecurises(false, true), 0x2A80u);
  EXPECT_EQ(ProtocolesSecurises(true, true), 0xA80u);
}

TEST(VersionsTls, AnciennesVersionsSurDemandeEtParReconfiguration) {
  TSessionClientsHttp sans(InfoTls(false, false)), avec(InfoTls(false, true));
  if (JointAnciennesVersions(sans) || !JointAnciennesVersions(avec)) {
    std::printf("  [cas non émulé] la pile TLS ne suit pas les versions demandées à WinHTTP\n");
    GTEST_SKIP();
  }
  sans.Reconfigurer(sans.InfoCreation().InfoProxy, true);
  avec.Reconfigurer(avec.InfoCreation().InfoProxy, false);
  EXPECT_TRUE(JointAnciennesVersions(sans));
  EXPECT_FALSE(JointAnciennesVersions(avec));
}

TEST(VersionsTls, LaisseesAuSystemeLOptionNEstJamaisPosee) {
  // What the platform does when nobody sets the option.
  TSessionClientsHttp temoin(InfoTls(true, false));
  const bool parDefaut = JointAnciennesVersions(temoin);
  for (const bool anciennes : {false, true}) {
    TSessionClientsHttp session(InfoTls(true, anciennes));
    EXPECT_EQ(JointAnciennesVersions(session), parDefaut) << anciennes;
    session.Reconfigurer(session.InfoCreation().InfoProxy, !anciennes);
    EXPECT_EQ(session.InfoCreation().AnciennesVersionsTLS, !anciennes);
    EXPECT_EQ(JointAnciennesVersions(session), parDefaut) << anciennes;
  }
}

TEST(InfoProxyHttp, VersEtDepuisWinhttp) {
  const TypeInfoProxyHttp nomme{WINHTTP_ACCESS_TYPE_NAMED_PROXY, L"http=a:1;https=b:2", L"<local>;*.interne"};
  const WINHTTP_PROXY_INFO plateforme = nomme.VersPlateforme();
  EXPECT_EQ(plateforme.dwAccessType, static_cast<DWORD>(WINHTTP_ACCESS_TYPE_NAMED_PROXY));
  EXPECT_STREQ(plateforme.lpszProxy, L"http=a:1;https=b:2");
  EXPECT_TRUE(TypeInfoProxyHttp::DepuisPlateforme(plateforme) == nomme);

  // Empty strings travel as null pointers, both ways.
  const WINHTTP_PROXY_INFO sans = TypeInfoProxyHttp{WINHTTP_ACCESS_TYPE_NO_PROXY}.VersPlateforme();
  EXPECT_EQ(sans.lpszProxy, nullptr);
  EXPECT_EQ(sans.lpszProxyBypass, nullptr);
  EXPECT_TRUE(TypeInfoProxyHttp::DepuisPlateforme(sans) == TypeInfoProxyHttp{WINHTTP_ACCESS_TYPE_NO_PROXY});

  // Equality is case-sensitive.
  EXPECT_FALSE((TypeInfoProxyHttp{3, L"A:1", L""} == TypeInfoProxyHttp{3, L"a:1", L""}));
  EXPECT_FALSE((TypeInfoProxyHttp{3, L"a:1", L""} == TypeInfoProxyHttp{1, L"a:1", L""}));
}

TEST(InfoProxyHttp, ConfigurationParDefautDeLaMachine) {
  // The test prefix's machine-wide setting, put back as it was.
  const TypeInfoProxyHttp avant = TypeInfoProxyHttp::GetConfigProxyParDefaut();
  const TypeInfoProxyHttp essai{WINHTTP_ACCESS_TYPE_NAMED_PROXY, L"proxy.essai:3128", L"<local>"};
  essai.SetConfigProxyParDefaut();
  const TypeInfoProxyHttp lue = TypeInfoProxyHttp::GetConfigProxyParDefaut();
  avant.SetConfigProxyParDefaut();
  EXPECT_TRUE(lue == essai) << VersUtf8(lue.ServeurProxy) << " / " << VersUtf8(lue.PasDeProxyPour);
  EXPECT_TRUE(TypeInfoProxyHttp::GetConfigProxyParDefaut() == avant);
}

TEST(InfoAuthHttp, VideEtComparaison) {
  EXPECT_TRUE(TypeInfoAuthHttp{}.EstVide());
  const TypeInfoAuthHttp a{1, TypeLoginOffusque::Create(L"Norvel"), TypeMotDePasseOffusque::Create(L"Secret")};
  EXPECT_FALSE(a.EstVide());
  EXPECT_TRUE(a.MemeValeurQue(a.Dupliquer()));
  // Logins ignore case, passwords do not, schemes must be equal.
  EXPECT_TRUE(a.MemeValeurQue({1, TypeLoginOffusque::Create(L"norvel"), TypeMotDePasseOffusque::Create(L"Secret")}));
  EXPECT_FALSE(a.MemeValeurQue({1, TypeLoginOffusque::Create(L"Norvel"), TypeMotDePasseOffusque::Create(L"secret")}));
  EXPECT_FALSE(a.MemeValeurQue({8, TypeLoginOffusque::Create(L"Norvel"), TypeMotDePasseOffusque::Create(L"Secret")}));
}

}  // namespace
}  // namespace norvel::test
