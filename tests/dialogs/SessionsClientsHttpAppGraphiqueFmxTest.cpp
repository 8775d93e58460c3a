// The graphical sessions service against a real Squid asking for Basic credentials. A worker's
// request through its duplicate makes the login dialog appear on the user-interface thread,
// which keeps running while the worker waits; a configuration test asks the same way on the
// user-interface thread and runs again once it has them. A blank login is refused; the right
// credentials go through the proxy and are kept, obfuscated, in the configuration file.
// Squid's Basic port is set before the sessions open (Wine takes the proxy given at the opening
// only) and the pages are plain http: Wine cannot reach an https page through an
// authenticating proxy.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "platform/AttenteApplication.h"
#include "core/Chaines.h"
#include "support/ServicesInterface.h"
#include "dialogs/SessionsClientsHttpAppGraphiqueFmx.h"
#include "http/EchangeHttp.h"
#include "support/Monde.h"
#include "support/Pilote.h"
#include "support/SessionsHttpEssai.h"
#include "support/Sondage.h"
#include "support/UtilisateurProxyBasic.h"

using namespace norvel;
using namespace norvel::test;

namespace {

class SessionsClientsHttpAppGraphiqueFmx : public testing::Test {
 protected:
  void SetUp() override { FSessions.AppliquerPropositionModifConfig(PropositionProxy(FProxy)); }

  static TMonde& Monde() { return MondePartage({.Squid = true}); }
  static std::wstring PageInternet(std::wstring_view chemin) { return Monde().Url("http", chemin, L"internet.test"); }
  TypeInfoAuthHttp InfoAuthDuFichier() const { return FUtilisateur.InfoAuthDuFichier(FSessions.ThreadConfig().NomFichier()); }

  TServicesInterface FServices;
  TMachineSessionsHttp<TSessionsClientsHttpAppGraphiqueFmx> FMachine;
  TSessionsClientsHttpAppGraphiqueFmx& FSessions = *FMachine.Sessions;
  const TUtilisateurProxyBasic FUtilisateur{Monde()};
  const std::wstring& FProxy = FUtilisateur.Proxy;
  const TRef<TAttenteApplicationFmx> FAttente = NouvelObjet<TAttenteApplicationFmx>();
};

}  // namespace

TEST_F(SessionsClientsHttpAppGraphiqueFmx, AWorkersRequestAsksTheUserAndKeepsTheCredentialsObfuscated) {
  // As the installation worker does: a duplicate of the service for its own thread.
  const TRef<ISessionsClientsHttp> duplicata = FSessions.DupliquerPourThread();
  EXPECT_NE(nullptr, dynamic_cast<TSessionsClientsHttpAppGraphiqueFmx*>(duplicata.Get()));
  std::atomic<bool> fini = false;
  std::wstring statut, erreur;
  std::string corps;
  const auto pilote = PiloterPendant(FUtilisateur.Commandes(), [&] {
    std::thread travailleur([&] {
      try {
        TEchange echange(duplicata->GetSessionAvecGestionProxy(), PageInternet(L"/installation?corps=setup"),
                         AttenteBloquante().Get());
        echange.Requete.Executer();
        statut = echange.Requete.StatutReponse();
        corps = echange.Requete.Reponse();
      } catch (const std::exception& e) {
        erreur = DepuisUtf8(e.what());
      }
      fini = true;
      FAttente->Reveiller(nullptr);
    });
    // The user-interface thread waits as the wizard's window does, and shows the dialog meanwhile.
    FAttente->Attendre(ConditionFinDAttente([&] { return fini.load(); }).Get(), 0);
    travailleur.join();
  });
  ASSERT_EQ(0u, pilote.Code) << VersUtf8(pilote.Erreurs);
  FUtilisateur.VerifierSortie(pilote);
  EXPECT_EQ(L"", erreur);
  EXPECT_EQ(L"200", statut);
  EXPECT_EQ("setup", corps);
  EXPECT_TRUE(FUtilisateur.ServiePourLUtilisateur("/installation"));

  EXPECT_EQ(TypeTabChaines{FProxy}, FSessions.GetTabProxiesAvecInfoAuth());
  const TypeInfoAuthHttp stockes = InfoAuthDuFichier();
  EXPECT_EQ(uint32_t{WINHTTP_AUTH_SCHEME_BASIC}, stockes.Schema);
  EXPECT_EQ(FUtilisateur.Utilisateur, stockes.Identifiant.GetValeur()) << "trimmed";
  EXPECT_EQ(FUtilisateur.MotDePasse, stockes.MotDePasse.GetValeur());
}

TEST_F(SessionsClientsHttpAppGraphiqueFmx, AConfigurationTestAsksOnTheUserInterfaceThreadThenRunsAgain) {
  const std::wstring page = PageInternet(L"/test-authentifie");
  FSessions.AjouterUrlTest(page);
  auto etatPage = [&](const TypeTabResultatsTestsConfigClientsHttp& resultats) {
    for (const auto& resultat : resultats)
      if (resultat.UrlTest == page) return resultat.Etat;
    ADD_FAILURE() << "page not tested";
    return TypeEtatTestConfigClientsHttp::etcErreurComm;
  };

  // The user cancels: the page stays refused, nothing is kept, and the test is not run again.
  TypeTabResultatsTestsConfigClientsHttp resultats;
  auto pilote = PiloterPendant(OptionTitre(TUtilisateurProxyBasic::TitreDemande) + L"attendre-fenetre -- cliquer BtnAnnuler",
                               [&] { FSessions.TesterConfigCourante(FAttente.Get(), resultats); });
  ASSERT_EQ(0u, pilote.Code) << VersUtf8(pilote.Erreurs);
  EXPECT_EQ(TypeEtatTestConfigClientsHttp::etcAuthProxyNecessaire, etatPage(resultats));
  EXPECT_TRUE(FSessions.GetTabProxiesAvecInfoAuth().empty());

  // The user answers: the test runs again with the credentials and the page answers.
  pilote = PiloterPendant(FUtilisateur.Commandes(), [&] { FSessions.TesterConfigCourante(FAttente.Get(), resultats); });
  ASSERT_EQ(0u, pilote.Code) << VersUtf8(pilote.Erreurs);
  FUtilisateur.VerifierSortie(pilote);
  EXPECT_EQ(TypeEtatTestConfigClientsHttp::etcSucces, etatPage(resultats));
  EXPECT_TRUE(FUtilisateur.ServiePourLUtilisateur("/test-authentifie"));
  const TypeInfoAuthHttp stockes = InfoAuthDuFichier();
  EXPECT_EQ(FUtilisateur.Utilisateur, stockes.Identifiant.GetValeur());
  EXPECT_EQ(FUtilisateur.MotDePasse, stockes.MotDePasse.GetValeur());
}
