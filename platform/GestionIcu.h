#pragma once
// Locale-aware string comparison as a service. The program never asks for the ICU library:
// the system's own comparison for the user's locale serves.
#include <string_view>

#include "core/ObjetInterfacable.h"

namespace norvel {

struct IGestionIcu : IUnknown {
  // <0, 0, >0 as the user's locale orders the two texts.
  virtual int Comparer(std::wstring_view a, std::wstring_view b, bool sansCasse) = 0;
  // Whether the comparisons go through ICU rather than the system.
  virtual bool ParIcu() = 0;
};

}  // namespace norvel

NORVEL_GUID(norvel::IGestionIcu, 0x44B5EEF8, 0xE09E, 0x4EC9, 0xBE, 0xFB, 0xD4, 0xF2, 0x2B, 0xDC, 0x7F, 0xA6)

namespace norvel {

class TGestionIcu : public TImplemente<TObjetInterfacable, IGestionIcu> {
 public:
  int Comparer(std::wstring_view a, std::wstring_view b, bool sansCasse) override;
  bool ParIcu() override { return false; }
};

}  // namespace norvel
