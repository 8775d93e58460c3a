#pragma once
// The HTTP sessions service of the graphical program: a proxy that asks for credentials the
// configuration lacks gets them from the user through the login dialog, whichever thread made
// the request (the dialog itself always runs on the user-interface thread). Its duplicates for
// worker threads are of the same class.
#include "httpconfig/SessionsClientsHttp.h"

namespace norvel {

class TSessionsClientsHttpAppGraphiqueFmx : public TSessionsClientsHttp {
 public:
  using TSessionsClientsHttp::TSessionsClientsHttp;

 protected:
  bool DemanderInfoAuthProxy(const std::wstring& AProxy, TypeInfoAuthHttp& AInfoAuth) override;
  TRef<TSessionsClientsHttp> NouveauDuplicata(const TypeOrigineDuplicata& AOrigine) override;
};

}  // namespace norvel
