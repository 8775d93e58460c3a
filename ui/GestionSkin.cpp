#include "ui/GestionSkin.h"

namespace norvel {

COLORREF TGestionSkin::GetCouleur(TypeCouleurSkin couleur) {
  switch (couleur) {
    case csFond:
      return GetSysColor(COLOR_BTNFACE);
    case csTexteErreur:
      return RGB(0xFF, 0x00, 0x00);
    case csLien:
      return RGB(0x14, 0x52, 0xD2);
    case csTexte:
    default:
      return GetSysColor(COLOR_BTNTEXT);
  }
}

}  // namespace norvel
