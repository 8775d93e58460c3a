// The HTTP configuration in its file: the element "Version1", written whole and in order, read
// back through the setters, with the credentials in their obfuscated text form.
#include <gtest/gtest.h>

#include "platform/DocumentXml.h"
#include "core/Chaines.h"
#include "core/Exceptions.h"
#include "core/Format.h"
#include "core/Messages.h"
#include "httpconfig/ConfigClientsHttp.h"

namespace norvel::test {
namespace {

using enum TypeGenreConfigProxyClientsHttp;

constexpr uint32_t Basic = WINHTTP_AUTH_SCHEME_BASIC, Digest = WINHTTP_AUTH_SCHEME_DIGEST;

TypeInfoAuthHttp Auth(uint32_t schema, std::wstring_view login, std::wstring_view motDePasse) {
  return {schema, TypeLoginOffusque::Create(login), TypeMotDePasseOffusque::Create(motDePasse)};
}

// The stored credentials of a proxy, as the configuration offers them to a request.
bool Identifiants(TypeConfigClientsHttp& config, std::wstring_view proxy, TypeInfoAuthHttp& infoAuth) {
  uint32_t schema = 0;
  infoAuth = {};
  return config.TryGetInfoAuthProxy(proxy, 0, 0, schema, infoAuth);
}

class FichierConfigClientsHttp : public testing::Test {
 protected:
  void SetUp() override { AssurerComSurCeThread(); }

  // A document of the store made of the text of its root's content.
  static TRef<IXMLDOMDocument> Document(std::wstring_view contenuRacine) {
    TRef<IXMLDOMDocument> document = NouveauDocumentXml();
    std::wstring raison;
    const std::string texte = VersUtf8(L"<?xml version=\"1.0\" encoding=\"UTF-8\"?><ROOT VERSION=\"1\">" +
                                       std::wstring(contenuRacine) + L"</ROOT>");
    EXPECT_TRUE(ChargerDocumentXml(document.Get(), texte, raison)) << VersUtf8(raison);
    return document;
  }
  static TRef<IXMLDOMDocument> Version1(std::wstring_view contenu) {
    return Document(L"<Version1>" + std::wstring(contenu) + L"</Version1>");
  }
  // The file as the store writes it, without its byte-order mark.
  static std::string Texte(IXMLDOMDocument* document) { return SerialiserDocumentXml(document).substr(3); }

