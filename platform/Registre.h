#pragma once
// Small registry helpers for string values.
#include <windows.h>

#include <optional>
#include <string>

#include "core/Handle.h"

namespace norvel {

// A string value (REG_SZ, or REG_EXPAND_SZ left unexpanded); none when the key or the value is
// missing or cannot be read. The key is opened for reading only: nothing is created.
// vue: KEY_WOW64_64KEY or KEY_WOW64_32KEY to pick a view of the registry, 0 for the process's own.
std::optional<std::wstring> LireChaineRegistre(HKEY racine, const std::wstring& cle, const std::wstring& nomValeur,
                                               REGSAM vue = 0);

// Opens a key for writing values, creating it when missing; an empty handle when that is refused
// (for instance a machine-wide key without administrator rights).
TCleRegistre CreerCleRegistre(HKEY racine, const std::wstring& cle, REGSAM vue = 0);

// Writes a REG_SZ value in an open key; raises the generic system error when the write fails.
void EcrireValeurChaineRegistre(HKEY cleOuverte, const std::wstring& nomValeur, const std::wstring& valeur);

// Writes a REG_SZ value, creating the key when missing. Answers false when the key can be
// neither opened nor created; raises the generic system error when the write itself fails.
bool EcrireChaineRegistre(HKEY racine, const std::wstring& cle, const std::wstring& nomValeur,
                          const std::wstring& valeur);

// A registry key reached as a base path under a root key, opened with a fixed access mask (and
// registry view, when the mask holds one); one key open at a time.
class TOvRegistry {
 public:
  explicit TOvRegistry(REGSAM AAcces = KEY_ALL_ACCESS, HKEY ARootKey = HKEY_CURRENT_USER);

  // Closes the current key; changes the root when ARootKey is given; opens ABase (a trailing
  // separator added), creating it. Raises the generic system error when that is refused.
  void SetBase(const std::wstring& ABase, HKEY ARootKey = nullptr);
  // The same without creating: false when the key cannot be opened (absent, or refused).
  bool SetBaseSiExiste(const std::wstring& ABase, HKEY ARootKey = nullptr);
  // A REG_SZ value of the open key.
  void SetKey(const std::wstring& AKey, const std::wstring& AValue);
  // A text value of the open key; an absent value reads as empty. A value of another type
  // raises "Type de données incorrect pour '<name>'".
  std::wstring GetKey(const std::wstring& AKey);

 private:
  HKEY CleOuverte() const;
  static std::wstring AvecSeparateur(const std::wstring& ABase);

  REGSAM FAcces;
  HKEY FRootKey;
  TCleRegistre FCle;
};

}  // namespace norvel
