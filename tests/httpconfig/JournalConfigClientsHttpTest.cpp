// What the journal says of the HTTP configuration: everything a support person needs to see
// how the program went out, and never a credential, neither in clear nor in its stored form.
#include <gtest/gtest.h>

#include "core/Chaines.h"
#include "httpconfig/JournalConfigClientsHttp.h"

using namespace norvel;

TEST(JournalConfigClientsHttp, TheConfigurationWithoutItsCredentials) {
  TypeConfigClientsHttp config;
  config.SetGenreConfigProxy(TypeGenreConfigProxyClientsHttp::gcpConfigOvalis);
  config.SetProxyHttpOvalis(L"proxy.ecole:3128");
  config.SetProxyHttpsOvalis(L"proxy.ecole:3129");
  config.SetTabExceptionsProxiesOvalis({L"<local>", L"intranet.ecole"});
  config.AjouterUrlTest(L"https://test.ecole/ping");
  const TypeInfoAuthHttp infoAuth{1u /* Basic */, TypeLoginOffusque::Create(L"directeur"),
                                  TypeMotDePasseOffusque::Create(L"Secret-2718")};
  config.SetInfoAuthProxy(L"proxy.ecole:3128", infoAuth);

  const std::wstring texte = DescriptionConfigClientsHttp(config, config.GetTabProxiesAvecInfoAuth());
  for (const wchar_t* attendu : {L"paramètres personnalisés", L"http=proxy.ecole:3128", L"https=proxy.ecole:3129",
                                 L"exceptions=<local>;intranet.ecole", L"https://www.ovalis.fr/trs.html;https://test.ecole/ping",
                                 L"identifiants enregistrés pour les proxies=proxy.ecole:3128"})
    EXPECT_NE(texte.find(attendu), std::wstring::npos) << VersUtf8(attendu) << "\n" << VersUtf8(texte);
  for (const std::wstring& secret : {std::wstring(L"directeur"), std::wstring(L"Secret-2718"),
                                     infoAuth.Identifiant.GetValeurHexa(), infoAuth.MotDePasse.GetValeurHexa(),
                                     infoAuth.MotDePasse.GetValeurHexa().substr(8, 16)})
    EXPECT_EQ(texte.find(secret), std::wstring::npos) << VersUtf8(secret);
}

TEST(JournalConfigClientsHttp, ProposalsAndTestResults) {
  TypePropositionModifConfigClientsHttp proposition;
  proposition.GenreConfigProxy = TypeGenreConfigProxyClientsHttp::gcpUrlConfig;
  proposition.UrlConfigProxies = L"http://wpad.ecole/proxy.pac";
  EXPECT_EQ(DescriptionProposition(proposition), L"adresse de configuration automatique : http://wpad.ecole/proxy.pac");
  proposition.GenreConfigProxy = TypeGenreConfigProxyClientsHttp::gcpConfigSysteme;
  EXPECT_EQ(DescriptionProposition(proposition), L"paramètres de proxy du système");

  TypeResultatTestConfigClientsHttp resultat;
  resultat.UrlTest = L"https://www.ovalis.fr/trs.html";
  resultat.Etat = TypeEtatTestConfigClientsHttp::etcAuthProxyNecessaire;
  resultat.Proxy = L"127.0.0.1:3128";
  resultat.InfoCompl = L"Code HTTP 407 (Proxy Authentication Required)";
  EXPECT_EQ(DescriptionResultatTest(resultat),
            L"Test de https://www.ovalis.fr/trs.html : authentification du proxy nécessaire (127.0.0.1:3128) Code HTTP "
            L"407 (Proxy Authentication Required)");
}
