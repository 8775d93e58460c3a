#pragma once
// What the platform under the program cannot do, worked out once at start-up and read by the
// HTTP, cryptographic and window code to take the road that works there.
#include <string>

namespace norvel {

struct TypeRestrictionsApiWindows {
  bool Definies = false;
  bool UrlEscapeAnsi = false;
  bool SansPreferencesLinguistiquesSysteme = false;
  bool SansPreferencesLinguistiquesUtilisateur = false;
  bool SansPreferencesLinguistiquesProcessus = false;
  bool UtiliserVersionsTLSDuSysteme = false;
  bool WinhttpSansSupportTls1_3 = false;
  bool ParamProxyWinhttpSelonPlateforme = false;
  std::wstring InformationsComplementairesUserAgent;
  bool SansThemeZoneNCFenetres = false;
  bool SansSupportITaskBarList234 = false;
  bool SansSupportHttpApi = false;
  bool SansSupportSni = false;
  bool SansSupportDragImageList = false;
  bool ServicesSansConsole = false;
  bool TactilePartiel = false;
  bool BitmapScalerNonSupporte = false;
  bool SpellCheckerFactoryNonRecense = false;
  bool SpellCheckerFactoryErreurCOM = false;
  bool SansSupportPseudoHandlesBCrypt = false;
  bool SansBCryptHash = false;
  bool SansSupportCngOuverturePfx = false;
  bool SansSupportPropEtenduesOuverturePfx = false;
  bool SansSupportCertificatEcc = false;
  bool SansSupportCertificatClientHttp = false;
  bool PeutCorrigerVersionWindows = false;
  bool SansGDIPlus = false;
  bool OuvertureFichierAvecWineBrowser = false;
  bool SansMasterkeyDPAPI = false;
};

// What the restrictions are decided from.
struct TypeDescriptionPlateforme {
  int VersionWindows = 0;  // major * 10 + minor, as reported to the process; 0 when unknown
  unsigned Build = 0;
  bool SousWine = false;
  std::wstring SystemeHoteWine;  // "Linux", "Darwin"...
  bool AvecGetSystemPreferredUILanguages = true;
  bool AvecGetUserPreferredUILanguages = true;
  bool AvecSetProcessPreferredUILanguages = true;
};

// The platform this process runs on, asked from the system.
TypeDescriptionPlateforme DescriptionPlateforme();
// The restrictions of a platform (Definies set).
TypeRestrictionsApiWindows RestrictionsSelonPlateforme(const TypeDescriptionPlateforme& plateforme);

// The process-wide record: all false until computed.
const TypeRestrictionsApiWindows& RestrictionsApiWindows();
// Computes the process-wide record; later calls do nothing. Called by the application object's
// construction, on the main thread, before any worker thread exists.
void DefinirRestrictionsApiWindows();

}  // namespace norvel
