#pragma once
// What the user reads of a window: every shown text whole in its control.
#include <windows.h>

namespace norvel::test {

// Every shown text of the window's controls fits its control, measured as the system draws
// it: a left-aligned static control that is not centred vertically wraps its text, which its
// height must hold at its width; any other control keeps its text on one line, which its width
// and height must hold (buttons and check boxes with room around it). Edit boxes are left out.
void ExigerTextesEntiers(HWND fenetre);

}  // namespace norvel::test
