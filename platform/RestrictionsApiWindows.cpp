#include "platform/RestrictionsApiWindows.h"

#include <windows.h>

#include "core/Chaines.h"

namespace norvel {

namespace {

TypeRestrictionsApiWindows& Restrictions() {
  static TypeRestrictionsApiWindows restrictions;
  return restrictions;
}

// Windows 8, Windows 10 and the Windows 10 build that brought TLS 1.3 to WinHTTP.
constexpr int Windows8 = 62;
constexpr int Windows10 = 100;
constexpr unsigned BuildTls1_3 = 18362;

}  // namespace

TypeDescriptionPlateforme DescriptionPlateforme() {
  TypeDescriptionPlateforme plateforme;
  OSVERSIONINFOEXW version{};
  version.dwOSVersionInfoSize = sizeof(version);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  // The version as reported to this process (its manifest decides), on purpose.
  const BOOL versionConnue = GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&version));
#pragma GCC diagnostic pop
  if (versionConnue) {
    plateforme.VersionWindows = static_cast<int>(version.dwMajorVersion * 10 + version.dwMinorVersion);
    plateforme.Build = version.dwBuildNumber;
  }
  if (HMODULE ntdll = GetModuleHandleW(L"ntdll.dll")) {
    using TypeWineGetHostVersion = void(CDECL*)(const char** systeme, const char** edition);
    if (auto wineGetHostVersion =
            reinterpret_cast<TypeWineGetHostVersion>(
                reinterpret_cast<void*>(GetProcAddress(ntdll, "wine_get_host_version")))) {
      plateforme.SousWine = true;
      const char* systeme = nullptr;
      const char* edition = nullptr;
      wineGetHostVersion(&systeme, &edition);
      if (systeme) plateforme.SystemeHoteWine = DepuisUtf8(systeme);
    }
  }
  if (HMODULE kernel32 = GetModuleHandleW(L"kernel32.dll")) {
    plateforme.AvecGetSystemPreferredUILanguages = GetProcAddress(kernel32, "GetSystemPreferredUILanguages") != nullptr;
    plateforme.AvecGetUserPreferredUILanguages = GetProcAddress(kernel32, "GetUserPreferredUILanguages") != nullptr;
    plateforme.AvecSetProcessPreferredUILanguages = GetProcAddress(kernel32, "SetProcessPreferredUILanguages") != nullptr;
  }
  return plateforme;
}

TypeRestrictionsApiWindows RestrictionsSelonPlateforme(const TypeDescriptionPlateforme& plateforme) {
  TypeRestrictionsApiWindows r;
  r.Definies = true;
  if (plateforme.SousWine) {
    r.UrlEscapeAnsi = true;
    r.UtiliserVersionsTLSDuSysteme = true;
    r.SansThemeZoneNCFenetres = true;
    r.SansSupportITaskBarList234 = true;
    r.SansSupportHttpApi = true;
    r.BitmapScalerNonSupporte = true;
    r.SpellCheckerFactoryNonRecense = true;
    r.SansGDIPlus = true;
    r.OuvertureFichierAvecWineBrowser = true;
    r.SansPreferencesLinguistiquesSysteme = true;
    r.SansPreferencesLinguistiquesUtilisateur = true;
    r.SansPreferencesLinguistiquesProcessus = true;
    r.SansSupportPseudoHandlesBCrypt = true;
    r.SansSupportCngOuverturePfx = true;
    r.SansSupportPropEtenduesOuverturePfx = true;
    r.SansSupportCertificatEcc = true;
    r.SansSupportCertificatClientHttp = true;
    r.PeutCorrigerVersionWindows = true;
    r.SansMasterkeyDPAPI = true;
    r.InformationsComplementairesUserAgent = L"WINE";
    if (plateforme.SystemeHoteWine == L"Darwin") {
      r.SansSupportDragImageList = true;
      r.ServicesSansConsole = true;
    }
    return r;
  }
  const int v = plateforme.VersionWindows;
  if (v < Windows8) {
    r.UrlEscapeAnsi = true;
    r.ParamProxyWinhttpSelonPlateforme = true;
    r.SansSupportSni = true;
    r.TactilePartiel = true;
  }
  r.WinhttpSansSupportTls1_3 = v < Windows10 || (v == Windows10 && plateforme.Build < BuildTls1_3);
  if (v < Windows10) {
    r.SansSupportPseudoHandlesBCrypt = true;
    r.SansBCryptHash = true;
    r.SansSupportCngOuverturePfx = true;
  }
  r.SansPreferencesLinguistiquesSysteme = !plateforme.AvecGetSystemPreferredUILanguages;
  r.SansPreferencesLinguistiquesUtilisateur = !plateforme.AvecGetUserPreferredUILanguages;
  r.SansPreferencesLinguistiquesProcessus = !plateforme.AvecSetProcessPreferredUILanguages;
  return r;
}

const TypeRestrictionsApiWindows& RestrictionsApiWindows() { return Restrictions(); }

void DefinirRestrictionsApiWindows() {
  if (Restrictions().Definies) return;
  Restrictions() = RestrictionsSelonPlateforme(DescriptionPlateforme());
}

}  // namespace norvel
