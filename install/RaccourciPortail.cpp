#include "install/RaccourciPortail.h"

#include <windows.h>
#include <objidl.h>
#include <shlobj.h>

#include "platform/Chemins.h"
#include "platform/Executable.h"
#include "platform/FichiersPartages.h"
#include "platform/Registre.h"
#include "core/Chaines.h"
#include "core/Com.h"
#include "core/ErreurSysteme.h"
#include "core/Exceptions.h"
#include "core/Format.h"
#include "core/Handle.h"
#include "core/Messages.h"

namespace norvel {

namespace {

constexpr const wchar_t* CleDossiersShell = L"Software\\MicroSoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr const wchar_t* VariableBureauHote = L"BUREAU_HOTE";
constexpr const wchar_t* ProgrammeCompagnon = L"SetIconeWebloc";

std::wstring VariableEnvironnement(const wchar_t* nom) {
  std::wstring valeur(256, L'\0');
  for (;;) {
    const DWORD longueur = GetEnvironmentVariableW(nom, valeur.data(), static_cast<DWORD>(valeur.size()));
    if (longueur < valeur.size()) {
      valeur.resize(longueur);
      return valeur;
    }
    valeur.resize(longueur);
  }
}

// The host desktop's companion: started and left to itself, neither waited for nor checked.
void LancerCompagnon(const std::wstring& dossierWebloc, const std::wstring& nomFichier, const std::wstring& bureauHote) {
  const std::wstring programme = dossierWebloc + L"\\" + ProgrammeCompagnon;
  std::wstring ligne = L"\"" + nomFichier + L"\" Portail.icns " + bureauHote;
  STARTUPINFOW demarrage{};
  demarrage.cb = sizeof(demarrage);
  PROCESS_INFORMATION infos{};
  if (!CreateProcessW(programme.c_str(), ligne.data(), nullptr, nullptr, FALSE, CREATE_NEW_CONSOLE, nullptr,
                      dossierWebloc.c_str(), &demarrage, &infos))
    throw ErreurSysteme(L"CreateProcess");
  THandle processus(infos.hProcess);
  THandle thread(infos.hThread);
}

}  // namespace

std::wstring DossierBureau() {
  return LireChaineRegistre(HKEY_CURRENT_USER, CleDossiersShell, L"Desktop").value_or(std::wstring());
}

std::wstring NomFichierRaccourci(std::wstring_view ANom, std::wstring_view AExtension) {
  std::wstring nom = std::wstring(ANom) + std::wstring(AExtension);
  const auto separateur = nom.find_last_of(L"\\/:");
  return separateur == std::wstring::npos ? nom : nom.substr(separateur + 1);
}

std::wstring EchapperXml(std::wstring_view ATexte, bool AEchapperGuillemets) {
  std::wstring resultat;
  resultat.reserve(ATexte.size());
  for (wchar_t c : ATexte) {
    switch (c) {
      case L'&': resultat += L"&amp;"; break;
      case L'<': resultat += L"&lt;"; break;
      case L'>': resultat += L"&gt;"; break;
      case L'"':
        if (AEchapperGuillemets) {
          resultat += L"&quot;";
          break;
        }
        [[fallthrough]];
      default: resultat += c;
    }
  }
  return resultat;
}

std::string ContenuWebloc(std::wstring_view AUrl) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" \"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
         "<plist version=\"1.0\">\n"
         "  <dict>\n"
         "    <key>URL</key>\n"
         "    <string>" + VersUtf8(EchapperXml(AUrl)) + "</string>\n"
         "  </dict>\n"
         "</plist>";
}

void CreerRaccourciBureau(const std::wstring& ANom, const std::wstring& ACible, const std::wstring& AArguments,
                          bool ARemplacer, const std::wstring& ADossierTravail, const std::wstring& ADescription,
                          const std::wstring& AFichierIcone) {
  auto lien = CreerInstanceCom<IShellLinkW>(CLSID_ShellLink);
  VerifierHResult(lien->SetPath(ACible.c_str()), L"IShellLink.SetPath");
  VerifierHResult(lien->SetArguments(AArguments.c_str()), L"IShellLink.SetArguments");
  VerifierHResult(lien->SetIconLocation(AFichierIcone.c_str(), 0), L"IShellLink.SetIconLocation");
  VerifierHResult(lien->SetDescription(ADescription.c_str()), L"IShellLink.SetDescription");
  VerifierHResult(lien->SetWorkingDirectory(ADossierTravail.c_str()), L"IShellLink.SetWorkingDirectory");

  // A missing desktop folder or a failed save leaves the user without a shortcut: reported,
  // never shown as a success.
  const std::wstring bureau = DossierBureau();
  if (bureau.empty())
    throw ErreurSystemeCode(ERROR_FILE_NOT_FOUND, Msg::ErreurInterne, L"RegQueryValueEx Shell Folders\\Desktop");
  const std::wstring chemin = bureau + L"\\" + NomFichierRaccourci(ANom, L".lnk");
  if (!ARemplacer && FichierExiste(chemin)) return;

  auto fichier = lien.Demander<IPersistFile>();
  if (!fichier) VerifierHResult(E_NOINTERFACE, L"IShellLink.QueryInterface(IPersistFile)");
  VerifierHResult(fichier->Save(chemin.c_str(), FALSE), L"IPersistFile.Save");
}

TypeResultatRaccourciPortail CreerRaccourciPortail(const std::wstring& ANomEcole, const std::wstring& AUrlPortail,
                                                   const std::wstring& AFichierIconePortail) {
  TypeResultatRaccourciPortail resultat;
  try {
    const std::wstring nom = Format(Msg::NomRaccourciPortail, {ANomEcole});
    const std::wstring dossierWebloc = AvecBarreFinale(DossierDe(CheminExecutable())) + L"webloc";
    const std::wstring bureauHote = VariableEnvironnement(VariableBureauHote);
    if (DossierExiste(dossierWebloc) && !bureauHote.empty()) {
      const std::wstring nomFichier = NomFichierRaccourci(nom, L".webloc");
      EcrireFichierParRemplacement(dossierWebloc + L"\\" + nomFichier, ContenuWebloc(AUrlPortail));
      LancerCompagnon(dossierWebloc, nomFichier, bureauHote);
    } else {
      CreerRaccourciBureau(nom, AUrlPortail, L"", true, L"", Format(Msg::DescriptionRaccourciPortail, {ANomEcole}),
                           AFichierIconePortail);
    }
  } catch (const std::exception& e) {
    resultat.Succes = false;
    resultat.Message = MessageDe(e);
  } catch (...) {
    resultat.Succes = false;
    resultat.Message = Msg::ErreurNonPrecisee;
  }
  return resultat;
}

}  // namespace norvel
