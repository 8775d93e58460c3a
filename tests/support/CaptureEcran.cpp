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

void PhotographierFenetre(HWND fenetre, const std::wstring& dossier, const std::wstring& nom) {
  ShowWindow(fenetre, SW_SHOWNA);
  RedrawWindow(fenetre, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  const ULONGLONG fin = GetTickCount64() + 300;
  while (GetTickCount64() < fin) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    Sleep(10);
  }
  const std::wstring chemin = FichierBuild(dossier);
  std::filesystem::create_directories(chemin);
  CaptureFenetre(fenetre, chemin + L"\\" + nom + L".png");
}

void ChangerEchelle(HWND fenetre, UINT depuis, UINT vers) {
  RECT place{};
  GetWindowRect(fenetre, &place);
  const auto echelle = [&](LONG taille) { return MulDiv(taille, static_cast<int>(vers), static_cast<int>(depuis)); };
  RECT proposee{place.left, place.top, place.left + echelle(place.right - place.left),
                place.top + echelle(place.bottom - place.top)};
  SendMessageW(fenetre, WM_DPICHANGED, MAKEWPARAM(vers, vers), reinterpret_cast<LPARAM>(&proposee));
}

}  // namespace norvel::test
