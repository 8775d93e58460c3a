// A run without a user session (the SYSTEM account of a deployment tool): the portal shortcut on
// the public desktop every user sees, and the client configured by a connection file that is
// written where the assistant keeps its files, without any client started. Under Wine the run
// itself cannot be SYSTEM; these are the real folders and files such a run writes.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>

#include "core/Chaines.h"
#include "core/Com.h"
#include "install/BureauEssai.h"
#include "install/LancementClient.h"
#include "install/RaccourciPortail.h"
#include "support/CheminsTest.h"

using namespace norvel;
using namespace norvel::test;

namespace fs = std::filesystem;

TEST(SansUtilisateur, TheShortcutGoesOnThePublicDesktop) {
  const TInitialisationCom com;
  const std::wstring bureauCommun = DossierBureauCommun();
  ASSERT_FALSE(bureauCommun.empty());
  ASSERT_TRUE(fs::is_directory(bureauCommun)) << VersUtf8(bureauCommun);
  // The user's own desktop stays as it is.
  TDossierTemporaire temp;
  const fs::path bureauUtilisateur = temp.Chemin() / L"Bureau";
  fs::create_directories(bureauUtilisateur);
  TBureauIsole isole(bureauUtilisateur.wstring());

  const fs::path lien = fs::path(bureauCommun) / L"Ecole publique - Portail NORVEL Primaire.lnk";
  fs::remove(lien);
  const auto resultat =
      CreerRaccourciPortail(L"Ecole publique", L"https://ecole.example.fr/", temp.Fichier(L"Portail.ico"), true);
  ASSERT_TRUE(resultat.Succes) << VersUtf8(resultat.Message);
  EXPECT_TRUE(fs::exists(lien));
  EXPECT_TRUE(fs::is_empty(bureauUtilisateur));
  SignalerCibleSousWine();
  EXPECT_EQ(LireLien(lien.wstring()).Cible, CibleAttendue(L"https://ecole.example.fr/"));
  fs::remove(lien);
}

TEST(SansUtilisateur, TheConnectionFileOnlyConfiguresAndWaitsInTheAssistantsFolder) {
  TDossierTemporaire temp;
  // Even for a server in service: nobody is there for a connection test.
  const std::wstring chemin = ConfigurerSansLancerClient(temp.Chemin().wstring(), L"École A", L"serveur.test", 21300);
  EXPECT_EQ(chemin, temp.Fichier(L"NORVEL Primaire.ncprim"));
  EXPECT_EQ(LireOctets(chemin), "\xEF\xBB\xBFServeur=" + VersUtf8(L"École A") + ":serveur.test:21300:ConfigurationSeulement");
}
