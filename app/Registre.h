#pragma once
// Small registry helpers for string values.
#include <windows.h>

#include <optional>
#include <string>

namespace norvel {

// A string value (REG_SZ, or REG_EXPAND_SZ left unexpanded); none when the key or the value is
// missing or cannot be read. The key is opened for reading only: nothing is created.
std::optional<std::wstring> LireChaineRegistre(HKEY racine, const std::wstring& cle, const std::wstring& nomValeur);

// Writes a REG_SZ value, creating the key when missing. Answers false when the key can be
// neither opened nor created; raises the generic system error when the write itself fails.
bool EcrireChaineRegistre(HKEY racine, const std::wstring& cle, const std::wstring& nomValeur,
                          const std::wstring& valeur);

}  // namespace norvel
