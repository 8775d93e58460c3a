#pragma once
// Raw-data (RCDATA) resources embedded in the program: images, icon files, the product catalogue.
#include <windows.h>

#include <string>
#include <string_view>

namespace norvel {

// The bytes of a raw-data resource of a module (the running program by default), valid as long
// as the module stays loaded. Raises the generic system error when the resource is missing.
std::string_view DonneesRessource(const std::wstring& nom, HMODULE module = nullptr);

}  // namespace norvel
