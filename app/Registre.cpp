#include "app/Registre.h"

#include "core/ErreurSysteme.h"
#include "core/Handle.h"

namespace norvel {

std::optional<std::wstring> LireChaineRegistre(HKEY racine, const std::wstring& cle, const std::wstring& nomValeur,
                                               REGSAM vue) {
  TCleRegistre ouverte;
  if (RegOpenKeyExW(racine, cle.c_str(), 0, KEY_QUERY_VALUE | vue, ouverte.Adresse()) != ERROR_SUCCESS)
    return std::nullopt;
  constexpr DWORD Types = RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND;
  DWORD taille = 0;
  // The value may grow between the two calls: ask again while it does.
  for (;;) {
    if (RegGetValueW(ouverte.Get(), nullptr, nomValeur.c_str(), Types, nullptr, nullptr, &taille) != ERROR_SUCCESS)
      return std::nullopt;
    std::wstring valeur(taille / sizeof(wchar_t) + 1, L'\0');
    taille = static_cast<DWORD>(valeur.size() * sizeof(wchar_t));
    const LSTATUS code = RegGetValueW(ouverte.Get(), nullptr, nomValeur.c_str(), Types, nullptr, valeur.data(), &taille);
    if (code == ERROR_MORE_DATA) continue;
    if (code != ERROR_SUCCESS) return std::nullopt;
    valeur.resize(wcsnlen(valeur.c_str(), valeur.size()));
    return valeur;
  }
}

TCleRegistre CreerCleRegistre(HKEY racine, const std::wstring& cle, REGSAM vue) {
  TCleRegistre ouverte;
  if (RegCreateKeyExW(racine, cle.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE | vue, nullptr,
                      ouverte.Adresse(), nullptr) != ERROR_SUCCESS)
    ouverte.Liberer();
  return ouverte;
}

void EcrireValeurChaineRegistre(HKEY cleOuverte, const std::wstring& nomValeur, const std::wstring& valeur) {
  VerifierCode(RegSetValueExW(cleOuverte, nomValeur.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(valeur.c_str()),
                              static_cast<DWORD>((valeur.size() + 1) * sizeof(wchar_t))),
               L"RegSetValueEx");
}

bool EcrireChaineRegistre(HKEY racine, const std::wstring& cle, const std::wstring& nomValeur,
                          const std::wstring& valeur) {
  const TCleRegistre ouverte = CreerCleRegistre(racine, cle);
  if (!ouverte) return false;
  EcrireValeurChaineRegistre(ouverte.Get(), nomValeur, valeur);
  return true;
}

}  // namespace norvel
