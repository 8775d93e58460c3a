// Removal of earlier client versions: the uninstall command found under the two roots of the
// list of installed programs, one uninstaller run and how its end is judged, and the removal of
// every installed catalogue version by the real stand-in uninstaller.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "core/Chaines.h"
#include "core/Exceptions.h"
#include "core/Format.h"
#include "install/CatalogueProduits.h"
#include "install/ClientTemoin.h"
#include "install/DesinstallationVersions.h"
#include "support/CheminsTest.h"
#include "support/EnvironnementTest.h"
#include "support/RegistreIsole.h"

using namespace norvel;
using namespace norvel::test;

namespace {

const std::wstring Racine64 = RacinesDesinstallation[0];
const std::wstring Racine32 = RacinesDesinstallation[1];

// An uninstall command running the test program's script (the options appended to it ignored).
std::wstring ProcessusTest(const std::wstring& script) {
  return L"\"" + FichierBuild(L"tools\\processus_test.exe") + L"\" " + script + L" ignorer-suite";
}

std::wstring Message(const std::function<void()>& action) {
  try {
    action();
  } catch (const EOvalis& e) {
    return e.Message();
  }
  return L"(aucune erreur)";
}

// The catalogue version of that millesime and platform.
const TypeVersionCatalogue& Version(const std::wstring& millesime, const std::wstring& plateforme) {
  static const std::vector<TypeVersionCatalogue> catalogue = CatalogueProduits();
  for (const auto& v : catalogue)
    if (v.Millesime == millesime && v.Plateforme == plateforme) return v;
  throw std::runtime_error("version absente du catalogue");
}

}  // namespace

TEST(CommandeDesinstallation, FirstRootThatHoldsTheVersion) {
  TRegistreIsole machine(HKEY_LOCAL_MACHINE);
  machine.EcrireChaine(Racine64 + L"{DEUX}", L"UninstallString", L"\"C:\\Programmes\\a.exe\" -x");
  machine.EcrireChaine(Racine32 + L"{DEUX}", L"UninstallString", L"b.exe");
  machine.EcrireChaine(Racine32 + L"{TRENTE-DEUX}", L"UninstallString", L"b.exe");
  machine.EcrireChaine(Racine64 + L"{ESPACES}", L"UninstallString", L"c.exe   ");
  machine.EcrireChaine(Racine64 + L"{SANS-VALEUR}", L"DisplayName", L"d");
  TOvRegistry registre(KEY_READ, HKEY_LOCAL_MACHINE);

  struct Cas {
    const wchar_t* identifiant;
    std::optional<std::wstring> commande;
  };
  const Cas cas[] = {
      {L"{DEUX}", L"\"C:\\Programmes\\a.exe\" -x -clone_wait -hide_progress -hide_splash"},
      {L"{TRENTE-DEUX}", L"b.exe -clone_wait -hide_progress -hide_splash"},
      // The command's own spaces stay; one more comes before the options.
      {L"{ESPACES}", L"c.exe    -clone_wait -hide_progress -hide_splash"},
      {L"{SANS-VALEUR}", L" -clone_wait -hide_progress -hide_splash"},
      {L"{ABSENT}", std::nullopt},
  };
  for (const auto& c : cas) EXPECT_EQ(CommandeDesinstallation(registre, c.identifiant), c.commande) << VersUtf8(c.identifiant);

  HKEY cle = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, (Racine64 + L"{NOMBRE}").c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                            &cle, nullptr),
            ERROR_SUCCESS);
  const DWORD nombre = 1;
  RegSetValueExW(cle, L"UninstallString", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&nombre), sizeof nombre);
  RegCloseKey(cle);
  EXPECT_EQ(Message([&] { CommandeDesinstallation(registre, L"{NOMBRE}"); }),
            L"Type de données incorrect pour 'UninstallString'");
}

TEST(DesinstallerVersion, ExitCodeAndErrorOutputJudgeTheRemoval) {
  TVariableEnvironnement avant(L"OVALIS_IS_UNINSTALL", nullptr);
  struct Cas {
    std::wstring commande;
    std::wstring erreur;  // empty: success
  };
  const Cas cas[] = {
      {ProcessusTest(L"code 0"), L""},
      {ProcessusTest(L"code 3010"), L""},
      {ProcessusTest(L"ecrire out 850 1 fini"), L""},
      {ProcessusTest(L"code 3"), L"Erreur code=3 \"\""},
      {ProcessusTest(L"code 1603 ecrire err 850 1 \"Échec de la désinstallation\""),
       L"Erreur code=1603 \"Échec de la désinstallation\""},
      // Anything on the error output fails the removal, whatever the code.
      {ProcessusTest(L"code 3010 ecrire err 850 1 avertissement"), L"Erreur code=3010 \"avertissement\""},
  };
  TSequenceurLancementExecutable sequenceur;
  for (const auto& c : cas) {
    SCOPED_TRACE(VersUtf8(c.commande));
    EXPECT_EQ(Message([&] { DesinstallerVersion(sequenceur, c.commande); }), c.erreur.empty() ? L"(aucune erreur)" : c.erreur);
  }
  // Given to the uninstallers and kept for the programs that follow, in their own environment:
  // the program's own is left alone.
  EXPECT_EQ(sequenceur.Variables().at(L"OVALIS_IS_UNINSTALL"), L"1");
  wchar_t valeur[8] = {};
  EXPECT_EQ(GetEnvironmentVariableW(L"OVALIS_IS_UNINSTALL", valeur, 8), 0u);

  const std::wstring absent = Message([&] { DesinstallerVersion(sequenceur, L"\"C:\\absent\\desinstaller.exe\" -x"); });
  EXPECT_TRUE(CommencePar(absent, L"Erreur interne (CreateProcess, 0x00000002) : ")) << VersUtf8(absent);
}

