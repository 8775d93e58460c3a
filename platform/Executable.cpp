#include "platform/Executable.h"

#include <windows.h>

#include "core/ErreurSysteme.h"

namespace norvel {

std::wstring CheminExecutable() {
  // Grow the buffer rather than cut a long path: the path names registry values and folders.
  std::wstring chemin(MAX_PATH + 1, L'\0');
  for (;;) {
    const DWORD longueur = GetModuleFileNameW(nullptr, chemin.data(), static_cast<DWORD>(chemin.size()));
    if (longueur == 0) throw ErreurSysteme(L"GetModuleFileName");
    if (longueur < chemin.size()) {
      chemin.resize(longueur);
      return chemin;
    }
    chemin.resize(chemin.size() * 2);
  }
}

const TypeVersion& VersionExecutable() {
  // A failed first read leaves the static unset: the next caller raises the same error.
  static const TypeVersion version = VersionFichier(CheminExecutable());
  return version;
}

bool ProcessusSousWow64() {
  static const bool sousWow64 = [] {
    BOOL wow64 = FALSE;
    return IsWow64Process(GetCurrentProcess(), &wow64) && wow64;
  }();
  return sousWow64;
}

bool SystemeWindows64Bits() { return PlateformeCompilation != TypePlateformeCompilation::Bits32 || ProcessusSousWow64(); }

}  // namespace norvel
