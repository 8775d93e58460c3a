#pragma once
// Whole-file writes.
#include <string>
#include <string_view>

namespace norvel {

// Creates the file (replacing any existing one) and writes the bytes. Raises the generic system
// error naming the failed call; a file left half-written is removed.
void EcrireFichier(const std::wstring& chemin, std::string_view octets);

}  // namespace norvel
