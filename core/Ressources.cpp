#include "core/Ressources.h"

#include "core/ErreurSysteme.h"

namespace norvel {

std::string_view DonneesRessource(const std::wstring& nom, HMODULE module) {
  HRSRC ressource = VerifierPointeur(FindResourceW(module, nom.c_str(), RT_RCDATA), L"FindResource");
  HGLOBAL chargee = VerifierPointeur(LoadResource(module, ressource), L"LoadResource");
  const auto* debut = static_cast<const char*>(VerifierPointeur(LockResource(chargee), L"LockResource"));
  return {debut, SizeofResource(module, ressource)};
}

}  // namespace norvel
