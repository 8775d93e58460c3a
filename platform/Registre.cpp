#include "platform/Registre.h"

#include "core/ErreurSysteme.h"
#include "core/Format.h"
#include "core/Messages.h"
#include "core/Handle.h"

namespace norvel {

namespace {

// A text value of an open key: ERROR_SUCCESS, ERROR_FILE_NOT_FOUND when the value is absent,
// ERROR_UNSUPPORTED_TYPE when it holds another type, or the read's own error.
LSTATUS LireValeurTexte(HKEY cle, const std::wstring& nomValeur, std::wstring& valeur) {
  constexpr DWORD Types = RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND;
  DWORD taille = 0;
  // The value may grow between the two calls: ask again while it does.
  for (;;) {
    if (const LSTATUS code = RegGetValueW(cle, nullptr, nomValeur.c_str(), Types, nullptr, nullptr, &taille);
        code != ERROR_SUCCESS)
      return code;
    valeur.assign(taille / sizeof(wchar_t) + 1, L'\0');
    taille = static_cast<DWORD>(valeur.size() * sizeof(wchar_t));
    const LSTATUS code = RegGetValueW(cle, nullptr, nomValeur.c_str(), Types, nullptr, valeur.data(), &taille);
    if (code == ERROR_MORE_DATA) continue;
    if (code != ERROR_SUCCESS) return code;
    valeur.resize(wcsnlen(valeur.c_str(), valeur.size()));
    return ERROR_SUCCESS;
  }
}

}  // namespace

std::optional<std::wstring> LireChaineRegistre(HKEY racine, const std::wstring& cle, const std::wstring& nomValeur,
                                               REGSAM vue) {
  TCleRegistre ouverte;
  if (RegOpenKeyExW(racine, cle.c_str(), 0, KEY_QUERY_VALUE | vue, ouverte.Adresse()) != ERROR_SUCCESS)
    return std::nullopt;
  std::wstring valeur;
  if (LireValeurTexte(ouverte.Get(), nomValeur, valeur) != ERROR_SUCCESS) return std::nullopt;
  return valeur;
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

TOvRegistry::TOvRegistry(REGSAM AAcces, HKEY ARootKey) : FAcces(AAcces), FRootKey(ARootKey) {}

void TOvRegistry::SetBase(const std::wstring& ABase, HKEY ARootKey) {
  FCle.Reinitialiser();
  if (ARootKey) FRootKey = ARootKey;
  VerifierCode(RegCreateKeyExW(FRootKey, AvecSeparateur(ABase).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, FAcces,
                               nullptr, FCle.Adresse(), nullptr),
               L"RegCreateKeyEx " + ABase);
}

bool TOvRegistry::SetBaseSiExiste(const std::wstring& ABase, HKEY ARootKey) {
  FCle.Reinitialiser();
  if (ARootKey) FRootKey = ARootKey;
  if (RegOpenKeyExW(FRootKey, AvecSeparateur(ABase).c_str(), 0, FAcces, FCle.Adresse()) == ERROR_SUCCESS) return true;
  FCle.Liberer();
  return false;
}

void TOvRegistry::SetKey(const std::wstring& AKey, const std::wstring& AValue) {
  EcrireValeurChaineRegistre(CleOuverte(), AKey, AValue);
}

std::wstring TOvRegistry::GetKey(const std::wstring& AKey) {
  std::wstring valeur;
  switch (const LSTATUS code = LireValeurTexte(CleOuverte(), AKey, valeur)) {
    case ERROR_SUCCESS: return valeur;
    case ERROR_FILE_NOT_FOUND: return {};
    case ERROR_UNSUPPORTED_TYPE: throw EOvalis(Format(Msg::TypeDonneesRegistreIncorrect, {AKey}));
    default: VerifierCode(code, L"RegGetValue " + AKey); return {};
  }
}

HKEY TOvRegistry::CleOuverte() const {
  if (!FCle) throw ErreurSystemeCode(ERROR_INVALID_HANDLE, Msg::ErreurInterne, L"TOvRegistry");
  return FCle.Get();
}

std::wstring TOvRegistry::AvecSeparateur(const std::wstring& ABase) {
  return ABase.empty() || ABase.back() == L'\\' ? ABase : ABase + L'\\';
}

}  // namespace norvel
