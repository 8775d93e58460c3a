// Stand-in for a program that the assistant starts and does not wait for (the host desktop's
// companion, for one): records how it was started, so that a test can check the command line
// and the current folder. Writes, in UTF-8, one line each: the command line, then the current
// folder, to the file named by NORVEL_TEMOIN_FICHIER; under a temporary name first, so that a
// test polling for the file never reads half of it. A window-less program: a new console asked
// by the caller stays out of sight.
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "core/Chaines.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  wchar_t fichier[MAX_PATH * 4];
  const DWORD longueur = GetEnvironmentVariableW(L"NORVEL_TEMOIN_FICHIER", fichier, MAX_PATH * 4);
  if (longueur == 0 || longueur >= MAX_PATH * 4) return 2;
  const std::filesystem::path cible(fichier);
  auto provisoire = cible;
  provisoire += L".tmp";
  {
    std::ofstream sortie(provisoire, std::ios::binary);
    sortie << norvel::VersUtf8(GetCommandLineW()) << "\n"
           << norvel::VersUtf8(std::filesystem::current_path().wstring()) << "\n";
    if (!sortie.flush()) return 3;
  }
  std::error_code erreur;
  std::filesystem::rename(provisoire, cible, erreur);
  return erreur ? 4 : 0;
}
