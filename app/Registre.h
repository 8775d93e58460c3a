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

}  // namespace norvel
