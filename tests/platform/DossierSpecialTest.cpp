#include <gtest/gtest.h>
#include <windows.h>

#include "platform/Chemins.h"
#include "platform/DossierSpecial.h"
#include "platform/Executable.h"
#include "platform/InformationApplication.h"
#include "platform/LigneDeCommande.h"
#include "platform/SurchargeRepertoires.h"
#include "core/Chaines.h"
#include "core/Exceptions.h"
#include "support/CheminsTest.h"
#include "support/ProcessusEnfant.h"
#include "support/RegistreIsole.h"
#include "support/EnvironnementTest.h"

using namespace norvel;
using namespace norvel::test;

namespace {

TRef<IInformationApplication> InformationVersion(TypeVersion version) {
  return NouvelObjet<TInformationApplication>(L"InstalleurNorvelPrimaire", POV_OUTIL, TypeGenreApplication::MONOPOSTE,
                                             std::move(version), PlateformeCompilation, TypePaysDistribution::FRANCE,
                                             TypeSourceEnvironnement::Aucune);
}

TRef<IInformationApplication> InformationDuProgramme() { return InformationVersion(VersionDepuisNumeros({1, 9})); }

// A product whose millesime is a year rather than the major version (the maker's other products).
class TInformationMillesimeAnnee : public TInformationApplication {
 public:
  using TInformationApplication::TInformationApplication;
  std::wstring GetMillesime() override { return L"2025"; }
};

class TContexte : public TImplemente<TObjetInterfacable, IContexteExecution> {
 public:
  TContexte(std::wstring nom, TypeGenreContexteExecution genre) : FNom(std::move(nom)), FGenre(genre) {}
  std::wstring GetNomContexte() override { return FNom; }
  TypeGenreContexteExecution GetGenreContexte() override { return FGenre; }

 private:
  std::wstring FNom;
  TypeGenreContexteExecution FGenre;
};

// Every test runs against a private HKEY_LOCAL_MACHINE whose "CSIDL_COMMON_APPDATA" override
// sends the machine-wide folder to a temporary one.
class DossierSpecial : public testing::Test {
 protected:
  TRegistreIsole FRegistre{HKEY_LOCAL_MACHINE};
  TDossierTemporaire FTemp;
  std::wstring FCommun = FTemp.Fichier(L"Commun machine");

  void SetUp() override { FRegistre.EcrireChaine(CleSurchargeRepertoiresWindows, L"CSIDL_COMMON_APPDATA", FCommun); }

