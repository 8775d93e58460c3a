#include "app/FichiersPartages.h"

#include <windows.h>

#include <algorithm>

#include "app/Chemins.h"
#include "core/ErreurSysteme.h"
#include "core/Format.h"
#include "core/Handle.h"

namespace norvel {

namespace {

constexpr wchar_t kMarqueTemporaire[] = L".~ecriture-";

void EcrireTout(HANDLE fichier, std::string_view contenu) {
  while (!contenu.empty()) {
    const DWORD morceau = static_cast<DWORD>(std::min<size_t>(contenu.size(), 1u << 24));
    DWORD ecrits = 0;
    VerifierWin32(WriteFile(fichier, contenu.data(), morceau, &ecrits, nullptr), L"WriteFile");
    contenu.remove_prefix(ecrits);
  }
}

// Temporary files of writers that died: nobody else writes this file now, they are stale.
void SupprimerTemporairesAbandonnes(const std::wstring& chemin) {
  const std::wstring dossier = DossierDe(chemin);
  WIN32_FIND_DATAW trouve;
  TRechercheFichiers recherche(FindFirstFileW((chemin + kMarqueTemporaire + L"*").c_str(), &trouve));
  if (!recherche) return;
  do {
    DeleteFileW(TPath::Make(dossier, trouve.cFileName, false).c_str());
  } while (FindNextFileW(recherche.Get(), &trouve));
}

}  // namespace

void EcrireFichierParRemplacement(const std::wstring& chemin, std::string_view contenu) {
  SupprimerTemporairesAbandonnes(chemin);
  const std::wstring temporaire = chemin + kMarqueTemporaire +
                                  Format(L"%x-%x.tmp", {GetCurrentProcessId(), GetTickCount()});
  {
    THandleFichier fichier(CreateFileW(temporaire.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!fichier) throw ErreurSysteme(L"CreateFile");
    try {
      EcrireTout(fichier.Get(), contenu);
      // The new content must be on disk before it takes the old one's place.
      VerifierWin32(FlushFileBuffers(fichier.Get()), L"FlushFileBuffers");
    } catch (...) {
      fichier.Reinitialiser();
      DeleteFileW(temporaire.c_str());
      throw;
    }
  }
  // ReplaceFile keeps the security and attributes that an administrator gave the shared file.
  BOOL remplace = FichierExiste(chemin) &&
                  ReplaceFileW(chemin.c_str(), temporaire.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr,
                               nullptr);
  const wchar_t* appel = L"ReplaceFile";
  if (!remplace && !FichierExiste(chemin)) {
    remplace = MoveFileExW(temporaire.c_str(), chemin.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    appel = L"MoveFileEx";
  }
  if (!remplace) {
    const DWORD erreur = GetLastError();
    DeleteFileW(temporaire.c_str());
    SetLastError(erreur);
    throw ErreurSysteme(appel);
  }
}

std::string LireFichierPartage(const std::wstring& chemin, int tentatives) {
  THandleFichier fichier;
  for (int tentative = 1;; ++tentative) {
    fichier = THandleFichier(CreateFileW(chemin.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                         FILE_ATTRIBUTE_NORMAL, nullptr));
    if (fichier) break;
    if (tentative >= tentatives) throw ErreurSysteme(L"CreateFile");
    Sleep(100);
  }
  LARGE_INTEGER taille{};
  VerifierWin32(GetFileSizeEx(fichier.Get(), &taille), L"GetFileSizeEx");
  std::string contenu(static_cast<size_t>(taille.QuadPart), '\0');
  size_t lus = 0;
  while (lus < contenu.size()) {
    DWORD morceau = 0;
    VerifierWin32(ReadFile(fichier.Get(), contenu.data() + lus,
                           static_cast<DWORD>(std::min<size_t>(contenu.size() - lus, 1u << 24)), &morceau, nullptr),
                  L"ReadFile");
    if (morceau == 0) break;
    lus += morceau;
  }
  contenu.resize(lus);
  return contenu;
}

uint64_t DateModificationFichier(const std::wstring& chemin) {
  WIN32_FILE_ATTRIBUTE_DATA attributs;
  if (!GetFileAttributesExW(chemin.c_str(), GetFileExInfoStandard, &attributs)) return 0;
  if (attributs.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return 0;
  return (static_cast<uint64_t>(attributs.ftLastWriteTime.dwHighDateTime) << 32) |
         attributs.ftLastWriteTime.dwLowDateTime;
}

}  // namespace norvel
