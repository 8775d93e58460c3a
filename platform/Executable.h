#pragma once
// Facts about the running program that several parts need, computed once per process.
#include <string>

#include "platform/IInformationApplication.h"
#include "platform/Version.h"

namespace norvel {

// The platform this program is built for: the one place that decides it.
inline constexpr TypePlateformeCompilation PlateformeCompilation =
#ifdef _WIN64
    TypePlateformeCompilation::Bits64;
#else
    TypePlateformeCompilation::Bits32;
#endif

// Full path of the running executable, as the system names the module (never truncated).
std::wstring CheminExecutable();

// The running executable's own file version; raises when it has no version resource.
const TypeVersion& VersionExecutable();

// True when this 32-bit process runs on 64-bit Windows; false when the system cannot say.
bool ProcessusSousWow64();
// True on 64-bit Windows, whether this process is itself 64-bit or runs under WOW64.
bool SystemeWindows64Bits();

}  // namespace norvel
