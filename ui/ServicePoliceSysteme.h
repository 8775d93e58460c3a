#pragma once
// The program's forms share one font unless they set their own.
#include <string>

#include "platform/ApplicationGraphique.h"

namespace norvel {

// The platform's default font for every form that sets none of its own: Arial, 12.
class TFMXSystemFontServiceOv : public IServicePoliceSysteme {
 public:
  std::wstring GetDefaultFontFamilyName() override { return L"Arial"; }
  float GetDefaultFontSize() override { return 12; }
};

}  // namespace norvel
