#pragma once
// Screenshots for the GUI tests, taken by ImageMagick's import from the X display Wine draws on:
// the whole screen, or the client area of one window (screen coordinates are the display's).
#include <windows.h>

#include <string>

namespace norvel::test {

// PNG file; a failure of the test when import is missing or writes nothing.
void CaptureEcran(const std::wstring& fichier);
void CaptureFenetre(HWND fenetre, const std::wstring& fichier);
// Shows the window without activating it, lets it paint, and takes its client area into
// build/<dossier>/<nom>.png.
void PhotographierFenetre(HWND fenetre, const std::wstring& dossier, const std::wstring& nom);

// Tells the window that its display's scale went from `depuis` to `vers` dots per inch, with
// the place the system would propose: the same top-left corner, the size scaled. (Wine's
// display keeps one scale: the change is told to the window as the system would tell it.)
void ChangerEchelle(HWND fenetre, UINT depuis, UINT vers);

}  // namespace norvel::test