  TRef<TDossierSpecial> Creer(TRef<IInformationApplication> information = InformationDuProgramme(),
                              TRef<ISurchargeRepertoiresWindows> surcharges = nullptr,
                              TRef<IContexteExecution> contexte = nullptr) {
    if (!surcharges) surcharges = NouvelObjet<TSurchargeRepertoireWindows>();
    return NouvelObjet<TDossierSpecial>(information, surcharges, contexte);
  }
};

TEST_F(DossierSpecial, ProgramFolderOverrideWinsOverTheOneForAllPrograms) {
  const std::wstring dossierProgramme = DossierDe(CheminExecutable());
  struct Cas {
    const char* nom;
    const wchar_t* pourCeProgramme;  // nullptr: value absent
    const wchar_t* pourTous;
    std::wstring attendu;
  };
  const Cas cas[] = {
      {"both set", L"C:\\Programme", L"C:\\Tous", L"C:\\Programme"},
      {"only for all", nullptr, L"C:\\Tous", L"C:\\Tous"},
      {"empty program value falls back", L"", L"C:\\Tous", L"C:\\Tous"},
      {"only for this program", L"C:\\Programme", nullptr, L"C:\\Programme"},
  };
  for (const auto& c : cas) {
    FRegistre.SupprimerValeur(CleSurchargeRepertoiresWindows, dossierProgramme);
    FRegistre.SupprimerValeur(CleSurchargeRepertoiresWindows, L"CSIDL_COMMON_APPDATA");
    if (c.pourCeProgramme) FRegistre.EcrireChaine(CleSurchargeRepertoiresWindows, dossierProgramme, c.pourCeProgramme);
    if (c.pourTous) FRegistre.EcrireChaine(CleSurchargeRepertoiresWindows, L"CSIDL_COMMON_APPDATA", c.pourTous);
    EXPECT_EQ(c.attendu, Creer()->DossierDonneesCommunes()) << c.nom;
  }
  // Another program's folder is not ours.
  FRegistre.SupprimerValeur(CleSurchargeRepertoiresWindows, dossierProgramme);
  FRegistre.EcrireChaine(CleSurchargeRepertoiresWindows, dossierProgramme + L"\\autre", L"C:\\Autre");
  FRegistre.EcrireChaine(CleSurchargeRepertoiresWindows, L"CSIDL_COMMON_APPDATA", L"C:\\Tous");
  EXPECT_EQ(L"C:\\Tous", Creer()->DossierDonneesCommunes());
}

TEST_F(DossierSpecial, WithoutOverridesTheSystemKnownFoldersServe) {
  FRegistre.SupprimerValeur(CleSurchargeRepertoiresWindows, L"CSIDL_COMMON_APPDATA");
  const auto dossiers = Creer();
  wchar_t attendu[MAX_PATH];
  ASSERT_GT(GetEnvironmentVariableW(L"ProgramData", attendu, MAX_PATH), 0u);
  EXPECT_TRUE(MemeTexteSansCasse(attendu, dossiers->DossierDonneesCommunes())) << dossiers->DossierDonneesCommunes();
  EXPECT_FALSE(dossiers->DossierDocuments().empty());

  FRegistre.EcrireChaine(CleSurchargeRepertoiresWindows, L"CSIDL_MYDOCUMENTS", L"D:\\Mes documents");
  EXPECT_EQ(L"D:\\Mes documents\\Ovalis\\", Creer()->GetDossier(BDS_Documents, NDS_Societe, 0, L""));
}

TEST_F(DossierSpecial, RelativeOverrideIsMadeAbsoluteAgainstTheCurrentFolder) {
  FRegistre.EcrireChaine(CleSurchargeRepertoiresWindows, L"CSIDL_COMMON_APPDATA", L"relatif\\..\\donnees");
  wchar_t courant[MAX_PATH];
  const std::wstring ancien(courant, GetCurrentDirectoryW(MAX_PATH, courant));
  ASSERT_TRUE(SetCurrentDirectoryW(FTemp.Chemin().c_str()));
  const std::wstring obtenu = Creer()->GetDossier(BDS_DonneesCommunes, NDS_Societe, 0, L"");
  SetCurrentDirectoryW(ancien.c_str());
  EXPECT_EQ(FTemp.Fichier(L"donnees\\Ovalis\\"), obtenu);
}

TEST_F(DossierSpecial, InMemoryOverridesAreWrittenToTheRegistryAtConstruction) {
  FRegistre.SupprimerValeur(CleSurchargeRepertoiresWindows, L"CSIDL_COMMON_APPDATA");
  auto surcharges = NouvelObjet<TSurchargeRepertoireWindows>();
  EXPECT_TRUE(surcharges->AjouterSurcharge(L"CSIDL_COMMON_APPDATA", L"E:\\Donnees"));
  EXPECT_FALSE(surcharges->AjouterSurcharge(L"CSIDL_COMMON_APPDATA", L"F:\\Autre"));
  EXPECT_EQ(L"E:\\Donnees", surcharges->GetSurcharge(L"CSIDL_COMMON_APPDATA"));

  EXPECT_EQ(L"E:\\Donnees", Creer(InformationDuProgramme(), surcharges)->DossierDonneesCommunes());
  EXPECT_EQ(L"E:\\Donnees", FRegistre.LireChaine(CleSurchargeRepertoiresWindows, L"CSIDL_COMMON_APPDATA"));
}

TEST_F(DossierSpecial, AbsentOverrideNameRaises) {
  auto surcharges = NouvelObjet<TSurchargeRepertoireWindows>();
  surcharges->AjouterSurcharge(L"Nom", L"C:\\X");
  try {
    surcharges->GetSurcharge(L"nom");  // names are compared exactly
    FAIL() << "no exception";
  } catch (const EOvalis& e) {
    EXPECT_EQ(L"Elément introuvable", e.Message());
  }
  EXPECT_EQ(std::vector<std::wstring>{L"Nom"}, surcharges->GetNomsSurcharges());
}

TEST_F(DossierSpecial, EveryLevel) {
  const std::wstring base = FCommun + L"\\Ovalis\\";
  const std::wstring appli = base + L"InstalleurNorvelPrimaire\\MONOPOSTE\\";
  struct Cas {
    TypeNiveauDossierSpecial niveau;
    int options;
    const wchar_t* sousDossier;
    std::wstring attendu;
  };
  const Cas cas[] = {
      {NDS_Societe, 0, L"", base},
      {NDS_Produit, 0, L"", base + L"InstalleurNorvelPrimaire\\"},
      {NDS_Application, 0, L"", appli},
      {NDS_ApplicationCommun, 0, L"", appli + L"TOUTES VERSIONS\\"},
      {NDS_AppliVersionnee, 0, L"", appli + L"VERSION 1-0\\"},
      {NDS_AppliVersionnee, ODS_AvecPays, L"", appli + L"VERSION 1-0\\FR\\"},
      {NDS_Societe, ODS_AvecPays, L"Commun", base + L"FR\\Commun\\"},
      {NDS_Societe, 0, L"Commun\\", base + L"Commun\\"},
      {NDS_Application, 0, L"X:\\Ailleurs", L"X:\\Ailleurs\\"},
      {NDS_Application, 0, L"..\\Voisin", base + L"InstalleurNorvelPrimaire\\Voisin\\"},
  };
  const auto dossiers = Creer();
  for (const auto& c : cas) {
    EXPECT_EQ(c.attendu, dossiers->GetDossier(BDS_DonneesCommunes, c.niveau, c.options, c.sousDossier))
        << c.niveau << " " << c.options;
    EXPECT_FALSE(DossierExiste(c.attendu)) << "created without the option";
  }
  EXPECT_EQ(base + L"InstalleurNorvelPrimaire\\Autre appli\\TOUTES VERSIONS\\",
            dossiers->GetDossierApplication(L"Autre appli", BDS_DonneesCommunes, NDS_ApplicationCommun, 0, L""));
}

TEST_F(DossierSpecial, VersionedLevel) {
  struct Cas {
    TypeVersion version;
    bool millesimeAnnee;
    const wchar_t* attendu;
  };
  const Cas cas[] = {
      {VersionDepuisNumeros({3, 1}), false, L"VERSION 3-0"},
      {VersionDepuisNumeros({3, 512}), false, L"VERSION 3-2"},
      {VersionDepuisNumeros({3, 512, 7, 9}), false, L"VERSION 3-2"},
      {VersionDepuisNumeros({2}), false, L"VERSION 2-0"},
      {VersionDepuisNumeros({3, 256}), true, L"VERSION 3-1 (2025)"},
  };
  for (const auto& c : cas) {
    TRef<IInformationApplication> information =
        c.millesimeAnnee ? TRef<IInformationApplication>(NouvelObjet<TInformationMillesimeAnnee>(
                               L"InstalleurNorvelPrimaire", POV_OUTIL, TypeGenreApplication::MONOPOSTE, c.version,
                               PlateformeCompilation, TypePaysDistribution::FRANCE, TypeSourceEnvironnement::Aucune))
                         : InformationVersion(c.version);
    EXPECT_EQ(FCommun + L"\\Ovalis\\InstalleurNorvelPrimaire\\MONOPOSTE\\" + c.attendu + L"\\",
              Creer(information)->GetDossier(BDS_DonneesCommunes, NDS_AppliVersionnee, 0, L""))
        << c.attendu;
  }
}

TEST_F(DossierSpecial, TemporaryBase) {
  const auto dossiers = Creer();
  const TVariableEnvironnement temp(L"TEMP", L"T:\\tmp");
  const std::wstring avecVariable = dossiers->GetDossier(BDS_Temporaire, NDS_Produit, 0, L"");
  SetEnvironmentVariableW(L"TEMP", L"");
  const std::wstring variableVide = dossiers->GetDossier(BDS_Temporaire, NDS_Societe, 0, L"");
  SetEnvironmentVariableW(L"TEMP", nullptr);
  const std::wstring sansVariable = dossiers->GetDossier(BDS_Temporaire, NDS_Societe, 0, L"");
  EXPECT_EQ(L"T:\\tmp\\Ovalis\\InstalleurNorvelPrimaire\\", avecVariable);
  EXPECT_EQ(L"C:\\TEMP\\Ovalis\\", variableVide);
  EXPECT_EQ(L"C:\\TEMP\\Ovalis\\", sansVariable);
}

TEST_F(DossierSpecial, DefaultAndConfigurationFoldersAreCreated) {
  const auto dossiers = Creer();
  const std::wstring parDefaut = dossiers->GetDossierParDefaut();
  EXPECT_EQ(FCommun + L"\\Ovalis\\InstalleurNorvelPrimaire\\MONOPOSTE\\", parDefaut);
  EXPECT_TRUE(DossierExiste(parDefaut));
  const std::wstring configuration = dossiers->GetDossier(BDS_DonneesCommunes, NDS_Societe, ODS_Creer, L"Commun");
  EXPECT_EQ(FCommun + L"\\Ovalis\\Commun\\", configuration);
  EXPECT_TRUE(DossierExiste(configuration));

  // Set explicitly, the default folder is created and kept.
  EXPECT_TRUE(dossiers->SetDossierParDefaut(FTemp.Fichier(L"a\\b\\c\\")));
  EXPECT_TRUE(DossierExiste(FTemp.Fichier(L"a\\b\\c")));
  EXPECT_EQ(FTemp.Fichier(L"a\\b\\c\\"), dossiers->GetDossierParDefaut());
  EXPECT_FALSE(dossiers->SetDossierParDefaut(L"Q:\\lecteur absent\\x\\"));
}

TEST_F(DossierSpecial, ExecutionContextFolders) {
  const std::wstring versionnee = FCommun + L"\\Ovalis\\InstalleurNorvelPrimaire\\MONOPOSTE\\VERSION 1-0\\";
  struct Cas {
    TypeGenreContexteExecution genre;
    std::wstring attendu;
  };
  const Cas cas[] = {
      {gceServeur, versionnee + L"FR\\Serveurs\\Ecole\\"},
      {gcePlanning, versionnee + L"FR\\Plannings\\Ecole\\"},
      {gceInstallation, versionnee + L"FR\\Installations\\Ecole\\"},
      {gceAutre, versionnee},
  };
  for (const auto& c : cas) {
    auto contexte = NouvelObjet<TContexte>(L"Ecole", c.genre);
    EXPECT_EQ(c.attendu, Creer()->GetDossierContexte(contexte.Get()));
    // A context given at construction fixes the default folder.
    EXPECT_EQ(c.attendu, Creer(InformationDuProgramme(), nullptr, contexte)->GetDossierParDefaut());
  }
}

// What a child sees of its special folders, one per line, with the machine-wide folder sent
// to the folder named by its "-commun" parameter.
void EcrireDossiersEnfant(std::initializer_list<std::wstring> dossiers) {
  for (const auto& d : dossiers) EcrireLigneEnfant(d);
}

NORVEL_PROGRAMME_ENFANT(DossiersAvecInstance) {
  std::wstring commun;
  TLigneDeCommande::ValeurParam(L"commun", commun);
  TRegistreIsole registre(HKEY_LOCAL_MACHINE);
  registre.EcrireChaine(CleSurchargeRepertoiresWindows, L"CSIDL_COMMON_APPDATA", commun);
  const auto dossiers = NouvelObjet<TDossierSpecial>(InformationDuProgramme(), nullptr, nullptr);
  EcrireDossiersEnfant({dossiers->GetDossier(BDS_DonneesCommunes, NDS_Societe, ODS_Creer, L"Commun"),
                        dossiers->GetDossierParDefaut(),
                        dossiers->GetDossier(BDS_DonneesCommunes, NDS_Societe, ODS_AvecPays, L"")});
  return 0;
}

NORVEL_PROGRAMME_ENFANT(DossierExecutable) {
  // No base folder at all: the files go beside the program.
  const auto dossiers = NouvelObjet<TDossierSpecial>(InformationDuProgramme(), nullptr, nullptr);
  EcrireDossiersEnfant({DossierExecutableDonnees(), dossiers->GetDossier(-1, NDS_AppliVersionnee, ODS_AvecPays, L"")});
  return 0;
}

// The instance named on the command line is the last level of every folder.
TEST_F(DossierSpecial, InstanceFromTheCommandLineIsTheLastLevel) {
  const auto enfant = LancerProgrammeEnfant(L"DossiersAvecInstance", L"-instance \"Ecole 2\" -commun \"" + FCommun + L"\"");
  ASSERT_EQ(0u, enfant.CodeSortie) << enfant.Sortie;
  EXPECT_EQ(FCommun + L"\\Ovalis\\Commun\\Ecole 2\\\n" + FCommun +
                L"\\Ovalis\\InstalleurNorvelPrimaire\\MONOPOSTE\\Ecole 2\\\n" + FCommun + L"\\Ovalis\\FR\\Ecole 2\\\n",
            enfant.Sortie);
  EXPECT_TRUE(DossierExiste(FCommun + L"\\Ovalis\\Commun\\Ecole 2"));
}

// A program run from "...\bin\win32\" keeps its files in "bin": the test program is copied
// there and run again.
TEST_F(DossierSpecial, ExecutableFolderSkipsWin32UnderBin) {
  struct Cas {
    const wchar_t* dossier;
    const wchar_t* attendu;
  };
  const Cas cas[] = {{L"Bin\\Win32", L"Bin\\"}, {L"x\\win32", L"x\\win32\\"}, {L"y\\bin\\win64", L"y\\bin\\win64\\"}};
  for (const auto& c : cas) {
    const std::wstring dossier = FTemp.Fichier(c.dossier);
    ASSERT_TRUE(CreerDossierEtParents(dossier));
    const std::wstring copie = dossier + L"\\tests_copie.exe";
    ASSERT_TRUE(CopyFileW(CheminExecutable().c_str(), copie.c_str(), FALSE));
    const auto enfant = LancerProgrammeEnfant(L"DossierExecutable", L"", copie);
    ASSERT_EQ(0u, enfant.CodeSortie) << enfant.Sortie;
    const std::wstring attendu = FTemp.Fichier(c.attendu);
    EXPECT_EQ(attendu + L"\n" + attendu + L"FR\\\n", enfant.Sortie) << c.dossier;
  }
}

}  // namespace
