// The graphical sessions service against a real Squid asking for Basic credentials: a worker's
// request through its duplicate makes the login dialog appear on the user-interface thread,
// which keeps running while the worker waits; a blank login is refused, the right credentials
// let the request through and are kept, obfuscated, in the configuration file.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "app/AttenteApplication.h"
#include "app/DossierSpecial.h"
#include "app/InformationApplication.h"
#include "app/RestrictionsApiWindows.h"
#include "core/Chaines.h"
#include "dialogs/ServicesInterface.h"
#include "dialogs/SessionsClientsHttpAppGraphiqueFmx.h"
#include "http/EchangeHttp.h"
#include "support/CheminsTest.h"
#include "support/Monde.h"
#include "support/Pilote.h"
#include "support/RegistreIsole.h"
#include "support/Sondage.h"

using namespace norvel;
using namespace norvel::test;

namespace {

const std::wstring TitreDemande = L"Demande d'authentification";

class SessionsClientsHttpAppGraphiqueFmx : public testing::Test {
 protected:
  void SetUp() override {
    DefinirRestrictionsApiWindows();
    FRegistre.EcrireChaine(CleSurchargeRepertoiresWindows, L"CSIDL_COMMON_APPDATA", FTemp.Chemin().wstring());
    const TRef<IInformationApplication> information = NouvelObjet<TInformationApplication>(
        L"InstalleurNorvelPrimaire", POV_OUTIL, TypeGenreApplication::MONOPOSTE, VersionDepuisNumeros({1, 9}),
        TypePlateformeCompilation::Bits64, TypePaysDistribution::FRANCE, TypeSourceEnvironnement::Aucune);
    const TRef<IDossierSpecial> dossiers =
        NouvelObjet<TDossierSpecial>(information, NouvelObjet<TSurchargeRepertoireWindows>(), nullptr);
    FSessions = NouvelObjet<TSessionsClientsHttpAppGraphiqueFmx>(information, dossiers, false);
    // Nothing may leave the machine: the public test pages of a new configuration go.
    FSessions->SupprimerTabUrlTest(FSessions->Config().TabUrlTest());
  }

  TMonde& Monde() { return MondePartage({.Squid = true}); }

  TServicesInterface FServices;
  TRegistreIsole FRegistre{HKEY_LOCAL_MACHINE};
  TDossierTemporaire FTemp;
  TRef<TSessionsClientsHttpAppGraphiqueFmx> FSessions;
};

}  // namespace

TEST_F(SessionsClientsHttpAppGraphiqueFmx, AWorkersRequestAsksTheUserAndKeepsTheCredentialsObfuscated) {
  // Squid's Basic port, known before the session opens (Wine takes the proxy given at the
  // opening only), and a plain http page: Wine cannot go through an authenticating proxy to
  // an https one.
  const std::wstring proxy = Monde().AdresseProxy("squid_auth");
  FSessions->AppliquerPropositionModifConfig({TypeGenreConfigProxyClientsHttp::gcpConfigOvalis, proxy, proxy, {}, L""});
  const std::wstring utilisateur = Monde().Valeur("squid_utilisateur"), motDePasse = Monde().Valeur("squid_motdepasse");
  const std::wstring url = Monde().Url("http", L"/installation?corps=setup", L"internet.test");

  // As the installation worker does: a duplicate of the service for its own thread.
  const TRef<ISessionsClientsHttp> duplicata = FSessions->DupliquerPourThread();
  EXPECT_NE(nullptr, dynamic_cast<TSessionsClientsHttpAppGraphiqueFmx*>(duplicata.Get()));
  const auto attente = NouvelObjet<TAttenteApplicationFmx>();
  std::atomic<bool> fini = false;
  std::wstring statut, erreur;
  std::string corps;
  const auto pilote = PiloterPendant(
      OptionTitre(TitreDemande) + L"attendre-fenetre -- lire LabelExplication -- saisir EditUserName \" \" " +
          L"-- saisir EditMotDePasse x -- cliquer-sans-attendre BtnValider -- " + LireEtFermerInformation(TitreDemande) +
          L"attendre-focus EditUserName -- saisir EditUserName \" " + utilisateur + L" \" -- saisir EditMotDePasse \"" +
          motDePasse + L"\" -- cliquer BtnValider",
      [&] {
        std::thread travailleur([&] {
          try {
            TEchange echange(duplicata->GetSessionAvecGestionProxy(), url, AttenteBloquante().Get());
            echange.Requete.Executer();
            statut = echange.Requete.StatutReponse();
            corps = echange.Requete.Reponse();
          } catch (const std::exception& e) {
            erreur = DepuisUtf8(e.what());
          }
          fini = true;
          attente->Reveiller(nullptr);
        });
        // The user-interface thread waits as the wizard's window does, and shows the dialog meanwhile.
        attente->Attendre(ConditionFinDAttente([&] { return fini.load(); }).Get(), 0);
        travailleur.join();
      });
  ASSERT_EQ(0u, pilote.Code) << VersUtf8(pilote.Erreurs);
  EXPECT_TRUE(CommencePar(pilote.Sortie, L"Veuillez vous authentifier auprès du serveur proxy " + proxy + L"\n"))
      << VersUtf8(pilote.Sortie);
  EXPECT_NE(std::wstring::npos, pilote.Sortie.find(L"\tLa saisie de votre idenfiant est obligatoire\n"));
  EXPECT_EQ(L"", erreur);
  EXPECT_EQ(L"200", statut);
  EXPECT_EQ("setup", corps);

  EXPECT_EQ(TypeTabChaines{proxy}, FSessions->GetTabProxiesAvecInfoAuth());
  // The configuration thread writes the file on its own time.
  std::string fichier;
  EXPECT_TRUE(AttendreQue([&] {
    fichier = LireOctets(FSessions->ThreadConfig().NomFichier());
    return fichier.find("<InfoAuthProxy ") != std::string::npos;
  })) << fichier;
  EXPECT_NE(std::string::npos, fichier.find(VersUtf8(proxy)));
  EXPECT_EQ(std::string::npos, fichier.find(VersUtf8(motDePasse))) << "no password in clear";
  EXPECT_EQ(std::string::npos, fichier.find(VersUtf8(utilisateur))) << "no login in clear";
  const auto element = [&](const std::string& nom) {
    const auto debut = fichier.find("<" + nom + ">"), fin = fichier.find("</" + nom + ">");
    if (debut == std::string::npos || fin == std::string::npos) return std::wstring();
    return DepuisUtf8(fichier.substr(debut + nom.size() + 2, fin - debut - nom.size() - 2));
  };
  EXPECT_EQ(utilisateur, TypeLoginOffusque::CreateHexa(element("Identifiant")).GetValeur()) << "trimmed";
  EXPECT_EQ(motDePasse, TypeMotDePasseOffusque::CreateHexa(element("MotDePasse")).GetValeur());
}
