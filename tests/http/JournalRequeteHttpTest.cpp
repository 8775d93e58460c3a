// What the journal says of each request: a real request to the stand-in server noted with its
// method, address, route, status, bytes and duration; a failed one with its error and code; no
// secret of the address ever noted.
#include <gtest/gtest.h>

#include <memory>
#include <mutex>
#include <vector>

#include "core/Chaines.h"
#include "http/EchangeHttp.h"
#include "http/ExceptionWinhttp.h"
#include "http/JournalRequeteHttp.h"
#include "platform/Journal.h"
#include "support/Monde.h"

namespace norvel::test {
namespace {

class TJournalMemoire : public IJournal {
 public:
  void Noter(TypeNatureLigneJournal, std::wstring_view texte) noexcept override {
    std::lock_guard verrou(FVerrou);
    FLignes.emplace_back(texte);
  }
  std::wstring Chemin() const override { return {}; }
  std::vector<std::wstring> Lignes() {
    std::lock_guard verrou(FVerrou);
    return FLignes;
  }

 private:
  std::mutex FVerrou;
  std::vector<std::wstring> FLignes;
};

class JournalRequeteHttp : public testing::Test {
 protected:
  void SetUp() override { DefinirJournalProcessus(FJournal); }
  void TearDown() override { DefinirJournalProcessus(nullptr); }
  std::shared_ptr<TJournalMemoire> FJournal = std::make_shared<TJournalMemoire>();
  TRef<IAttente> FAttente = AttenteBloquante();
  TSessionEssai FSession;
};

}  // namespace

TEST(UrlPourJournal, SecretsOfTheQueryAreMasked) {
  struct Cas {
    bool https;
    const wchar_t* param;
    const wchar_t* attendu;
  };
  const Cas cas[] = {
      {true, L"/api/InfosNP/0750001A?plateforme=Win64", L"https://serveur:443/api/InfosNP/0750001A?plateforme=Win64"},
      {false, L"/f?cle=abc&taille=3&access_token=xyz&Password=p#ancre",
       L"http://serveur:443/f?cle=***&taille=3&access_token=***&Password=***"},
      {false, L"/sans-requete", L"http://serveur:443/sans-requete"},
  };
  for (const Cas& c : cas) EXPECT_EQ(UrlPourJournal(c.https, L"serveur", 443, c.param), c.attendu);
}

TEST_F(JournalRequeteHttp, EachRequestIsOneLineWithItsOutcome) {
  const TMonde& monde = MondePartage();
  {
    TEchange echange(FSession, monde.Url("http", L"/page?taille=1500&statut=202"), FAttente.Get());
    echange.Requete.Executer();
  }
  {
    // Nobody listens there: the error and its code are noted.
    TEchange echange(FSession, L"http://127.0.0.1:1/ferme", FAttente.Get());
    EXPECT_THROW(echange.Requete.Executer(), EExceptionWinhttp);
  }
  const auto lignes = FJournal->Lignes();
  ASSERT_EQ(lignes.size(), 2u);
  const std::wstring url = L"http://localhost:" + std::to_wstring(monde.Port("http")) + L"/page?taille=1500&statut=202";
  EXPECT_TRUE(CommencePar(lignes[0], L"HTTP GET " + url + L" (accès direct) : statut 202, 1500 octets, ")) << VersUtf8(lignes[0]);
  EXPECT_TRUE(FinitPar(lignes[0], L" ms")) << VersUtf8(lignes[0]);
  EXPECT_TRUE(CommencePar(lignes[1], L"HTTP GET http://127.0.0.1:1/ferme (accès direct) : échec, statut -, après "))
      << VersUtf8(lignes[1]);
  EXPECT_NE(lignes[1].find(L"0x00002EFD"), std::wstring::npos) << VersUtf8(lignes[1]);
}

}  // namespace norvel::test