  static void Lire(TypeConfigClientsHttp& config, IXMLDOMDocument* document) {
    config.LireXml(ElementRacine(document).Get());
  }
  static TypeConfigClientsHttp Lue(IXMLDOMDocument* document) {
    TypeConfigClientsHttp config;
    Lire(config, document);
    return config;
  }
};

TEST_F(FichierConfigClientsHttp, UneConfigurationVideEcritLesOnzeElementsDansLOrdre) {
  const TRef<IXMLDOMDocument> document = Document(L"");
  TypeConfigClientsHttp().EcrireXml(ElementRacine(document.Get()).Get());
  EXPECT_EQ(Texte(document.Get()),
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
            "<ROOT VERSION=\"1\">\r\n"
            "  <Version1>\r\n"
            "    <UtiliserVersionsTLSDuSysteme>false</UtiliserVersionsTLSDuSysteme>\r\n"
            "    <GenreConfigProxy>gcpConfigSysteme</GenreConfigProxy>\r\n"
            "    <ProxyHttpOvalis/>\r\n"
            "    <ProxyHttpsOvalis/>\r\n"
            "    <ExceptionsProxiesOvalis/>\r\n"
            "    <UrlConfigProxies/>\r\n"
            "    <ProxiesConnus/>\r\n"
            "    <ExceptionsProxiesConnues/>\r\n"
            "    <UrlConfigProxiesConnues/>\r\n"
            "    <UrlTest/>\r\n"
            "    <InfoAuthProxies/>\r\n"
            "  </Version1>\r\n"
            "</ROOT>\r\n");
}

TEST_F(FichierConfigClientsHttp, EcritureEtRelectureRestituentChaqueChampStocke) {
  TypeConfigClientsHttp source;
  source.SetAnciennesVersionsTLS(true);
  source.SetUtiliserVersionsTLSDuSysteme(true);  // never stored
  source.SetUserAgent(L"NORVEL essais");         // never stored
  source.SetProxyHttpSysteme(L"systeme:8080");   // never stored, but known
  source.SetGenreConfigProxy(gcpUrlConfig);
  source.SetProxyHttpOvalis(L"propre:3128");
  source.SetProxyHttpsOvalis(L"securise:3129");
  source.SetTabExceptionsProxiesOvalis({L"<local>", L"intranet.ecole"});
  source.SetUrlConfigProxies(L"http://config.ecole/proxy.pac");
  source.AjouterUrlConfigProxiesConnue(L"http://autre.ecole/wpad.dat");
  source.AjouterExceptionProxiesConnue(L"127.0.0.1");
  source.SetTabUrlTest({L"https://b.test/", L"https://a.test/page?x=1&y=<2>"});
  source.SetInfoAuthProxy(L"securise:3129", Auth(Digest, L"Élève", L"mot de passe"));
  source.SetInfoAuthProxy(L"propre:3128", Auth(Basic, L"directeur", L"Secret-2718"));

  const TRef<IXMLDOMDocument> document = Document(L"");
  source.EcrireXml(ElementRacine(document.Get()).Get());
  const std::string texte = Texte(document.Get());
  // Credentials only in their obfuscated text form, in the order of the proxies.
  EXPECT_EQ(texte.find("directeur"), std::string::npos);
  EXPECT_EQ(texte.find("Secret-2718"), std::string::npos);
  EXPECT_LT(texte.find("<InfoAuthProxy Proxy=\"propre:3128\">"), texte.find("<InfoAuthProxy Proxy=\"securise:3129\">"));
  EXPECT_NE(texte.find("<UtiliserVersionsTLSDuSysteme>true<"), std::string::npos);
  EXPECT_EQ(texte.find("NORVEL essais"), std::string::npos);

  TypeConfigClientsHttp lue;
  lue.SetTabExceptionsProxiesConnues({L"localhost"});  // replaced by the file's list
  Lire(lue, document.Get());
  EXPECT_TRUE(lue.AnciennesVersionsTLS());
  EXPECT_FALSE(lue.UtiliserVersionsTLSDuSysteme());
  EXPECT_EQ(lue.UserAgent(), L"");
  EXPECT_EQ(lue.ProxyHttpSysteme(), L"");
  EXPECT_EQ(lue.GenreConfigProxy(), gcpUrlConfig);
  EXPECT_EQ(lue.ProxyHttpOvalis(), L"propre:3128");
  EXPECT_EQ(lue.ProxyHttpsOvalis(), L"securise:3129");
  EXPECT_EQ(lue.TabExceptionsProxiesOvalis(), source.TabExceptionsProxiesOvalis());
  EXPECT_EQ(lue.UrlConfigProxies(), source.UrlConfigProxies());
  EXPECT_EQ(lue.TabProxiesConnus(), source.TabProxiesConnus());
  EXPECT_EQ(lue.TabExceptionsProxiesConnues(), source.TabExceptionsProxiesConnues());
  EXPECT_EQ(lue.TabUrlConfigProxiesConnues(), source.TabUrlConfigProxiesConnues());
  EXPECT_EQ(lue.TabUrlTest(), source.TabUrlTest());
  EXPECT_EQ(lue.GetTabProxiesAvecInfoAuth(), (TypeTabChaines{L"propre:3128", L"securise:3129"}));
  TypeInfoAuthHttp infoAuth;
  ASSERT_TRUE(Identifiants(lue, L"securise:3129", infoAuth));
  EXPECT_EQ(infoAuth.Schema, Digest);
  EXPECT_EQ(infoAuth.Identifiant.GetValeur(), L"Élève");
  EXPECT_TRUE(infoAuth.Identifiant.MemeValeurQue(L"ÉLÈVE"));  // a login keeps its comparison mode
  EXPECT_EQ(infoAuth.MotDePasse.GetValeur(), L"mot de passe");
  ASSERT_TRUE(Identifiants(lue, L"propre:3128", infoAuth));
  EXPECT_EQ(infoAuth.Schema, Basic);
  EXPECT_EQ(infoAuth.MotDePasse.GetValeur(), L"Secret-2718");

  // Written again, the file is the same but for the credentials' fresh scrambling.
  const TRef<IXMLDOMDocument> deNouveau = Document(L"");
  lue.EcrireXml(ElementRacine(deNouveau.Get()).Get());
  const std::string texte2 = Texte(deNouveau.Get());
  EXPECT_EQ(texte2.substr(0, texte2.find("<InfoAuthProxies>")), texte.substr(0, texte.find("<InfoAuthProxies>")));
}

TEST_F(FichierConfigClientsHttp, LesAutresEnfantsDeLaRacineSontConserves) {
  const TRef<IXMLDOMDocument> document = Document(
      L"<Avant VERSION=\"3\">a</Avant><Version1><GenreConfigProxy>gcpWpad</GenreConfigProxy></Version1>"
      L"<Apres><x/></Apres>");
  TypeConfigClientsHttp config = Lue(document.Get());
  EXPECT_EQ(config.GenreConfigProxy(), gcpWpad);
  config.SetGenreConfigProxy(gcpConfigOvalis);
  config.EcrireXml(ElementRacine(document.Get()).Get());
  const std::string texte = Texte(document.Get());
  EXPECT_NE(texte.find("<Avant VERSION=\"3\">a</Avant>\r\n  <Apres>\r\n    <x/>\r\n  </Apres>\r\n  <Version1>"),
            std::string::npos)
      << texte;
  EXPECT_EQ(texte.find("gcpWpad"), std::string::npos);
  EXPECT_NE(texte.find("<GenreConfigProxy>gcpConfigOvalis</GenreConfigProxy>"), std::string::npos);
}

TEST_F(FichierConfigClientsHttp, SansVersion1RienNeChange) {
  TypeConfigClientsHttp config;
  config.SetTabExceptionsProxiesConnues({L"127.0.0.1", L"localhost", L"<local>"});
  config.SetAnciennesVersionsTLS(true);
  const int revision = config.Revision();
  Lire(config, Document(L"<Autre><ProxiesConnus><Proxy>x:1</Proxy></ProxiesConnus></Autre>").Get());
  EXPECT_EQ(config.Revision(), revision);
  EXPECT_EQ(config.TabExceptionsProxiesConnues().size(), 3u);
  EXPECT_TRUE(config.AnciennesVersionsTLS());
  EXPECT_TRUE(config.TabProxiesConnus().empty());
}

TEST_F(FichierConfigClientsHttp, UnConteneurAbsentVideSaListeEtLesValeursPropresRedeviennentConnues) {
  TypeConfigClientsHttp config;
  config.SetTabExceptionsProxiesConnues({L"127.0.0.1", L"localhost", L"<local>"});
  config.SetTabProxiesConnus({L"ancien:1"});
  const int revision = config.Revision();
  Lire(config, Version1(L"<ProxyHttpOvalis> propre:3128 </ProxyHttpOvalis>"
                        L"<ExceptionsProxiesOvalis><Exception>ecole.local</Exception></ExceptionsProxiesOvalis>"
                        L"<UrlConfigProxies>http://pac/</UrlConfigProxies>"
                        L"<ProxiesConnus><Proxy>b:2</Proxy><Proxy> A:1</Proxy><Proxy>a:1</Proxy><Proxy/></ProxiesConnus>")
                   .Get());
  EXPECT_GT(config.Revision(), revision);
  // The defaults are not restored; the own entries become known again through the setters.
  EXPECT_EQ(config.TabExceptionsProxiesConnues(), TypeTabChaines{L"ecole.local"});
  EXPECT_EQ(config.TabProxiesConnus(), (TypeTabChaines{L"A:1", L"b:2", L"propre:3128"}));
  EXPECT_EQ(config.ProxyHttpOvalis(), L"propre:3128");
  EXPECT_EQ(config.TabUrlConfigProxiesConnues(), TypeTabChaines{L"http://pac/"});
  EXPECT_EQ(config.GenreConfigProxy(), gcpConfigSysteme);
}

TEST_F(FichierConfigClientsHttp, TextesBooleens) {
  struct TCas {
    const wchar_t* Element;  // nullptr: no element
    bool Attendu;            // from a configuration where the flag was true
  };
  const TCas cas[] = {{L"true", true}, {L"1", true}, {L"false", false}, {L"0", false},
                      {L" false ", false}, {L"", true}, {nullptr, true}};
  for (const TCas& c : cas) {
    TypeConfigClientsHttp config;
    config.SetAnciennesVersionsTLS(true);
    const std::wstring element =
        c.Element ? Format(L"<UtiliserVersionsTLSDuSysteme>%s</UtiliserVersionsTLSDuSysteme>", {c.Element}) : L"";
    Lire(config, Version1(element).Get());
    EXPECT_EQ(config.AnciennesVersionsTLS(), c.Attendu) << VersUtf8(element);
  }
  for (const wchar_t* faux : {L"TRUE", L"oui", L"2", L"False"}) {
    TypeConfigClientsHttp config;
    try {
      Lire(config, Version1(Format(L"<UtiliserVersionsTLSDuSysteme>%s</UtiliserVersionsTLSDuSysteme>", {faux})).Get());
      ADD_FAILURE() << "accepté : " << VersUtf8(faux);
    } catch (const EOvalis& e) {
      EXPECT_EQ(e.Message(), Format(Msg::ValeurBooleenneXsdIncorrecte, {faux}));
    }
  }
}

TEST_F(FichierConfigClientsHttp, GenreDeConfiguration) {
  struct TCas {
    const wchar_t* Contenu;
    TypeGenreConfigProxyClientsHttp Attendu;
  };
  const TCas cas[] = {
      {L"<GenreConfigProxy>gcpConfigOvalis</GenreConfigProxy>", gcpConfigOvalis},
      {L"<GenreConfigProxy>gcpUrlConfig</GenreConfigProxy>", gcpUrlConfig},
      {L"<GenreConfigProxy> gcpwpad </GenreConfigProxy>", gcpWpad},
      {L"<GenreConfigProxy>gcpConfigSysteme</GenreConfigProxy>", gcpConfigSysteme},
      {L"<GenreConfigProxy/>", gcpConfigSysteme},
      {L"", gcpConfigSysteme},
      // A kind of another version: the machine-wide configuration, and the rest still loads.
      {L"<GenreConfigProxy>gcpPacParDhcp</GenreConfigProxy>", gcpConfigSysteme},
      {L"<GenreConfigProxy>2</GenreConfigProxy>", gcpConfigSysteme},
  };
  for (const TCas& c : cas) {
    TypeConfigClientsHttp config;
    config.SetGenreConfigProxy(gcpWpad);
    Lire(config, Version1(std::wstring(c.Contenu) + L"<ProxyHttpOvalis>p:1</ProxyHttpOvalis>").Get());
    EXPECT_EQ(config.GenreConfigProxy(), c.Attendu) << VersUtf8(c.Contenu);
    EXPECT_EQ(config.ProxyHttpOvalis(), L"p:1") << VersUtf8(c.Contenu);
  }
}

TEST_F(FichierConfigClientsHttp, IdentifiantsIncompletsIgnoresEtValeursIllisiblesRefusees) {
  TypeConfigClientsHttp source;
  source.SetInfoAuthProxy(L"p:1", Auth(Basic, L"u", L"m"));
  const TRef<IXMLDOMDocument> ecrit = Document(L"");
  source.EcrireXml(ElementRacine(ecrit.Get()).Get());
  const TRef<IXMLDOMElement> info =
      EnfantElement(EnfantElement(EnfantElement(ElementRacine(ecrit.Get()).Get(), L"Version1").Get(), L"InfoAuthProxies").Get(),
                    L"InfoAuthProxy");
  const std::wstring login = TexteNoeud(EnfantElement(info.Get(), L"Identifiant").Get());
  const std::wstring motDePasse = TexteNoeud(EnfantElement(info.Get(), L"MotDePasse").Get());
  EXPECT_TRUE(FinitPar(login, L"01000000")) << VersUtf8(login);  // a login ignores case
  EXPECT_TRUE(FinitPar(motDePasse, L"00000000")) << VersUtf8(motDePasse);

  const auto entree = [&](std::wstring_view proxy, std::wstring_view schema, std::wstring_view id,
                          std::wstring_view mdp) {
    std::wstring xml = proxy.data() ? Format(L"<InfoAuthProxy Proxy=\"%s\">", {proxy}) : L"<InfoAuthProxy>";
    if (schema.data()) xml += Format(L"<Schema>%s</Schema>", {schema});
    if (id.data()) xml += Format(L"<Identifiant>%s</Identifiant>", {id});
    if (mdp.data()) xml += Format(L"<MotDePasse>%s</MotDePasse>", {mdp});
    return xml + L"</InfoAuthProxy>";
  };
  const std::wstring_view absent;
  // Every piece is needed: an entry without one is left out, the others load.
  const std::wstring incompletes = entree(L"a:1", absent, login, motDePasse) + entree(L"b:2", L"1", absent, motDePasse) +
                                   entree(L"c:3", L"1", login, absent) + entree(absent, L"1", login, motDePasse) +
                                   entree(L" ", L"1", login, motDePasse) + entree(L"d:4", L"", login, motDePasse) +
                                   entree(L"e:5", L"1", L"", motDePasse) + entree(L"bon:9", L" 8 ", login, motDePasse);
  TypeConfigClientsHttp config;
  config.SetInfoAuthProxy(L"ancien:1", Auth(Basic, L"x", L"y"));  // emptied by the read
  Lire(config, Version1(L"<ProxyHttpOvalis>p:1</ProxyHttpOvalis><InfoAuthProxies>" + incompletes +
                        L"</InfoAuthProxies><UrlTest><Url>https://t/</Url></UrlTest>")
                   .Get());
  EXPECT_EQ(config.GetTabProxiesAvecInfoAuth(), TypeTabChaines{L"bon:9"});
  EXPECT_EQ(config.TabUrlTest(), TypeTabChaines{L"https://t/"});
  TypeInfoAuthHttp infoAuth;
  ASSERT_TRUE(Identifiants(config, L"bon:9", infoAuth));
  EXPECT_EQ(infoAuth.Schema, Digest);
  EXPECT_EQ(infoAuth.Identifiant.GetValeur(), L"u");

  struct TCasIllisible {
    std::wstring Entree;
    std::wstring Message;
  };
  const TCasIllisible illisibles[] = {
      {entree(L"a:1", L"Basic", login, motDePasse), Format(Msg::ValeurEntiereIncorrecte, {L"Basic"})},
      {entree(L"a:1", L"-1", login, motDePasse), Format(Msg::ValeurEntiereIncorrecte, {L"-1"})},
      {entree(L"a:1", L"99999999999", login, motDePasse), Format(Msg::ValeurEntiereIncorrecte, {L"99999999999"})},
      {entree(L"a:1", L"1", L"XYZ01000000", motDePasse), Msg::ValeurHexadecimaleIncorrecte},
      {entree(L"a:1", L"1", login, L"0"), Msg::ValeurHexadecimaleIncorrecte},
  };
  for (const TCasIllisible& c : illisibles) {
    TypeConfigClientsHttp lue;
    try {
      Lire(lue, Version1(L"<InfoAuthProxies>" + c.Entree + L"</InfoAuthProxies>").Get());
      ADD_FAILURE() << "accepté : " << VersUtf8(c.Entree);
    } catch (const EOvalis& e) {
      EXPECT_EQ(e.Message(), c.Message) << VersUtf8(c.Entree);
    }
  }
}

}  // namespace
}  // namespace norvel::test
