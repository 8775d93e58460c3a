// What only a fresh process shows: its own command line and executable path, the registry
// value named by that path, and once-per-process state.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>

#include "app/Executable.h"
#include "app/InformationApplication.h"
#include "app/LigneDeCommande.h"
#include "app/RestrictionsApiWindows.h"
#include "core/Chaines.h"
#include "support/CheminsTest.h"
#include "support/ProcessusEnfant.h"

using namespace norvel;
using namespace norvel::test;

namespace {

std::wstring Joindre(const std::vector<std::wstring>& parametres) {
  std::wstring texte;
  for (const auto& p : parametres) texte += L"[" + p + L"]";
  return texte;
}

std::vector<std::wstring> Lignes(const std::wstring& sortie) {
  std::vector<std::wstring> lignes = Decouper(sortie, L'\n');
  if (!lignes.empty() && lignes.back().empty()) lignes.pop_back();
  return lignes;
}

}  // namespace

NORVEL_PROGRAMME_ENFANT(LigneDeCommande) {
  std::wstring valeur = L"<absente>";
  TLigneDeCommande::ValeurParam(L"CheminInstallation", valeur);
  std::wstring instance = L"<absente>";
  TLigneDeCommande::ValeurParam(L"instance", instance);
  EcrireLigneEnfant(TLigneDeCommande::ParamStr(0));
  EcrireLigneEnfant(std::to_wstring(TLigneDeCommande::ParamCount()));
  EcrireLigneEnfant(valeur);
  EcrireLigneEnfant(instance);
  EcrireLigneEnfant(Joindre(TLigneDeCommande::ParamsDbg()));
  EcrireLigneEnfant(TLigneDeCommande::GetLigneDeCommandeEntiere(false));
  return 0;
}

TEST(LigneDeCommandeDuProcessus, ReadsTheProcessOwnCommandLine) {
  const auto r = LancerProgrammeEnfant(
      L"LigneDeCommande", L"-CheminInstallation \"C:\\Mes écoles\\Saint-Exupéry\" /instance \"\" essai -- "
                          L"-CheminInstallation B \"x y\"");
  ASSERT_EQ(0u, r.CodeSortie) << VersUtf8(r.Sortie);
  const auto lignes = Lignes(r.Sortie);
  ASSERT_EQ(6u, lignes.size()) << VersUtf8(r.Sortie);
  EXPECT_TRUE(MemeTexteSansCasse(CheminExecutable(), lignes[0])) << VersUtf8(lignes[0]);
  EXPECT_EQ(L"4", lignes[1]);
  EXPECT_EQ(L"C:\\Mes écoles\\Saint-Exupéry", lignes[2]);
  EXPECT_EQ(L"essai", lignes[3]) << "the quote pair before the value is skipped";
  EXPECT_EQ(L"[-CheminInstallation][B][x y]", lignes[4]);
  EXPECT_EQ(L"-CheminInstallation \"C:\\Mes écoles\\Saint-Exupéry\" /instance essai", lignes[5]);
}

TEST(LigneDeCommandeDuProcessus, NoParameters) {
  const auto r = LancerProgrammeEnfant(L"LigneDeCommande", L"");
  ASSERT_EQ(0u, r.CodeSortie) << VersUtf8(r.Sortie);
  const auto lignes = Lignes(r.Sortie);
  ASSERT_EQ(6u, lignes.size()) << VersUtf8(r.Sortie);
  EXPECT_EQ(L"0", lignes[1]);
  EXPECT_EQ(L"<absente>", lignes[2]);
  EXPECT_EQ(L"", lignes[4]);
  EXPECT_EQ(L"", lignes[5]);
}

