// A child program for the process launcher's tests. Runs its arguments as a small script:
//   code <n>                          exit code at the end (0 by default)
//   ecrire <out|err> <cp> <n> <texte> writes the text n times, encoded in code page cp
//   attendre <ms>                     sleeps
//   dossier                           writes its current folder to standard output, in UTF-8
//   lancer <arguments...>             starts itself with the rest of the arguments, the new
//                                     program inheriting these standard streams, and ends
//                                     without waiting for it
//   ignorer-suite                     the rest of the command line is not read (the options a
//                                     caller appends, as to an uninstaller)
//   lire-entree                       reads its standard input to its end, then writes
//                                     "lu <bytes>" to standard output
//   variable <nom>                    writes the value of an environment variable (UTF-8), or
//                                     "(absente)"
//   pid <fichier>                     writes its process id in decimal into the file
#include <windows.h>

#include <cstdlib>
#include <string>

#include "core/Chaines.h"
#include "tools/commun/LancementHeritant.h"

namespace {

void Ecrire(const std::wstring& flux, UINT codePage, int repetitions, const std::wstring& texte) {
  const HANDLE sortie = GetStdHandle(flux == L"err" ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
  const std::string octets = norvel::VersCodePage(texte, codePage);
  std::string tout;
  for (int i = 0; i < repetitions; ++i) tout += octets;
  // One write for everything: the reader then meets reads cut at its own buffer size.
  DWORD ecrits = 0;
  WriteFile(sortie, tout.data(), static_cast<DWORD>(tout.size()), &ecrits, nullptr);
}

std::wstring Citer(const std::wstring& argument) {
  return argument.find_first_of(L" \t\"") == std::wstring::npos && !argument.empty() ? argument
                                                                                    : L"\"" + argument + L"\"";
}

void Lancer(int argc, wchar_t** argv, int debut) {
  wchar_t chemin[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, chemin, MAX_PATH);
  std::wstring ligne = Citer(chemin);
  for (int i = debut; i < argc; ++i) ligne += L" " + Citer(argv[i]);
  try {
    norvel::outils::LancerAvecSortiesHeritees(std::move(ligne));
  } catch (const std::exception&) {
    ExitProcess(100);
  }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  int code = 0;
  for (int i = 1; i < argc; ++i) {
    const std::wstring commande = argv[i];
    if (commande == L"code" && i + 1 < argc) {
      code = _wtoi(argv[++i]);
    } else if (commande == L"ecrire" && i + 4 < argc) {
      Ecrire(argv[i + 1], static_cast<UINT>(_wtoi(argv[i + 2])), _wtoi(argv[i + 3]), argv[i + 4]);
      i += 4;
    } else if (commande == L"attendre" && i + 1 < argc) {
      Sleep(static_cast<DWORD>(_wtoi(argv[++i])));
    } else if (commande == L"dossier") {
      wchar_t dossier[MAX_PATH] = {};
      GetCurrentDirectoryW(MAX_PATH, dossier);
      Ecrire(L"out", CP_UTF8, 1, dossier);
    } else if (commande == L"lire-entree") {
      char tampon[4096];
      DWORD lus = 0, total = 0;
      while (ReadFile(GetStdHandle(STD_INPUT_HANDLE), tampon, sizeof tampon, &lus, nullptr) && lus > 0) total += lus;
      Ecrire(L"out", CP_UTF8, 1, L"lu " + std::to_wstring(total));
    } else if (commande == L"variable" && i + 1 < argc) {
      wchar_t valeur[4096];
      const DWORD n = GetEnvironmentVariableW(argv[++i], valeur, 4096);
      Ecrire(L"out", CP_UTF8, 1, n > 0 && n < 4096 ? std::wstring(valeur, n) : L"(absente)");
    } else if (commande == L"pid" && i + 1 < argc) {
      const std::string texte = std::to_string(GetCurrentProcessId());
      const HANDLE fichier = CreateFileW(argv[++i], GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, 0, nullptr);
      DWORD ecrits = 0;
      WriteFile(fichier, texte.data(), static_cast<DWORD>(texte.size()), &ecrits, nullptr);
      CloseHandle(fichier);
    } else if (commande == L"ignorer-suite") {
      break;
    } else if (commande == L"lancer") {
      Lancer(argc, argv, i + 1);
      break;
    } else {
      return 99;  // a test that passes a wrong script must not pass by chance
    }
  }
  return code;
}
