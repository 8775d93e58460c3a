#include "core/Fichiers.h"

#include <windows.h>

#include <algorithm>

#include "core/ErreurSysteme.h"
#include "core/Handle.h"

namespace norvel {

void EcrireFichier(const std::wstring& chemin, std::string_view octets) {
  THandleFichier fichier(
      CreateFileW(chemin.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!fichier) throw ErreurSysteme(L"CreateFile");
  while (!octets.empty()) {
    const DWORD morceau = static_cast<DWORD>(std::min<size_t>(octets.size(), 1u << 20));
    DWORD ecrits = 0;
    if (!WriteFile(fichier.Get(), octets.data(), morceau, &ecrits, nullptr) || ecrits == 0) {
      auto erreur = ErreurSysteme(L"WriteFile");
      fichier.Reinitialiser();
      DeleteFileW(chemin.c_str());
      throw erreur;
    }
    octets.remove_prefix(ecrits);
  }
}

}  // namespace norvel
