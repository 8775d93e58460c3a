#include <gtest/gtest.h>
#include <windows.h>

#include "AffichageVersion.h"
#include "platform/Executable.h"
#include "platform/InformationApplication.h"
#include "core/Handle.h"
#include "support/RegistreIsole.h"
#include "support/EnvironnementTest.h"

using namespace norvel;
using namespace norvel::test;

namespace {

constexpr const wchar_t* CleEnvironnement = L"Software\\Ovalis\\EnvironnementDeploiement";

TRef<IInformationApplication> InformationDuProgramme(TypeSourceEnvironnement source = TypeSourceEnvironnement::Registre) {
  return NouvelObjet<TInformationApplication>(L"InstalleurNorvelPrimaire", POV_OUTIL, TypeGenreApplication::MONOPOSTE,
                                             TypePaysDistribution::FRANCE, source);
}

TRef<IInformationApplication> InformationVersion(TypeVersion version) {
  return NouvelObjet<TInformationApplication>(L"InstalleurNorvelPrimaire", POV_OUTIL, TypeGenreApplication::MONOPOSTE,
                                             std::move(version), PlateformeCompilation, TypePaysDistribution::FRANCE,
                                             TypeSourceEnvironnement::Aucune);
}

// The environment key under a private HKEY_CURRENT_USER that nothing else touches.
class RegistreUtilisateurPrive : public testing::Test {
 protected:
  void EcrireValeur(const std::wstring& nom, const std::wstring& valeur) {
    FRegistre.EcrireChaine(CleEnvironnement, nom, valeur);
  }
  bool CleExiste() {
    TCleRegistre cle;
    return RegOpenKeyExW(HKEY_CURRENT_USER, CleEnvironnement, 0, KEY_READ, cle.Adresse()) == ERROR_SUCCESS;
  }
  std::wstring LireValeur(const std::wstring& nom) {
    return FRegistre.LireChaine(CleEnvironnement, nom).value_or(L"<absente>");
  }

  test::TRegistreIsole FRegistre{HKEY_CURRENT_USER};
};

}  // namespace

TEST(InformationApplication, ValuesOfThisProgram) {
  auto info = InformationDuProgramme(TypeSourceEnvironnement::Aucune);
  EXPECT_EQ(VersionDepuisNumeros({1, 9}), info->GetVersion()) << "the test program carries version 1.9.0.0";
  EXPECT_EQ(L"InstalleurNorvelPrimaire", info->GetNom());
  EXPECT_EQ(L"OUTIL", info->GetNomProduit());
  EXPECT_EQ(L"OUTIL Monoposte", info->GetNomApplication());
  EXPECT_EQ(L"1", info->GetMillesime());
  EXPECT_EQ(L"OUTIL 1", info->GetNomProduitEtMillesime());
  EXPECT_EQ(L"MONOPOSTE", info->GetCodeGenre());
  EXPECT_EQ(TypePlateformeCompilation::Bits64, info->GetPlateforme());
  EXPECT_STREQ(L"64bit", CodePlateformeCompilation(info->GetPlateforme()));
  // A 64-bit process is no WOW64 process, yet it runs on a 64-bit system.
  EXPECT_FALSE(ProcessusSousWow64());
  EXPECT_TRUE(SystemeWindows64Bits());
  EXPECT_EQ(TypePaysDistribution::FRANCE, info->GetPaysDistribution());
  EXPECT_STREQ(L"FR", CodePaysDistribution(info->GetPaysDistribution()));
  EXPECT_FALSE(info->GetIndicateur());
  EXPECT_FALSE(info->EnvironnementDeploiementModifiable());
  EXPECT_EQ(L"OUTIL - 1.9", info->GetNomVersion(2, 0));
  EXPECT_EQ(L"OUTIL Monoposte - 1 (64bit)", info->GetNomVersion(1, ONV_NomApplication | ONV_AvecPlateforme));
  EXPECT_EQ(L" - 1.9", info->GetNomVersion(3, ONV_SansNom));
  EXPECT_EQ(L"OUTIL", info->GetNomVersion(0, 0));
  EXPECT_EQ(L"OUTIL - 3.1", info->GetNomVersionDe(VersionDepuisNumeros({3, 1, 7}), 2, 0));
  EXPECT_EQ(5, info->GetMillesimeDecale(POV_OUTIL, 4, 1));
  EXPECT_EQ(L"7", info->GetMillesimeTexte(7));
  // Reachable through the interface query, as the service registry hands it out.
  EXPECT_TRUE(info.Demander<IInformationApplication>());
}

