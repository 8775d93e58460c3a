#pragma once
// One installation at a time on a machine: a named mutex in the machine-wide namespace, seen
// by every session (SYSTEM's and the users'), held for the whole run. A Windows Installer setup
// at work (its "_MSIExecute" mutex) counts as another installation too, since the client's
// setup would have to wait for it.
#include "core/Handle.h"

namespace norvel {

inline constexpr const wchar_t* NomMutexInstallation = L"Global\\Ovalis.InstalleurNorvelPrimaire.Installation";
inline constexpr const wchar_t* NomMutexWindowsInstaller = L"Global\\_MSIExecute";

class TInstallationExclusive {
 public:
  // Tries to take the machine's installation; Obtenue() tells whether it was free.
  TInstallationExclusive();
  bool Obtenue() const { return FObtenue; }

 private:
  THandle FMutex;
  bool FObtenue = false;
};

}  // namespace norvel
