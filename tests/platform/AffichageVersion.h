#pragma once
// Versions shown as [1, 9] in test failures.
#include <ostream>

#include "platform/Version.h"

namespace norvel {

inline void PrintTo(const TypeVersion& version, std::ostream* flux) {
  *flux << '[';
  for (size_t i = 0; i < version.Numeros.size(); ++i) *flux << (i ? ", " : "") << version.Numeros[i];
  *flux << ']';
}

}  // namespace norvel
