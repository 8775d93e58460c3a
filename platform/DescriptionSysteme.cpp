#include "platform/DescriptionSysteme.h"

#include <windows.h>

#include "core/Chaines.h"
#include "core/Format.h"
#include "core/Messages.h"
#include "platform/Executable.h"
#include "platform/SessionUtilisateur.h"

namespace norvel {

namespace {

using TypeRtlGetVersion = LONG(WINAPI*)(OSVERSIONINFOW*);
using TypeWineGetVersion = const char*(CDECL*)();

}  // namespace

std::wstring DescriptionSysteme() {
  OSVERSIONINFOW version{sizeof version};
  const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  // Asked of the kernel itself: GetVersionEx answers what the manifest declares.
  if (const auto rtlGetVersion = reinterpret_cast<TypeRtlGetVersion>(
          reinterpret_cast<void*>(ntdll ? GetProcAddress(ntdll, "RtlGetVersion") : nullptr)))
    rtlGetVersion(&version);
  std::wstring wine;
  if (const auto wineGetVersion = reinterpret_cast<TypeWineGetVersion>(
          reinterpret_cast<void*>(ntdll ? GetProcAddress(ntdll, "wine_get_version") : nullptr)))
    wine = Format(Msg::JournalSousWine, {DepuisUtf8(wineGetVersion())});
  const TypeIdentiteSession identite = IdentiteSessionCourante();
  return Format(Msg::JournalWindows, {static_cast<unsigned long>(version.dwMajorVersion),
                                      static_cast<unsigned long>(version.dwMinorVersion),
                                      static_cast<unsigned long>(version.dwBuildNumber), wine,
                                      PlateformeCompilation == TypePlateformeCompilation::Bits64 ? L"64 bits" : L"32 bits",
                                      identite.Session, identite.CompteSysteme ? Msg::JournalCompteSysteme : L""});
}

}  // namespace norvel
