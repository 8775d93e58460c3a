#include "support/CaptureEcran.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/Chaines.h"
#include "core/Handle.h"
#include "support/CheminsTest.h"

namespace norvel::test {

namespace {

// Wine starts a Linux program without a handle to wait on: done when the file has appeared and
// stopped growing.
void Importer(const std::wstring& options, const std::wstring& fichier) {
  DeleteFileW(fichier.c_str());
  std::wstring ligne =
      L"\"Z:\\usr\\bin\\import\" " + options + L" \"" + CheminLinuxDepuisWindows(fichier) + L"\"";
  STARTUPINFOW demarrage{sizeof(demarrage)};
  PROCESS_INFORMATION processus{};
  ASSERT_TRUE(CreateProcessW(nullptr, ligne.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &demarrage,
                             &processus))
      << "ImageMagick (import) absent : scripts/setup l'installe";
  const THandle thread(processus.hThread), process(processus.hProcess);
  uintmax_t taille = 0;
  for (int i = 0; i < 200; ++i) {
    Sleep(100);
    std::error_code erreur;
    const uintmax_t actuelle = std::filesystem::file_size(fichier, erreur);
    if (!erreur && actuelle > 0 && actuelle == taille) return;
    if (!erreur) taille = actuelle;
  }
  ADD_FAILURE() << "pas de capture d'écran " << VersUtf8(fichier);
}

}  // namespace

void CaptureEcran(const std::wstring& fichier) { Importer(L"-window root", fichier); }

void CaptureFenetre(HWND fenetre, const std::wstring& fichier) {
  // The client area: without a window manager the frame is never drawn.
  RECT place{};
  ASSERT_TRUE(GetClientRect(fenetre, &place));
  MapWindowPoints(fenetre, nullptr, reinterpret_cast<POINT*>(&place), 2);
  Importer(L"-window root -crop " + std::to_wstring(place.right - place.left) + L"x" +
               std::to_wstring(place.bottom - place.top) + L"+" + std::to_wstring(place.left) + L"+" +
               std::to_wstring(place.top) + L" +repage",
           fichier);
}

}  // namespace norvel::test
