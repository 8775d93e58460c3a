// The portal icon written out of the program's resources as the shortcut's icon file.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "core/Exceptions.h"
#include "core/Ressources.h"
#include "install/RessourceFichier.h"
#include "support/CheminsTest.h"

using namespace norvel;

namespace {

std::string LireFichier(const std::wstring& chemin) {
  std::ifstream f(std::filesystem::path(chemin), std::ios::binary);
  return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

}  // namespace

TEST(RessourceDansFichier, WritesTheIconFileAndReplacesAnExistingOne) {
  test::TDossierTemporaire dossier;
  const std::wstring chemin = dossier.Fichier(L"Portail.ico");
  {
    std::ofstream ancien(std::filesystem::path(chemin), std::ios::binary);
    ancien << std::string(300000, 'x');  // longer than the icon: it must not survive past its end
  }
  EcrireRessourceDansFichier(L"PORTAILICONE", chemin);
  EXPECT_EQ(std::string(DonneesRessource(L"PORTAILICONE")), LireFichier(chemin));
}

TEST(RessourceDansFichier, FailuresRaise) {
  test::TDossierTemporaire dossier;
  EXPECT_THROW(EcrireRessourceDansFichier(L"PORTAILICONE", dossier.Fichier(L"absent\\Portail.ico")), EOvalis);
  EXPECT_THROW(EcrireRessourceDansFichier(L"ABSENTE", dossier.Fichier(L"Portail.ico")), EOvalis);
  EXPECT_FALSE(std::filesystem::exists(dossier.Fichier(L"Portail.ico"))) << "no file for a missing resource";
}