TEST(DesinstallerAnciennesVersions, FirstFailureStopsTheRemovals) {
  TRegistreIsole machine(HKEY_LOCAL_MACHINE);
  // 2020 is under both roots: only the first one's command runs (the second would fail).
  machine.EcrireChaine(Racine64 + Version(L"2020", L"Win32").Guid, L"UninstallString", ProcessusTest(L"code 0"));
  machine.EcrireChaine(Racine32 + Version(L"2020", L"Win32").Guid, L"UninstallString", ProcessusTest(L"code 7"));
  machine.EcrireChaine(Racine64 + Version(L"2021", L"Win64").Guid, L"UninstallString", ProcessusTest(L"code 5"));
  machine.EcrireChaine(Racine32 + Version(L"2022", L"Win32").Guid, L"UninstallString", ProcessusTest(L"code 0"));
  // Another kind of identifier: not looked for by an ordinary school.
  machine.EcrireChaine(Racine64 + Version(L"2020", L"Win64").Simu, L"UninstallString", ProcessusTest(L"code 9"));
  TOvRegistry registre(KEY_READ, HKEY_LOCAL_MACHINE);
  TSequenceurLancementExecutable sequenceur;
  std::vector<std::wstring> noms;
  const auto noter = [&](const std::wstring& nom) { noms.push_back(nom); };

  EXPECT_EQ(Message([&] { DesinstallerAnciennesVersions(false, registre, sequenceur, noter); }), L"Erreur code=5 \"\"");
  EXPECT_EQ(noms, (std::vector<std::wstring>{L"Client NORVEL Primaire 2020 (Win32)", L"Client NORVEL Primaire 2021 (Win64)"}));
}

// The real stand-in uninstaller, on the prefix's own list of installed programs.
TEST(DesinstallerAnciennesVersions, InstalledVersionsRemovedInCatalogueOrderByKind) {
  const TCopiesSetup v2024(L"setup-signe"), v2022(L"setup-signe-win32"), simu2023(L"setup-signe-simu");
  const TCopiesSetup* copies[] = {&v2024, &v2022, &simu2023};
  TDossierTemporaire dossier;
  for (const TCopiesSetup* c : copies) {
    EffacerInstallation(c->Cle);
    const TypeRetourExecutable retour = InstallerCopie(c->Setup(L"ovalis"), dossier.Fichier(c->Identifiant));
    ASSERT_EQ(retour.CodeRetour, 0u) << VersUtf8(retour.SortieErr);
  }
  TOvRegistry registre(KEY_READ, HKEY_LOCAL_MACHINE);
  TSequenceurLancementExecutable sequenceur;
  std::vector<std::wstring> noms;
  const auto noter = [&](const std::wstring& nom) { noms.push_back(nom); };

  // A simulation school removes only the simulation versions.
  DesinstallerAnciennesVersions(true, registre, sequenceur, noter);
  EXPECT_EQ(noms, std::vector<std::wstring>{L"Client NORVEL Primaire 2023 (Win64)"});
  EXPECT_FALSE(UninstallString(simu2023.Cle).has_value());
  EXPECT_FALSE(std::filesystem::exists(dossier.Fichier(simu2023.Identifiant)));
  EXPECT_TRUE(UninstallString(v2022.Cle).has_value());
  EXPECT_TRUE(UninstallString(v2024.Cle).has_value());

  // An ordinary school: the others, in catalogue order whatever the order they came in.
  noms.clear();
  DesinstallerAnciennesVersions(false, registre, sequenceur, noter);
  EXPECT_EQ(noms, (std::vector<std::wstring>{L"Client NORVEL Primaire 2022 (Win32)", L"Client NORVEL Primaire 2024 (Win64)"}));
  for (const TCopiesSetup* c : copies) {
    EXPECT_FALSE(UninstallString(c->Cle).has_value()) << VersUtf8(c->Cle);
    EXPECT_FALSE(std::filesystem::exists(dossier.Fichier(c->Identifiant))) << VersUtf8(c->Identifiant);
  }

  // Nothing left: nothing to do.
  noms.clear();
  DesinstallerAnciennesVersions(false, registre, sequenceur, noter);
  EXPECT_TRUE(noms.empty());
}
