#include "platform/FichiersPartages.h"

#include <windows.h>
#include <aclapi.h>

#include <algorithm>

#include "platform/Chemins.h"
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

// The replacement keeps the access rights and attributes an administrator gave the shared file.
// Best effort: without them the new file has the folder's inherited rights, as a first write does.
void RecopierSecuriteEtAttributs(const std::wstring& source, const std::wstring& destination) {
  PACL dacl = nullptr;
  PSECURITY_DESCRIPTOR descripteur = nullptr;
  if (GetNamedSecurityInfoW(source.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &dacl,
                            nullptr, &descripteur) == ERROR_SUCCESS) {
    SECURITY_DESCRIPTOR_CONTROL controle = 0;
    DWORD revision = 0;
    const bool protege = GetSecurityDescriptorControl(descripteur, &controle, &revision) &&
                         (controle & SE_DACL_PROTECTED) != 0;
    SetNamedSecurityInfoW(const_cast<wchar_t*>(destination.c_str()), SE_FILE_OBJECT,
                          DACL_SECURITY_INFORMATION |
                              (protege ? PROTECTED_DACL_SECURITY_INFORMATION : UNPROTECTED_DACL_SECURITY_INFORMATION),
                          nullptr, nullptr, dacl, nullptr);
    LocalFree(descripteur);
  }
  const DWORD attributs = GetFileAttributesW(source.c_str());
  if (attributs != INVALID_FILE_ATTRIBUTES)
    SetFileAttributesW(destination.c_str(), attributs & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                                         FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED));
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
  // A single rename puts the new content in place: readers see the old file or the new one, never
  // none (ReplaceFile is not one step everywhere: it may move the old file aside first).
  if (FichierExiste(chemin)) RecopierSecuriteEtAttributs(chemin, temporaire);
  if (!MoveFileExW(temporaire.c_str(), chemin.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    const DWORD erreur = GetLastError();
    DeleteFileW(temporaire.c_str());
    SetLastError(erreur);
    throw ErreurSysteme(L"MoveFileEx");
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
