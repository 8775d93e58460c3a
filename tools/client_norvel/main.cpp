// Stand-in of the installed NORVEL Primaire client, opened through the ".ncprim" association
// with the connection file as its only argument. It writes down which file it was given and
// what that file held (NomConnexionRecue, beside itself) and ends.
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "tools/client_commun/ClientCommun.h"

using namespace norvel;
using namespace norvel::client;

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  const auto arguments = Arguments();
  if (arguments.empty()) return 2;
  const std::wstring& fichier = arguments.front();
  std::ifstream entree(std::filesystem::path(fichier), std::ios::binary);
  if (!entree) return 3;
  const std::string contenu((std::istreambuf_iterator<char>(entree)), std::istreambuf_iterator<char>());

  // Written aside then renamed: a test waiting for the record never reads half of it.
  const std::wstring enregistrement = DossierDe(CheminDuProgramme()) + L"\\" + NomConnexionRecue;
  const std::wstring provisoire = enregistrement + L".tmp";
  {
    std::ofstream sortie(std::filesystem::path(provisoire), std::ios::binary | std::ios::trunc);
    sortie << VersUtf8(fichier) << "\r\n" << contenu;
    if (!sortie) return 4;
  }
  return MoveFileExW(provisoire.c_str(), enregistrement.c_str(), MOVEFILE_REPLACE_EXISTING) ? 0 : 5;
}
