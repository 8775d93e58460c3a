#include "dialogs/SessionsClientsHttpAppGraphiqueFmx.h"

#include "dialogs/DemandeInfoAuthProxy.h"

namespace norvel {

bool TSessionsClientsHttpAppGraphiqueFmx::DemanderInfoAuthProxy(const std::wstring& AProxy,
                                                                TypeInfoAuthHttp& AInfoAuth) {
  return DemanderInfoAuthProxyGraphique(AProxy, AInfoAuth);
}

TRef<TSessionsClientsHttp> TSessionsClientsHttpAppGraphiqueFmx::NouveauDuplicata(
    const TypeOrigineDuplicata& AOrigine) {
  return NouvelObjet<TSessionsClientsHttpAppGraphiqueFmx>(AOrigine);
}

}  // namespace norvel
