#pragma once
// The desktop of the shortcut tests: this process's HKEY_CURRENT_USER redirected to a private
// key that names a desktop folder of the test, and shell links read back through the shell.
#include <windows.h>
#include <objidl.h>
#include <shlobj.h>

#include <cstdio>
#include <string>

#include "platform/RestrictionsApiWindows.h"
#include "core/Com.h"
#include "support/RegistreIsole.h"

namespace norvel::test {

inline constexpr const wchar_t* CleDossiersShell = L"Software\\MicroSoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

// The user's real settings stay untouched; no desktop folder when `bureau` is empty.
class TBureauIsole {
 public:
  explicit TBureauIsole(const std::wstring& bureau) {
    if (!bureau.empty()) FRegistre.EcrireChaine(CleDossiersShell, L"Desktop", bureau);
  }

 private:
  TRegistreIsole FRegistre{HKEY_CURRENT_USER};
};

struct TLienLu {
  std::wstring Cible, Arguments, DossierTravail, Description, FichierIcone;
  int IndexIcone = -1;
};

inline TLienLu LireLien(const std::wstring& chemin) {
  auto lien = CreerInstanceCom<IShellLinkW>(CLSID_ShellLink);
  auto fichier = lien.Demander<IPersistFile>();
  VerifierHResult(fichier->Load(chemin.c_str(), STGM_READ), L"IPersistFile.Load");
  TLienLu lu;
  wchar_t tampon[INFOTIPSIZE];
  VerifierHResult(lien->GetPath(tampon, std::size(tampon), nullptr, SLGP_RAWPATH), L"GetPath");
  lu.Cible = tampon;
  VerifierHResult(lien->GetArguments(tampon, std::size(tampon)), L"GetArguments");
  lu.Arguments = tampon;
  VerifierHResult(lien->GetWorkingDirectory(tampon, std::size(tampon)), L"GetWorkingDirectory");
  lu.DossierTravail = tampon;
  VerifierHResult(lien->GetDescription(tampon, std::size(tampon)), L"GetDescription");
  lu.Description = tampon;
  VerifierHResult(lien->GetIconLocation(tampon, std::size(tampon), &lu.IndexIcone), L"GetIconLocation");
  lu.FichierIcone = tampon;
  return lu;
}

// Wine's shell link takes any target for a file path and stores it made absolute against the
// current folder; Windows keeps a URL as it is.
inline std::wstring CibleAttendue(const std::wstring& url) {
  if (!DescriptionPlateforme().SousWine) return url;
  std::wstring complet(4096, L'\0');
  complet.resize(GetFullPathNameW(url.c_str(), static_cast<DWORD>(complet.size()), complet.data(), nullptr));
  return complet;
}

inline void SignalerCibleSousWine() {
  if (DescriptionPlateforme().SousWine)
    std::printf("Under Wine a shell link's URL target is read back as Wine's file path for it "
                "(IShellLinkW::SetPath does not keep URLs there)\n");
}

}  // namespace norvel::test
