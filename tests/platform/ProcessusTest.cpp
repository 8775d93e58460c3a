// What only a fresh process shows: its own command line and executable path, the registry
// value named by that path, and once-per-process state.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>

#include "platform/Executable.h"
#include "platform/InformationApplication.h"
#include "platform/LigneDeCommande.h"
#include "platform/RestrictionsApiWindows.h"
#include "core/Chaines.h"
#include "core/Exceptions.h"
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

// Renames the version resource of a program file (its type 16 becomes 17 in the root of the
// resource tree): the program still runs, but has no version. The system's own resource
// update leaves these large test programs unchanged under Wine, hence this patch.
void RetirerRessourceVersion(const std::wstring& fichier) {
  std::fstream flux(std::filesystem::path(fichier), std::ios::in | std::ios::out | std::ios::binary);
  ASSERT_TRUE(flux) << VersUtf8(fichier);
  auto lire = [&flux](std::streamoff position, auto& valeur) {
    flux.seekg(position);
    flux.read(reinterpret_cast<char*>(&valeur), sizeof(valeur));
  };
  uint32_t entetePe = 0;
  lire(0x3C, entetePe);
  uint16_t nombreSections = 0, tailleEnteteOptionnel = 0;
  lire(entetePe + 6, nombreSections);
  lire(entetePe + 20, tailleEnteteOptionnel);
  const std::streamoff enteteOptionnel = entetePe + 24;
  uint16_t magique = 0;
  lire(enteteOptionnel, magique);
  ASSERT_EQ(0x20B, magique) << "a 64-bit program is expected";
  uint32_t rvaRessources = 0;
  lire(enteteOptionnel + 112 + 2 * 8, rvaRessources);
  std::streamoff racine = -1;
  for (uint16_t i = 0; i < nombreSections; ++i) {
    const std::streamoff section = enteteOptionnel + tailleEnteteOptionnel + 40 * i;
    uint32_t adresse = 0, taille = 0, position = 0;
    lire(section + 12, adresse);
    lire(section + 16, taille);
    lire(section + 20, position);
    if (rvaRessources >= adresse && rvaRessources < adresse + taille) racine = position + (rvaRessources - adresse);
  }
  ASSERT_GE(racine, 0) << "no resource section";
  uint16_t nommees = 0, numerotees = 0;
  lire(racine + 12, nommees);
  lire(racine + 14, numerotees);
  for (uint16_t i = 0; i < numerotees; ++i) {
    const std::streamoff entree = racine + 16 + 8 * (nommees + i);
    uint32_t type = 0, suivant = 0;
    lire(entree, type);
    if (i + 1 < numerotees) lire(entree + 8, suivant);
    if (type != 16) continue;
    ASSERT_TRUE(i + 1 == numerotees || suivant > 17) << "the entries must stay sorted";
    const uint32_t autreType = 17;
    flux.seekp(entree);
    flux.write(reinterpret_cast<const char*>(&autreType), sizeof(autreType));
    ASSERT_TRUE(flux.flush());
    return;
  }
  FAIL() << "no version resource in " << VersUtf8(fichier);
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

// Builds the information object the way the program entry does and shows its version, or why
// it could not be built.
NORVEL_PROGRAMME_ENFANT(VersionDuProgramme) {
  try {
    auto info = NouvelObjet<TInformationApplication>(L"InstalleurNorvelPrimaire", POV_OUTIL,
                                                    TypeGenreApplication::MONOPOSTE, TypePaysDistribution::FRANCE,
                                                    TypeSourceEnvironnement::Registre);
    EcrireLigneEnfant(VersionEnTexte(info->GetVersion()));
    return 0;
  } catch (const EOvalis& e) {
    EcrireLigneEnfant(e.Message());
    return 1;
  }
}

TEST(InformationApplicationDuProcessus, ShortFormReadsTheRunningProgramVersionOrFails) {
  const auto r = LancerProgrammeEnfant(L"VersionDuProgramme", L"");
  EXPECT_EQ(0u, r.CodeSortie);
  EXPECT_EQ(L"1.9\n", r.Sortie);

  // The same program with its version resource taken out.
  TDossierTemporaire dossier;
  const std::wstring copie = dossier.Fichier(L"SansVersion.exe");
  std::filesystem::copy_file(CheminExecutable(), copie);
  RetirerRessourceVersion(copie);
  EXPECT_THROW(VersionFichier(copie), EOvalis);

  const auto sans = LancerProgrammeEnfant(L"VersionDuProgramme", L"", copie);
  EXPECT_EQ(1u, sans.CodeSortie) << VersUtf8(sans.Sortie);
  const std::wstring debut = L"Impossible de lire les informations de version du fichier ";
  EXPECT_EQ(debut, sans.Sortie.substr(0, debut.size())) << VersUtf8(sans.Sortie);
  EXPECT_NE(std::wstring::npos, sans.Sortie.find(L"SansVersion.exe\r\n")) << VersUtf8(sans.Sortie);
}
