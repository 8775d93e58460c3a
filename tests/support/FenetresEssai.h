#pragma once
// Driving the program's modal boxes from a helper thread, as a user would.
#include <windows.h>

#include <chrono>
#include <string>

namespace norvel::essai {

// The first dialog box (class "#32770") of the given thread that shows up within the delay;
// null when none did.
HWND AttendreBoiteDialogue(DWORD idThread, std::chrono::milliseconds delai = std::chrono::seconds(5));
// Presses a button of a dialog box, by its command identifier (IDOK, IDYES, ...).
void CliquerBouton(HWND boite, int identifiant);
// The control of the window, at any depth, that has this identifier; null when none has.
HWND ControleParIdentifiant(HWND fenetre, int identifiant);
// The texts a dialog box shows in its static controls, joined by line breaks.
std::wstring TexteBoiteDialogue(HWND boite);

}  // namespace norvel::essai
