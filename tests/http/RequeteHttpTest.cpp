// The HTTP engine against the stand-in server and a real Squid, all on 127.0.0.1: bodies read
// through many asynchronous notifications, headers, verified HTTPS, proxies and their
// authentication through the session's hooks, the diagnostic of HTTP/1.0 proxies,
// interruption and destruction.
#include <gtest/gtest.h>

#include <thread>

#include "core/Format.h"
#include "core/Messages.h"
#include "http/EchangeHttp.h"
#include "http/ExceptionWinhttp.h"
#include "support/Monde.h"

namespace norvel::test {
namespace {

class RequeteHttp : public testing::Test {
 protected:
  TMonde& Monde() { return MondePartage(); }
  TRef<IAttente> FAttente = AttenteBloquante();
  TSessionEssai FSession;
};

// ---- Bodies

struct TCasCorps {
  const char* Ecoute;
  size_t Taille;
  size_t Bloc;  // bytes the server writes at a time
};

class CorpsDeReponse : public RequeteHttp, public testing::WithParamInterface<TCasCorps> {};

TEST_P(CorpsDeReponse, ArriveEntierEtDansLOrdre) {
  const TCasCorps cas = GetParam();
  TEchange echange(FSession, Monde().Url(cas.Ecoute, Format(L"/corps?taille=%d&bloc=%d", {cas.Taille, cas.Bloc})),
                   FAttente.Get());
  echange.Requete.Executer();
  EXPECT_EQ(echange.Requete.StatutReponse(), L"200");
  ASSERT_EQ(echange.Requete.Reponse().size(), cas.Taille);
  // The pattern numbers every 4 KiB block: a chunk lost, doubled or out of order shows.
  EXPECT_TRUE(echange.Requete.Reponse() == MotifMonde(0, cas.Taille));
}

INSTANTIATE_TEST_SUITE_P(Tailles, CorpsDeReponse,
                         testing::Values(TCasCorps{"http", 0, 65536}, TCasCorps{"http", 1, 65536},
                                         TCasCorps{"http", 8192, 65536}, TCasCorps{"http", 8193, 65536},
                                         TCasCorps{"http", 6 * 1024 * 1024 + 123, 7001},
                                         TCasCorps{"https", 6 * 1024 * 1024 + 123, 65536},
                                         TCasCorps{"https", 0, 65536}));

TEST_F(RequeteHttp, CorpsVideEtStatutsSansCorps) {
  TEchange vide(FSession, Monde().Url("http", L"/vide?corps="), FAttente.Get());
  vide.Requete.Executer();
  EXPECT_EQ(vide.Requete.StatutReponse(), L"200");
  EXPECT_TRUE(vide.Requete.Reponse().empty());

  TEchange sansContenu(FSession, Monde().Url("http", L"/rien?statut=204"), FAttente.Get());
  sansContenu.Requete.Executer();
  EXPECT_EQ(sansContenu.Requete.StatutReponse(), L"204");
  EXPECT_TRUE(sansContenu.Requete.Reponse().empty());
}

// ---- Response properties

TEST_F(RequeteHttp, ProprietesDeLaReponse) {
  TEchange echange(FSession,
                   Monde().Url("http", L"/introuvable?statut=404&texte=Pas%20ici&type=application/problem%2Bjson"
                                       L"&entete=Content-Range:%20bytes%200-9/10&entete=Set-Cookie:%20a=1"
                                       L"&entete=Location:%20/ailleurs&corps=%7B%7D"),
                   FAttente.Get());
  echange.Requete.Executer();
  const TRequeteHttp& r = echange.Requete;
  EXPECT_EQ(r.StatutReponse(), L"404");
  EXPECT_EQ(r.StrStatutReponse(), L"Pas ici");
  EXPECT_EQ(r.VersionReponse(), L"HTTP/1.1");
  EXPECT_EQ(r.TypeMimeReponse(), L"application/problem+json");
  EXPECT_EQ(r.ContentRange(), L"bytes 0-9/10");
  EXPECT_EQ(r.SetCookie(), L"a=1");
  EXPECT_EQ(r.Location(), L"/ailleurs");
  EXPECT_EQ(r.EncodageContenu(), L"");  // absent: empty, never an exception
  EXPECT_EQ(r.Range(), L"");
  EXPECT_NE(r.TousLesEntetesReponse().find(L"HTTP/1.1 404 Pas ici\r\n"), std::wstring::npos);
  EXPECT_EQ(r.Reponse(), "{}");
}

TEST_F(RequeteHttp, UnEnteteDe500CaracteresSeLitVide) {
  for (const int longueur : {499, 500, 2000}) {
    TEchange echange(FSession, Monde().Url("http", Format(L"/long?long=Location:%d", {longueur})), FAttente.Get());
    echange.Requete.Executer();
    EXPECT_EQ(echange.Requete.Location(), longueur < 500 ? std::wstring(longueur, L'x') : L"") << longueur;
    // The raw headers hold the long value too, so they read as empty as well.
    EXPECT_TRUE(echange.Requete.TousLesEntetesReponse().empty()) << longueur;
  }
}

}  // namespace
}  // namespace norvel::test