// Reads the deployment environment as the assistant does; "-ecrire <code>" changes it first.
NORVEL_PROGRAMME_ENFANT(EnvironnementDeploiement) {
  auto info = NouvelObjet<TInformationApplication>(L"InstalleurNorvelPrimaire", POV_OUTIL,
                                                  TypeGenreApplication::MONOPOSTE, TypePaysDistribution::FRANCE,
                                                  TypeSourceEnvironnement::Registre);
  std::wstring code;
  if (TLigneDeCommande::ValeurParam(L"ecrire", code))
    for (auto environnement : {ED_Production, ED_PreProduction, ED_Developpement})
      if (code == CodeEnvironnementDeploiement(environnement)) info->SetEnvironnementDeploiement(environnement);
  EcrireLigneEnfant(CodeEnvironnementDeploiement(info->GetEnvironnementDeploiement()));
  return 0;
}

TEST(EnvironnementDeploiementParExecutable, TwoFoldersGiveTwoIndependentValues) {
  TDossierTemporaire dossier;
  const std::wstring a = dossier.Fichier(L"a\\InstalleurNorvelPrimaire.exe");
  const std::wstring b = dossier.Fichier(L"b\\InstalleurNorvelPrimaire.exe");
  for (const auto& copie : {a, b}) {
    std::filesystem::create_directories(std::filesystem::path(copie).parent_path());
    std::filesystem::copy_file(CheminExecutable(), copie);
  }
  const wchar_t* cle = L"Software\\Ovalis\\EnvironnementDeploiement";
  struct Nettoyage {
    const wchar_t* cle;
    std::wstring a, b;
    ~Nettoyage() {
      RegDeleteKeyValueW(HKEY_CURRENT_USER, cle, a.c_str());
      RegDeleteKeyValueW(HKEY_CURRENT_USER, cle, b.c_str());
    }
  } nettoyage{cle, a, b};

  auto environnement = [](const std::wstring& exe, std::wstring_view arguments = L"") {
    const auto r = LancerProgrammeEnfant(L"EnvironnementDeploiement", arguments, exe);
    EXPECT_EQ(0u, r.CodeSortie) << VersUtf8(r.Sortie);
    return Trim(r.Sortie);
  };
  auto valeurRegistre = [cle](const std::wstring& exe) -> std::wstring {
    wchar_t tampon[64] = L"";
    DWORD taille = sizeof(tampon);
    if (RegGetValueW(HKEY_CURRENT_USER, cle, exe.c_str(), RRF_RT_REG_SZ, nullptr, tampon, &taille) != ERROR_SUCCESS)
      return L"<absente>";
    return tampon;
  };

  EXPECT_EQ(L"production", environnement(a));
  EXPECT_EQ(L"<absente>", valeurRegistre(a)) << "reading creates nothing";
  EXPECT_EQ(L"staging", environnement(a, L"-ecrire staging"));
  EXPECT_EQ(L"staging", valeurRegistre(a));
  EXPECT_EQ(L"production", environnement(b));
  EXPECT_EQ(L"development", environnement(b, L"-ecrire development"));
  EXPECT_EQ(L"staging", environnement(a)) << "kept by the first folder's value";
  EXPECT_EQ(L"development", environnement(b));
  EXPECT_EQ(L"development", valeurRegistre(b));
}

NORVEL_PROGRAMME_ENFANT(EtatRestrictions) {
  auto afficher = [](const TypeRestrictionsApiWindows& r) {
    EcrireLigneEnfant(std::wstring(r.Definies ? L"définies" : L"non définies") + L" " +
                      (r.UrlEscapeAnsi ? L"1" : L"0") + (r.SansMasterkeyDPAPI ? L"1" : L"0") + L" [" +
                      r.InformationsComplementairesUserAgent + L"]");
  };
  afficher(RestrictionsApiWindows());
  DefinirRestrictionsApiWindows();
  afficher(RestrictionsApiWindows());
  return 0;
}

TEST(RestrictionsApiWindows, AllFalseUntilComputedOncePerProcess) {
  const auto r = LancerProgrammeEnfant(L"EtatRestrictions", L"");
  ASSERT_EQ(0u, r.CodeSortie) << VersUtf8(r.Sortie);
  EXPECT_EQ(L"non définies 00 []\ndéfinies 11 [WINE]\n", r.Sortie);
}
