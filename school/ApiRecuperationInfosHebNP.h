#pragma once
// The school lookup through the maker's hosting-information web service: one HTTPS GET of
// "<endpoint>/<identifier>?plateforme=<code>" with the environment's API key, answered by the
// school's record in JSON or by a problem whose title explains what is wrong.
#include <cstdint>

#include "platform/Attente.h"
#include "platform/IInformationApplication.h"
#include "core/ObjetInterfacable.h"
#include "httpconfig/IConfigClientsHttp.h"
#include "school/InfosHebNP.h"

namespace norvel {

// The longest a lookup may take, whole answer included: the record is a few hundred bytes, and
// a proxy or server that sends it a byte now and then would hold step 2 for hours.
inline constexpr uint32_t DelaiMaxRecuperationInfosHeb = 60000;

class TApiRecuperationInfosHebNP : public TImplemente<TObjetInterfacable, IApiRecuperationInfosHebNP> {
 public:
  // The request goes through the sessions service's session that follows the current HTTP
  // configuration (proxy included) and waits through AAttente, so that on the user-interface
  // thread the window stays alive; it gives up after DelaiMaxRecuperationInfosHeb.
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
