#pragma once
// What the stand-in client setup, its uninstaller and the client share: the names of the
// installed files, the registry places they write, and how they report failures. Header-only:
// each program is one main.cpp that includes it.
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <string>
#include <string_view>
#include <vector>

#include "core/Chaines.h"
#include "core/ErreurSysteme.h"
#include "core/Handle.h"

namespace norvel::client {

inline constexpr const wchar_t* NomClient = L"ClientNorvelPrimaire.exe";
inline constexpr const wchar_t* NomDesinstalleur = L"DesinstallerNorvelPrimaire.exe";
// Where the client writes down the connection file it was opened with: its path on the first
// line (UTF-8, ended by CR LF), then the file's bytes unchanged.
inline constexpr const wchar_t* NomConnexionRecue = L"ConnexionRecue.txt";

inline constexpr const wchar_t* ExtensionConnexion = L".ncprim";
inline constexpr const wchar_t* ProgIdConnexion = L"NorvelPrimaire.Connexion";
inline constexpr const wchar_t* CleClasses = L"SOFTWARE\\Classes\\";
inline constexpr const wchar_t* CleDesinstallations = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

// The options the installation assistant gives every silent setup and removal.
inline constexpr const wchar_t* OptionSansProgression = L"-hide_progress";
inline constexpr const wchar_t* OptionSansEcranAccueil = L"-hide_splash";
inline constexpr const wchar_t* OptionAttenteClone = L"-clone_wait";

// Code of a failed installation or removal (ERROR_INSTALL_FAILURE).
inline constexpr int CodeEchec = 1603;

// A 32-bit version registers in the 32-bit view of the registry (WOW6432Node), as a 32-bit
// setup would.
inline REGSAM VuePlateforme(std::wstring_view plateforme) {
  return plateforme == L"Win32" ? KEY_WOW64_32KEY : KEY_WOW64_64KEY;
}

inline std::wstring CommandeOuverture(const std::wstring& dossier) {
  return L"\"" + dossier + L"\\" + NomClient + L"\" \"%1\"";
}

inline std::vector<std::wstring> Arguments() {
  int nombre = 0;
  wchar_t** liste = CommandLineToArgvW(GetCommandLineW(), &nombre);
  std::vector<std::wstring> arguments;
  for (int i = 1; liste && i < nombre; ++i) arguments.emplace_back(liste[i]);
  LocalFree(liste);
  return arguments;
}

inline bool AOption(const std::vector<std::wstring>& arguments, std::wstring_view option) {
  for (const auto& argument : arguments)
    if (MemeTexteSansCasse(argument, option)) return true;
  return false;
}

// The value following an option ("-identifiant {...}"), or empty.
inline std::wstring ValeurOption(const std::vector<std::wstring>& arguments, std::wstring_view option) {
  for (size_t i = 0; i + 1 < arguments.size(); ++i)
    if (MemeTexteSansCasse(arguments[i], option)) return arguments[i + 1];
  return {};
}

inline std::wstring Variable(const wchar_t* nom) {
  std::wstring valeur(GetEnvironmentVariableW(nom, nullptr, 0), L'\0');
  if (valeur.empty()) return {};
  valeur.resize(GetEnvironmentVariableW(nom, valeur.data(), static_cast<DWORD>(valeur.size())));
  return valeur;
}

inline std::wstring CheminDuProgramme() {
  std::wstring chemin(32768, L'\0');
  chemin.resize(GetModuleFileNameW(nullptr, chemin.data(), static_cast<DWORD>(chemin.size())));
  return chemin;
}

inline std::wstring DossierDe(const std::wstring& chemin) { return chemin.substr(0, chemin.find_last_of(L"\\/")); }

// Failures go to the standard error in code page 850, the page the assistant decodes it with.
inline void EcrireErreur(std::wstring_view texte) {
  const std::string octets = VersCodePage(std::wstring(texte) + L"\r\n", 850);
  DWORD ecrits = 0;
  WriteFile(GetStdHandle(STD_ERROR_HANDLE), octets.data(), static_cast<DWORD>(octets.size()), &ecrits, nullptr);
}

// ---- Registry, HKEY_LOCAL_MACHINE in an explicit view

inline void EcrireValeur(const std::wstring& cle, REGSAM vue, const wchar_t* nom, const std::wstring& valeur) {
  TCleRegistre h;
  VerifierCode(RegCreateKeyExW(HKEY_LOCAL_MACHINE, cle.c_str(), 0, nullptr, 0, KEY_SET_VALUE | vue, nullptr,
                               h.Adresse(), nullptr),
               L"RegCreateKeyEx");
  VerifierCode(RegSetValueExW(h.Get(), nom, 0, REG_SZ, reinterpret_cast<const BYTE*>(valeur.c_str()),
                              static_cast<DWORD>((valeur.size() + 1) * sizeof(wchar_t))),
               L"RegSetValueEx");
}

// A string value; empty when the key or the value is absent.
inline std::wstring LireValeur(const std::wstring& cle, REGSAM vue, const wchar_t* nom) {
  TCleRegistre h;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, cle.c_str(), 0, KEY_QUERY_VALUE | vue, h.Adresse()) != ERROR_SUCCESS) return {};
  wchar_t tampon[4096] = {};
  DWORD taille = sizeof(tampon) - sizeof(wchar_t);
  if (RegGetValueW(h.Get(), nullptr, nom, RRF_RT_REG_SZ, nullptr, tampon, &taille) != ERROR_SUCCESS) return {};
  return tampon;
}

// Removes a key with everything under it; an absent key is not an error.
inline void SupprimerCle(const std::wstring& cle, REGSAM vue) {
  TCleRegistre h;
  const LSTATUS ouverture = RegOpenKeyExW(HKEY_LOCAL_MACHINE, cle.c_str(), 0, KEY_ALL_ACCESS | vue, h.Adresse());
  if (ouverture == ERROR_FILE_NOT_FOUND) return;
  VerifierCode(ouverture, L"RegOpenKeyEx");
  VerifierCode(RegDeleteTreeW(h.Get(), nullptr), L"RegDeleteTree");
  h.Reinitialiser();
  VerifierCode(RegDeleteKeyExW(HKEY_LOCAL_MACHINE, cle.c_str(), vue, 0), L"RegDeleteKeyEx");
}

}  // namespace norvel::client
