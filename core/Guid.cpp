#include "core/Guid.h"

#include <cwchar>

namespace norvel {

std::wstring TexteGuid(const GUID& guid) {
  wchar_t tampon[40];
  swprintf(tampon, 40, L"{%08lX-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
           static_cast<unsigned long>(guid.Data1), guid.Data2, guid.Data3, guid.Data4[0], guid.Data4[1],
           guid.Data4[2], guid.Data4[3], guid.Data4[4], guid.Data4[5], guid.Data4[6], guid.Data4[7]);
  return tampon;
}

}  // namespace norvel
