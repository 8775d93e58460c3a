#pragma once
// A raw-data resource of the program saved as a file of its own (the portal shortcut's icon).
#include <windows.h>

#include <string>

namespace norvel {

// Writes the resource to the file, replacing any existing one in one step (a reader never sees
// half of it). Raises the generic system error when the resource is missing or the write fails.
void EcrireRessourceDansFichier(const std::wstring& nom, const std::wstring& chemin, HMODULE module = nullptr);

}  // namespace norvel
