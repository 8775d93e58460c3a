#pragma once
// GUIDs as values: compared, hashed and written in their usual text form.
#include <windows.h>

#include <cstddef>
#include <cstring>
#include <string>

namespace norvel {

// Usable in static_assert, unlike the system's operator==.
constexpr bool MemesGuid(const GUID& a, const GUID& b) {
  if (a.Data1 != b.Data1 || a.Data2 != b.Data2 || a.Data3 != b.Data3) return false;
  for (int i = 0; i < 8; ++i)
    if (a.Data4[i] != b.Data4[i]) return false;
  return true;
}

struct THachageGuid {
  std::size_t operator()(const GUID& guid) const noexcept {
    // A GUID is already well spread: folding its two halves is enough.
    unsigned long long moities[2];
    std::memcpy(moities, &guid, sizeof moities);
    return static_cast<std::size_t>(moities[0] ^ (moities[1] * 0x9E3779B97F4A7C15ull));
  }
};

struct TEgaliteGuid {
  bool operator()(const GUID& a, const GUID& b) const noexcept { return MemesGuid(a, b); }
};

// "{97D44588-E77B-4674-AF7C-41BC63C241CF}": upper-case digits grouped 8-4-4-4-12 between braces.
std::wstring TexteGuid(const GUID& guid);

}  // namespace norvel
