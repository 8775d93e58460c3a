// One installation at a time on the machine: a second run, in another process, finds the
// first; a Windows Installer setup at work counts as one.
#include <gtest/gtest.h>
#include <windows.h>

#include <optional>

#include "deploiement/InstallationExclusive.h"
#include "support/ProcessusEnfant.h"

using namespace norvel;
using namespace norvel::test;

NORVEL_PROGRAMME_ENFANT(InstallationExclusive) {
  const TInstallationExclusive installation;
  return installation.Obtenue() ? 0 : 1618;
}

TEST(InstallationExclusive, ASecondRunFindsTheFirstUntilItEnds) {
  std::optional<TInstallationExclusive> premiere(std::in_place);
  ASSERT_TRUE(premiere->Obtenue());
  EXPECT_EQ(LancerProgrammeEnfant(L"InstallationExclusive", L"").CodeSortie, 1618u);
  premiere.reset();
  EXPECT_EQ(LancerProgrammeEnfant(L"InstallationExclusive", L"").CodeSortie, 0u);
}

TEST(InstallationExclusive, AWindowsInstallerSetupAtWorkCounts) {
  const THandle installateur(CreateMutexW(nullptr, FALSE, NomMutexWindowsInstaller));
  ASSERT_TRUE(installateur);
  EXPECT_FALSE(TInstallationExclusive().Obtenue());
}
