#pragma once
// The look and feel of the program's windows: the colours of a colour set. The assistant uses
// one fixed set.
#include <windows.h>

#include <cstdint>

#include "core/ObjetInterfacable.h"

namespace norvel {

enum TypeCouleurSkin : uint8_t {
  csFond,         // window background
  csTexte,        // ordinary text
  csTexteErreur,  // error messages
  csLien,         // links
};

struct IGestionSkin : IUnknown {
  virtual COLORREF GetCouleur(TypeCouleurSkin couleur) = 0;
};

}  // namespace norvel

NORVEL_GUID(norvel::IGestionSkin, 0x963E875E, 0x9014, 0x4F46, 0x8E, 0x76, 0xBC, 0x03, 0x0F, 0xBE, 0x1F, 0x9A)

namespace norvel {

class TGestionSkin : public TImplemente<TObjetInterfacable, IGestionSkin> {
 public:
  COLORREF GetCouleur(TypeCouleurSkin couleur) override;
};

}  // namespace norvel
