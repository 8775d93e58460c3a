// The stand-in world itself, checked with plain synchronous WinHTTP: what every later network
// test relies on (verified HTTPS through the test authority, names that only the proxy knows,
// Squid's Basic authentication, the scripted answers).
#include <gtest/gtest.h>
#include <windows.h>
#include <winhttp.h>

#include <string>

#include "support/Monde.h"

namespace norvel::test {
namespace {

struct TReponseBrute {
  DWORD Erreur = 0;  // WinHTTP error of the first failed call, 0 when an answer came
  DWORD Statut = 0;
  std::string Corps;
  std::wstring Entetes;
};

struct THinternet {
  HINTERNET H;
  ~THinternet() {
    if (H) WinHttpCloseHandle(H);
  }
};

TReponseBrute Obtenir(const std::wstring& url, const std::wstring& proxy = {}, const std::wstring& login = {},
                      const std::wstring& motDePasse = {}) {
  TReponseBrute r;
  URL_COMPONENTS morceaux{};
  morceaux.dwStructSize = sizeof morceaux;
  wchar_t hote[256], chemin[2048];
  morceaux.lpszHostName = hote;
  morceaux.dwHostNameLength = 256;
  morceaux.lpszUrlPath = chemin;
  morceaux.dwUrlPathLength = 2048;
  if (!WinHttpCrackUrl(url.c_str(), 0, 0, &morceaux)) return {GetLastError()};
  THinternet session{WinHttpOpen(L"NORVEL monde", proxy.empty() ? WINHTTP_ACCESS_TYPE_NO_PROXY
                                                                 : WINHTTP_ACCESS_TYPE_NAMED_PROXY,
                                 proxy.empty() ? WINHTTP_NO_PROXY_NAME : proxy.c_str(), WINHTTP_NO_PROXY_BYPASS, 0)};
  THinternet connexion{WinHttpConnect(session.H, hote, morceaux.nPort, 0)};
  THinternet requete{WinHttpOpenRequest(connexion.H, L"GET", chemin, nullptr, WINHTTP_NO_REFERER,
                                        WINHTTP_DEFAULT_ACCEPT_TYPES,
                                        morceaux.nScheme == INTERNET_SCHEME_HTTPS ? WINHTTP_FLAG_SECURE : 0)};
  if (!requete.H) return {GetLastError()};
  WinHttpSetTimeouts(requete.H, 10000, 10000, 10000, 10000);
  if (!login.empty())
    WinHttpSetCredentials(requete.H, WINHTTP_AUTH_TARGET_PROXY, WINHTTP_AUTH_SCHEME_BASIC, login.c_str(),
                          motDePasse.c_str(), nullptr);
  if (!WinHttpSendRequest(requete.H, nullptr, 0, nullptr, 0, 0, 0) || !WinHttpReceiveResponse(requete.H, nullptr))
    return {GetLastError()};
  DWORD taille = sizeof r.Statut;
  WinHttpQueryHeaders(requete.H, WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER, nullptr, &r.Statut, &taille,
                      nullptr);
  wchar_t entetes[8192];
  taille = sizeof entetes;
  if (WinHttpQueryHeaders(requete.H, WINHTTP_QUERY_RAW_HEADERS_CRLF, nullptr, entetes, &taille, nullptr))
    r.Entetes.assign(entetes, taille / sizeof(wchar_t));
  char tampon[65536];
  DWORD lus = 0;
  while (WinHttpReadData(requete.H, tampon, sizeof tampon, &lus) && lus > 0) r.Corps.append(tampon, lus);
  return r;
}

bool EstRefusTls(DWORD erreur) {
  return erreur == ERROR_WINHTTP_SECURE_FAILURE || erreur == ERROR_WINHTTP_SECURE_CHANNEL_ERROR ||
         erreur == ERROR_WINHTTP_SECURE_INVALID_CA;
}

TEST(Monde, HttpsEstVerifieParLAutoriteDeTest) {
  TMonde& monde = MondePartage();
  const TReponseBrute confiance = Obtenir(monde.Url("https", L"/a?corps=confiance"));
  EXPECT_EQ(confiance.Erreur, 0u);
  EXPECT_EQ(confiance.Corps, "confiance");
  // A certificate of an authority that no store trusts is refused: verification is on.
  // (Windows says "secure failure"; Wine says "secure channel error".)
  EXPECT_TRUE(EstRefusTls(Obtenir(monde.Url("https_inconnu", L"/a")).Erreur));
  // The host name is checked as well: 127.0.0.2 is not among the certificate's names.
  EXPECT_NE(Obtenir(monde.Url("https", L"/a", L"127.0.0.2")).Erreur, 0u);
}

TEST(Monde, ReponsesScriptees) {
  TMonde& monde = MondePartage();
  const TReponseBrute introuvable = Obtenir(monde.Url("http", L"/x?statut=404&entete=X-Essai:%20oui"));
  EXPECT_EQ(introuvable.Statut, 404u);
  EXPECT_NE(introuvable.Entetes.find(L"X-Essai: oui"), std::wstring::npos);
  const TReponseBrute motif = Obtenir(monde.Url("http", L"/m?taille=100000&bloc=7000"));
  EXPECT_EQ(motif.Corps, MotifMonde(0, 100000));
  const TReponseBrute proxy = Obtenir(monde.Url("http", L"/p?proxy=squid/2.7"));
  EXPECT_EQ(proxy.Statut, 407u);
  EXPECT_NE(proxy.Entetes.find(L"(squid/2.7"), std::wstring::npos);
  EXPECT_NE(proxy.Entetes.find(L"Proxy-Authenticate: NTLM"), std::wstring::npos);
}

TEST(Monde, SquidConnaitSesPropresNoms) {
  TMonde& monde = MondePartage({.Squid = true});
  const std::wstring url = monde.Url("http", L"/s?corps=par-squid", L"internet.test");
  // Out of the proxy's hosts file, the name resolves nowhere.
  EXPECT_EQ(Obtenir(url).Erreur, static_cast<DWORD>(ERROR_WINHTTP_NAME_NOT_RESOLVED));
  EXPECT_EQ(Obtenir(url, monde.AdresseProxy("squid_ouvert")).Corps, "par-squid");
  // HTTPS through the proxy (CONNECT) is verified against the name the proxy resolves.
  EXPECT_EQ(Obtenir(monde.Url("https", L"/s?corps=tunnel", L"internet.test"), monde.AdresseProxy("squid_ouvert")).Corps,
            "tunnel");
  EXPECT_NE(monde.JournalSquid().find("GET http://internet.test:"), std::string::npos);
}

TEST(Monde, SquidDemandeUneAuthentificationBasique) {
  TMonde& monde = MondePartage({.Squid = true});
  const std::wstring url = monde.Url("http", L"/s?corps=authentifie", L"internet.test");
  const std::wstring proxy = monde.AdresseProxy("squid_auth");
  EXPECT_EQ(Obtenir(url, proxy).Statut, 407u);
  EXPECT_EQ(Obtenir(url, proxy, monde.Valeur("squid_utilisateur"), L"mauvais").Statut, 407u);
  const TReponseBrute bonne = Obtenir(url, proxy, monde.Valeur("squid_utilisateur"), monde.Valeur("squid_motdepasse"));
  EXPECT_EQ(bonne.Statut, 200u);
  EXPECT_EQ(bonne.Corps, "authentifie");
}

}  // namespace
}  // namespace norvel::test
