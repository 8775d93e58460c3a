#pragma once
// The school lookup through the maker's hosting-information web service: one HTTPS GET of
// "<endpoint>/<identifier>?plateforme=<code>" with the environment's API key, answered by the
// school's record in JSON or by a problem whose title explains what is wrong.
#include "platform/Attente.h"
#include "platform/IInformationApplication.h"
#include "core/ObjetInterfacable.h"
#include "httpconfig/IConfigClientsHttp.h"
#include "school/InfosHebNP.h"

namespace norvel {

class TApiRecuperationInfosHebNP : public TImplemente<TObjetInterfacable, IApiRecuperationInfosHebNP> {
 public:
  // The request goes through the sessions service's session that follows the current HTTP
  // configuration (proxy included) and waits through AAttente, so that on the user-interface
  // thread the window stays alive.
  TApiRecuperationInfosHebNP(TypeEnvironnementDeploiement AEnvironnementDeploiement, TRef<IAttente> AAttente,
                             TRef<ISessionsClientsHttp> ASessionsHttp);

  void RecupererInfosHeb(const std::wstring& AIdentifiant, const std::wstring& APlateforme,
                         TypeInfosHebNP& AInfos) override;

 private:
  TypeEnvironnementDeploiement FEnvironnementDeploiement;
  TRef<IAttente> FAttente;
  TRef<ISessionsClientsHttp> FSessionsHttp;
};

}  // namespace norvel
