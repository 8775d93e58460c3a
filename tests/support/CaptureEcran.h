#pragma once
// Screenshots for the GUI tests, taken by ImageMagick's import from the X display Wine draws on:
// the whole screen, or the client area of one window (screen coordinates are the display's).
#include <windows.h>

#include <string>

namespace norvel::test {

// PNG file; a failure of the test when import is missing or writes nothing.
void CaptureEcran(const std::wstring& fichier);
void CaptureFenetre(HWND fenetre, const std::wstring& fichier);

}  // namespace norvel::test
