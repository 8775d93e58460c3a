#pragma once
// The program's global events: notifications that any part may subscribe to, each type through
// its own multicast invoker of one shared manager. The first error of a subscriber stops the
// broadcast and reaches whoever raised it.
#include "core/InvocateurMultiple.h"

namespace norvel {

// The program is closing (raised once, while the services are being unregistered).
using TNotifFermetureApplication = TypePtrMethode<void(), struct TagNotifFermetureApplication>;

struct IGestionGlobaleEvenements : IUnknown {
  virtual TGestionnaireInvocateursMultiples& GestionnaireInvocateurs() = 0;
};

}  // namespace norvel

NORVEL_GUID(norvel::IGestionGlobaleEvenements, 0xB687BBC8, 0xAF2D, 0x44AE, 0xBD, 0x9F, 0xEB, 0x8D, 0x62, 0xC3, 0x3A,
            0xF0)

namespace norvel {

class TGestionGlobaleEvenements : public TImplemente<TObjetInterfacable, IGestionGlobaleEvenements> {
 public:
  TGestionnaireInvocateursMultiples& GestionnaireInvocateurs() override { return FGestionnaire; }

 private:
  TGestionnaireInvocateursMultiples FGestionnaire{geiAbandonner};
};

}  // namespace norvel
