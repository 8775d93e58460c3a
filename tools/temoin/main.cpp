// Stand-in for a program that the assistant starts and does not wait for (the host desktop's
// companion, for one): records how it was started, so that a test can check the command line
// and the current folder. Writes, in UTF-8, one line each: the command line, then the current
// folder, to the file named by NORVEL_TEMOIN_FICHIER (written whole at once, under a temporary
// name first, so a test polling for it never reads half of it). A window-less program: a new
// console asked by the caller stays out of sight.
#include <windows.h>

#include <string>

#include "core/Chaines.h"
#include "core/Fichiers.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  wchar_t fichier[MAX_PATH * 4];
  const DWORD longueur = GetEnvironmentVariableW(L"NORVEL_TEMOIN_FICHIER", fichier, MAX_PATH * 4);
  if (longueur == 0 || longueur >= MAX_PATH * 4) return 2;
  std::wstring dossier(MAX_PATH * 4, L'\0');
  dossier.resize(GetCurrentDirectoryW(static_cast<DWORD>(dossier.size()), dossier.data()));
  const std::string contenu = norvel::VersUtf8(GetCommandLineW()) + "\n" + norvel::VersUtf8(dossier) + "\n";
  const std::wstring provisoire = std::wstring(fichier) + L".tmp";
  try {
    norvel::EcrireFichier(provisoire, contenu);
  } catch (...) {
    return 3;
  }
  return MoveFileExW(provisoire.c_str(), fichier, MOVEFILE_REPLACE_EXISTING) ? 0 : 4;
}
