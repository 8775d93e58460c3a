#include "install/RessourceFichier.h"

#include "platform/FichiersPartages.h"
#include "core/Ressources.h"

namespace norvel {

void EcrireRessourceDansFichier(const std::wstring& nom, const std::wstring& chemin, HMODULE module) {
  EcrireFichierParRemplacement(chemin, DonneesRessource(nom, module));
}

}  // namespace norvel
