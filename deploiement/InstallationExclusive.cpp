#include "deploiement/InstallationExclusive.h"

namespace norvel {

TInstallationExclusive::TInstallationExclusive() {
  {
    const THandle installateur(OpenMutexW(SYNCHRONIZE, FALSE, NomMutexWindowsInstaller));
    if (installateur) return;
  }
  FMutex.Reinitialiser(CreateMutexW(nullptr, FALSE, NomMutexInstallation));
  // Access denied: it exists already, made by another account (SYSTEM's run seen by a user's).
  if (!FMutex || GetLastError() == ERROR_ALREADY_EXISTS) {
    FMutex.Reinitialiser();
    return;
  }
  FObtenue = true;
}

}  // namespace norvel
