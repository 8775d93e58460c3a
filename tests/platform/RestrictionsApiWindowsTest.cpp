#include <gtest/gtest.h>

#include <windows.h>

#include "core/Chaines.h"
#include "platform/RestrictionsApiWindows.h"

using namespace norvel;

namespace {

// The flags of a record, in declaration order, as a string of 0 and 1 (the user-agent text aside).
std::string Drapeaux(const TypeRestrictionsApiWindows& r) {
  const bool valeurs[] = {r.Definies, r.UrlEscapeAnsi, r.SansPreferencesLinguistiquesSysteme,
                          r.SansPreferencesLinguistiquesUtilisateur, r.SansPreferencesLinguistiquesProcessus,
                          r.UtiliserVersionsTLSDuSysteme, r.WinhttpSansSupportTls1_3,
                          r.ParamProxyWinhttpSelonPlateforme, r.SansThemeZoneNCFenetres,
                          r.SansSupportITaskBarList234, r.SansSupportHttpApi, r.SansSupportSni,
                          r.SansSupportDragImageList, r.ServicesSansConsole, r.TactilePartiel,
                          r.BitmapScalerNonSupporte, r.SpellCheckerFactoryNonRecense, r.SpellCheckerFactoryErreurCOM,
                          r.SansSupportPseudoHandlesBCrypt, r.SansBCryptHash, r.SansSupportCngOuverturePfx,
                          r.SansSupportPropEtenduesOuverturePfx, r.SansSupportCertificatEcc,
                          r.SansSupportCertificatClientHttp, r.PeutCorrigerVersionWindows, r.SansGDIPlus,
                          r.OuvertureFichierAvecWineBrowser, r.SansMasterkeyDPAPI};
  std::string s;
  for (bool v : valeurs) s += v ? '1' : '0';
  return s;
}

TypeDescriptionPlateforme Windows(int version, unsigned build) {
  TypeDescriptionPlateforme p;
  p.VersionWindows = version;
  p.Build = build;
  return p;
}

}  // namespace

// Positions:                  Definies, UrlEscapeAnsi, PrefSys, PrefUtil, PrefProc, TlsSysteme, SansTls13,
// ProxySelonPlateforme, ThemeNC, TaskBar, HttpApi, Sni, DragImageList, ServicesSansConsole, Tactile,
// BitmapScaler, SpellNonRecense, SpellErreurCOM, PseudoHandlesBCrypt, BCryptHash, CngPfx, PropEtenduesPfx,
// Ecc, CertificatClient, CorrigerVersion, GDIPlus, WineBrowser, MasterkeyDPAPI.
TEST(RestrictionsApiWindows, WineBranch) {
  TypeDescriptionPlateforme hoteLinux;
  hoteLinux.SousWine = true;
  hoteLinux.SystemeHoteWine = L"Linux";
  hoteLinux.VersionWindows = 100;
  hoteLinux.Build = 19045;
  const auto r = RestrictionsSelonPlateforme(hoteLinux);
  EXPECT_EQ("1111110011100001101011111111", Drapeaux(r));
  EXPECT_EQ(L"WINE", r.InformationsComplementairesUserAgent);

  hoteLinux.SystemeHoteWine = L"Darwin";
  EXPECT_EQ("1111110011101101101011111111", Drapeaux(RestrictionsSelonPlateforme(hoteLinux)));
}

TEST(RestrictionsApiWindows, NativeWindowsByVersion) {
  struct Cas {
    int version;
    unsigned build;
    const char* drapeaux;
  };
  const Cas cas[] = {
      {61, 7601, "1100001100010010001110000000"},   // Windows 7
      {62, 9200, "1000001000000000001110000000"},   // Windows 8
      {63, 9600, "1000001000000000001110000000"},   // Windows 8.1
      {100, 18361, "1000001000000000000000000000"}, // Windows 10 before TLS 1.3 in WinHTTP
      {100, 18362, "1000000000000000000000000000"},
      {110, 100, "1000000000000000000000000000"},   // later versions, whatever their build
      {0, 0, "1100001100010010001110000000"},      // version unknown
  };
  for (const auto& c : cas) {
    const auto r = RestrictionsSelonPlateforme(Windows(c.version, c.build));
    EXPECT_EQ(c.drapeaux, Drapeaux(r)) << c.version << " build " << c.build;
    EXPECT_EQ(L"", r.InformationsComplementairesUserAgent);
  }
  auto sansLangues = Windows(100, 19045);
  sansLangues.AvecGetSystemPreferredUILanguages = false;
  sansLangues.AvecSetProcessPreferredUILanguages = false;
  EXPECT_EQ("1010100000000000000000000000", Drapeaux(RestrictionsSelonPlateforme(sansLangues)));
}

// The description of the platform these tests run on, whatever it is: Wine is told by another
// of its own exports than the one the program looks for, and only Wine names a host system.
TEST(RestrictionsApiWindows, ThisPlatformAsTheSystemDescribesIt) {
  const auto plateforme = DescriptionPlateforme();
  const bool wine = GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
  EXPECT_EQ(wine, plateforme.SousWine);
  EXPECT_EQ(wine, !plateforme.SystemeHoteWine.empty()) << VersUtf8(plateforme.SystemeHoteWine);
  EXPECT_GE(plateforme.VersionWindows, 60);

  DefinirRestrictionsApiWindows();
  const TypeRestrictionsApiWindows premier = RestrictionsApiWindows();
  EXPECT_EQ(Drapeaux(RestrictionsSelonPlateforme(plateforme)), Drapeaux(premier));
  EXPECT_EQ(wine ? L"WINE" : L"", premier.InformationsComplementairesUserAgent);
  DefinirRestrictionsApiWindows();
  EXPECT_EQ(Drapeaux(premier), Drapeaux(RestrictionsApiWindows()));
}
