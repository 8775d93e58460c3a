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

#include "app/AttenteApplication.h"
#include "core/Chaines.h"
#include "dialogs/ServicesInterface.h"
#include "dialogs/SessionsClientsHttpAppGraphiqueFmx.h"
#include "http/EchangeHttp.h"
#include "support/Monde.h"
#include "support/Pilote.h"
#include "support/SessionsHttpEssai.h"
#include "support/Sondage.h"

using namespace norvel;
using namespace norvel::test;

namespace {

const std::wstring TitreDemande = L"Demande d'authentification";

class SessionsClientsHttpAppGraphiqueFmx : public testing::Test {
 protected:
  void SetUp() override { FSessions.AppliquerPropositionModifConfig(PropositionProxy(FProxy)); }

  static TMonde& Monde() { return MondePartage({.Squid = true}); }
  static std::wstring PageInternet(std::wstring_view chemin) { return Monde().Url("http", chemin, L"internet.test"); }

  // The user's part: a blank login first (refused with its message), then the right credentials
  // with blanks around the login.
  std::wstring CommandesUtilisateur() const {
    return OptionTitre(TitreDemande) + L"attendre-fenetre -- lire LabelExplication -- saisir EditUserName \" \" " +
           L"-- saisir EditMotDePasse x -- cliquer-sans-attendre BtnValider -- " +
           LireEtFermerInformation(TitreDemande) + L"attendre-focus EditUserName -- saisir EditUserName \" " +
           FUtilisateur + L" \" -- saisir EditMotDePasse \"" + FMotDePasse + L"\" -- cliquer BtnValider";
  }
  void VerifierSortieUtilisateur(const TResultatPilote& pilote) const {
    EXPECT_TRUE(CommencePar(pilote.Sortie, L"Veuillez vous authentifier auprès du serveur proxy " + FProxy + L"\n"))
        << VersUtf8(pilote.Sortie);
    EXPECT_NE(std::wstring::npos, pilote.Sortie.find(L"\tLa saisie de votre idenfiant est obligatoire\n"));
  }

  // The credentials the configuration file keeps for the proxy, read back from their obfuscated
  // form; the file never holds them in clear. The configuration thread writes it on its own time.
  TypeInfoAuthHttp InfoAuthDuFichier() const {
    std::string fichier;
    EXPECT_TRUE(AttendreQue([&] {
      fichier = LireOctets(FSessions.ThreadConfig().NomFichier());
      return fichier.find("<InfoAuthProxy ") != std::string::npos;
    })) << fichier;
    EXPECT_NE(std::string::npos, fichier.find("Proxy=\"" + VersUtf8(FProxy) + "\""));
    EXPECT_EQ(std::string::npos, fichier.find(VersUtf8(FMotDePasse))) << "no password in clear";
    EXPECT_EQ(std::string::npos, fichier.find(VersUtf8(FUtilisateur))) << "no login in clear";
    const auto element = [&](const std::string& nom) {
      const auto debut = fichier.find("<" + nom + ">"), fin = fichier.find("</" + nom + ">");
      if (debut == std::string::npos || fin == std::string::npos) return std::wstring();
      return DepuisUtf8(fichier.substr(debut + nom.size() + 2, fin - debut - nom.size() - 2));
    };
    return {static_cast<uint32_t>(std::stoul(element("Schema").empty() ? L"0" : element("Schema"))),
            TypeLoginOffusque::CreateHexa(element("Identifiant")),
            TypeMotDePasseOffusque::CreateHexa(element("MotDePasse"))};
  }
  // Squid logged the page as fetched for the user.
  bool ServiePourLUtilisateur(const std::string& chemin) const {
    for (const std::wstring& ligne : Decouper(DepuisUtf8(Monde().JournalSquid()), L'\n')) {
      const std::string l = VersUtf8(ligne);
      if (l.find(chemin) != std::string::npos && l.find("/200 ") != std::string::npos &&
          l.find(" " + VersUtf8(FUtilisateur) + " ") != std::string::npos)
        return true;
    }
    return false;
  }

  TServicesInterface FServices;
  TMachineSessionsHttp<TSessionsClientsHttpAppGraphiqueFmx> FMachine;
  TSessionsClientsHttpAppGraphiqueFmx& FSessions = *FMachine.Sessions;
  const std::wstring FProxy = Monde().AdresseProxy("squid_auth");
  const std::wstring FUtilisateur = Monde().Valeur("squid_utilisateur");
  const std::wstring FMotDePasse = Monde().Valeur("squid_motdepasse");
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
  const auto pilote = PiloterPendant(CommandesUtilisateur(), [&] {
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
  VerifierSortieUtilisateur(pilote);
  EXPECT_EQ(L"", erreur);
  EXPECT_EQ(L"200", statut);
  EXPECT_EQ("setup", corps);
  EXPECT_TRUE(ServiePourLUtilisateur("/installation"));

  EXPECT_EQ(TypeTabChaines{FProxy}, FSessions.GetTabProxiesAvecInfoAuth());
  const TypeInfoAuthHttp stockes = InfoAuthDuFichier();
  EXPECT_EQ(uint32_t{WINHTTP_AUTH_SCHEME_BASIC}, stockes.Schema);
  EXPECT_EQ(FUtilisateur, stockes.Identifiant.GetValeur()) << "trimmed";
  EXPECT_EQ(FMotDePasse, stockes.MotDePasse.GetValeur());
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
  auto pilote = PiloterPendant(OptionTitre(TitreDemande) + L"attendre-fenetre -- cliquer BtnAnnuler",
                               [&] { FSessions.TesterConfigCourante(FAttente.Get(), resultats); });
  ASSERT_EQ(0u, pilote.Code) << VersUtf8(pilote.Erreurs);
  EXPECT_EQ(TypeEtatTestConfigClientsHttp::etcAuthProxyNecessaire, etatPage(resultats));
  EXPECT_TRUE(FSessions.GetTabProxiesAvecInfoAuth().empty());

  // The user answers: the test runs again with the credentials and the page answers.
  pilote = PiloterPendant(CommandesUtilisateur(), [&] { FSessions.TesterConfigCourante(FAttente.Get(), resultats); });
  ASSERT_EQ(0u, pilote.Code) << VersUtf8(pilote.Erreurs);
  VerifierSortieUtilisateur(pilote);
  EXPECT_EQ(TypeEtatTestConfigClientsHttp::etcSucces, etatPage(resultats));
  EXPECT_TRUE(ServiePourLUtilisateur("/test-authentifie"));
  const TypeInfoAuthHttp stockes = InfoAuthDuFichier();
  EXPECT_EQ(FUtilisateur, stockes.Identifiant.GetValeur());
  EXPECT_EQ(FMotDePasse, stockes.MotDePasse.GetValeur());
}
