#include "platform/GestionIcu.h"

#include <windows.h>

#include "core/Chaines.h"

namespace norvel {

int TGestionIcu::Comparer(std::wstring_view a, std::wstring_view b, bool sansCasse) {
  if (sansCasse) return ComparerTexteSansCasse(a, b);
  const int resultat = CompareStringEx(LOCALE_NAME_USER_DEFAULT, 0, a.data(), static_cast<int>(a.size()), b.data(),
                                       static_cast<int>(b.size()), nullptr, nullptr, 0);
  return resultat == 0 ? 0 : resultat - CSTR_EQUAL;
}

}  // namespace norvel
