#pragma once
// A top-level window of the program as the main loop knows it: the loop owns the forms it
// creates and gives the dialog-box keys (Tab, arrows, Enter) to every window of this kind.
#include <windows.h>

#include "platform/FenetreObjet.h"

namespace norvel {

class TFenetreProgramme : public TFenetreObjet {
 public:
  // True for the window of any form of the program: its window class is the one declared.
  static bool EstFenetreProgramme(HWND fenetre);

 protected:
  // The window class of the program's forms, declared once registered.
  static void DeclarerClasse(ATOM classe);
};

}  // namespace norvel
