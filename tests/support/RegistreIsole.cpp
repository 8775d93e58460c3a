#include "support/RegistreIsole.h"

#include <stdexcept>

namespace norvel::test {

namespace {
unsigned gCompteur = 0;
}

TRegistreIsole::TRegistreIsole(HKEY racine)
    : FRacine(racine),
      FChemin(L"Software\\NorvelTests\\Isole-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
              std::to_wstring(++gCompteur)) {
  RegDeleteTreeW(HKEY_CURRENT_USER, FChemin.c_str());
  if (RegCreateKeyExW(HKEY_CURRENT_USER, FChemin.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                      &FCle, nullptr) != ERROR_SUCCESS)
    throw std::runtime_error("RegCreateKeyEx (isolated root)");
  if (RegOverridePredefKey(FRacine, FCle) != ERROR_SUCCESS) {
    RegCloseKey(FCle);
    throw std::runtime_error("RegOverridePredefKey");
  }
}

TRegistreIsole::~TRegistreIsole() {
  RegOverridePredefKey(FRacine, nullptr);
  RegCloseKey(FCle);
  RegDeleteTreeW(HKEY_CURRENT_USER, FChemin.c_str());
}

void TRegistreIsole::EcrireChaine(const std::wstring& cle, const std::wstring& nom, const std::wstring& valeur) {
  HKEY ouverte = nullptr;
  if (RegCreateKeyExW(FRacine, cle.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE | KEY_WOW64_64KEY,
                      nullptr, &ouverte, nullptr) != ERROR_SUCCESS)
    throw std::runtime_error("RegCreateKeyEx");
  const LSTATUS code = RegSetValueExW(ouverte, nom.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(valeur.c_str()),
                                      static_cast<DWORD>((valeur.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(ouverte);
  if (code != ERROR_SUCCESS) throw std::runtime_error("RegSetValueEx");
}

std::optional<std::wstring> TRegistreIsole::LireChaine(const std::wstring& cle, const std::wstring& nom) {
  wchar_t tampon[2048];
  DWORD taille = sizeof(tampon);
  if (RegGetValueW(FRacine, cle.c_str(), nom.c_str(), RRF_RT_REG_SZ | RRF_SUBKEY_WOW6464KEY, nullptr, tampon,
                   &taille) != ERROR_SUCCESS)
    return std::nullopt;
  return std::wstring(tampon);
}

void TRegistreIsole::SupprimerValeur(const std::wstring& cle, const std::wstring& nom) {
  HKEY ouverte = nullptr;
  if (RegOpenKeyExW(FRacine, cle.c_str(), 0, KEY_SET_VALUE | KEY_WOW64_64KEY, &ouverte) != ERROR_SUCCESS) return;
  RegDeleteValueW(ouverte, nom.c_str());
  RegCloseKey(ouverte);
}

}  // namespace norvel::test
