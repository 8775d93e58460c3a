#pragma once
// The scale of a window's display: sizes are given in pixels at 96 dots per inch and turned into
// the window's own pixels.
#include <windows.h>

namespace norvel {

struct TEchelle {
  UINT Ppp = USER_DEFAULT_SCREEN_DPI;
  int operator()(int valeur) const { return MulDiv(valeur, static_cast<int>(Ppp), USER_DEFAULT_SCREEN_DPI); }
  RECT operator()(const RECT& zone) const {
    return {(*this)(zone.left), (*this)(zone.top), (*this)(zone.right), (*this)(zone.bottom)};
  }
};

}  // namespace norvel