TEST(InformationApplication, VersionShapesTheDerivedNames) {
  struct Cas {
    TypeVersion version;
    const wchar_t* millesime;
    const wchar_t* nomEtMillesime;
  };
  const Cas cas[] = {
      {VersionDepuisNumeros({2}), L"2", L"OUTIL 2"},
      {SupprimerZerosFinaux(VersionDepuisNumeros({0, 0, 0, 0})), L"", L"OUTIL"},
      {VersionDepuisNumeros({12, 3}), L"12", L"OUTIL 12"},
  };
  for (const auto& c : cas) {
    auto info = InformationVersion(c.version);
    EXPECT_EQ(c.millesime, info->GetMillesime()) << VersionEnTexte(c.version).size();
    EXPECT_EQ(c.nomEtMillesime, info->GetNomProduitEtMillesime());
  }
  auto indefini = NouvelObjet<TInformationApplication>(L"Autre", POV_OUTIL, TypeGenreApplication::INDEFINI,
                                                      VersionDepuisNumeros({1}), PlateformeCompilation,
                                                      TypePaysDistribution::ITALIE, TypeSourceEnvironnement::Aucune);
  EXPECT_EQ(L"Autre", indefini->GetNomProduit());
  EXPECT_EQ(L"Autre", indefini->GetNomApplication());
  EXPECT_EQ(L"", indefini->GetCodeGenre());
}

TEST_F(RegistreUtilisateurPrive, EnvironmentFromRegistryValueNamedByExecutablePath) {
  struct Cas {
    const wchar_t* valeur;
    TypeEnvironnementDeploiement attendu;
  };
  const Cas cas[] = {
      {L"staging", ED_PreProduction},     {L"StAgInG", ED_PreProduction},   {L"DEVELOPMENT", ED_Developpement},
      {L"production", ED_Production},     {L"prod", ED_Production},         {L"", ED_Production},
      {L" staging", ED_Production},
  };
  for (const auto& c : cas) {
    EcrireValeur(CheminExecutable(), c.valeur);
    auto info = InformationDuProgramme();
    EXPECT_EQ(c.attendu, info->GetEnvironnementDeploiement()) << c.valeur;
    EXPECT_TRUE(info->EnvironnementDeploiementModifiable());
  }
  // A value that is no string reads as production too.
  {
    TCleRegistre cle;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_CURRENT_USER, CleEnvironnement, 0, KEY_SET_VALUE, cle.Adresse()));
    const DWORD un = 1;
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExW(cle.Get(), CheminExecutable().c_str(), 0, REG_DWORD,
                                            reinterpret_cast<const BYTE*>(&un), sizeof(un)));
    EXPECT_EQ(ED_Production, InformationDuProgramme()->GetEnvironnementDeploiement());
  }
  // A value under another executable's path is not ours.
  EcrireValeur(CheminExecutable(), L"staging");
  EcrireValeur(CheminExecutable() + L".autre", L"development");
  EXPECT_EQ(ED_PreProduction, InformationDuProgramme()->GetEnvironnementDeploiement());
}

TEST_F(RegistreUtilisateurPrive, NoKeyMeansProductionAndNothingCreatedUntilChanged) {
  auto info = InformationDuProgramme();
  EXPECT_EQ(ED_Production, info->GetEnvironnementDeploiement());
  EXPECT_FALSE(CleExiste());

  info->SetEnvironnementDeploiement(ED_Developpement);
  EXPECT_EQ(ED_Developpement, info->GetEnvironnementDeploiement());
  EXPECT_EQ(L"development", LireValeur(CheminExecutable()));
  EXPECT_EQ(ED_Developpement, InformationDuProgramme()->GetEnvironnementDeploiement()) << "read back by a new object";

  info->SetEnvironnementDeploiement(ED_PreProduction);
  EXPECT_EQ(L"staging", LireValeur(CheminExecutable()));
  info->SetEnvironnementDeploiement(ED_Production);
  EXPECT_EQ(L"production", LireValeur(CheminExecutable()));
}

TEST_F(RegistreUtilisateurPrive, OtherSourcesNeverTouchTheRegistry) {
  const TVariableEnvironnement variable(L"OV_ENVIRONNEMENT", L"Staging");
  auto parVariable = InformationDuProgramme(TypeSourceEnvironnement::VariableEnvironnement);
  EXPECT_EQ(ED_PreProduction, parVariable->GetEnvironnementDeploiement());
  SetEnvironmentVariableW(L"OV_ENVIRONNEMENT", L"inconnu");
  EXPECT_EQ(ED_Production, InformationDuProgramme(TypeSourceEnvironnement::VariableEnvironnement)->GetEnvironnementDeploiement());
  SetEnvironmentVariableW(L"OV_ENVIRONNEMENT", nullptr);
  EXPECT_EQ(ED_Production, InformationDuProgramme(TypeSourceEnvironnement::VariableEnvironnement)->GetEnvironnementDeploiement());

  parVariable->SetEnvironnementDeploiement(ED_Developpement);
  EXPECT_EQ(ED_Developpement, parVariable->GetEnvironnementDeploiement());
  EXPECT_FALSE(CleExiste()) << "the environment variable is never written back";

  // No source: always production, even with a registry value present.
  EcrireValeur(CheminExecutable(), L"staging");
  auto sansSource = InformationDuProgramme(TypeSourceEnvironnement::Aucune);
  EXPECT_EQ(ED_Production, sansSource->GetEnvironnementDeploiement());
  EXPECT_FALSE(sansSource->EnvironnementDeploiementModifiable());
}
