#pragma once
// Small background services polled by the main loop: each call to Traiter does one short step
// of work and answers true when nothing more is pending.
#include <cstdint>

#include "core/ObjetInterfacable.h"

namespace norvel {

struct IServiceOvalis : IUnknown {
  virtual bool EstActif() = 0;
  virtual void SetActif(bool actif) = 0;
  virtual bool Traiter() = 0;
  // Re-entrancy guard: true when the service may run now; Sortir leaves it.
  virtual bool Entrer() = 0;
  virtual void Sortir() = 0;
};

}  // namespace norvel

NORVEL_GUID(norvel::IServiceOvalis, 0x1C4FC6CA, 0x13B2, 0x43DA, 0x89, 0x6D, 0xA8, 0x53, 0x4D, 0x13, 0xCB, 0x79)

namespace norvel {

// A service that is not run again while its Traiter runs (a Traiter that opens a wait runs
// nested idle steps).
class TServiceOvalisNonReentrant : public TImplemente<TObjetInterfacable, IServiceOvalis> {
 public:
  bool EstActif() override { return FActif; }
  void SetActif(bool actif) override { FActif = actif; }
  bool Entrer() override;
  void Sortir() override { --FCompteurEntrees; }

 private:
  bool FActif = false;
  int32_t FCompteurEntrees = 0;
};

}  // namespace norvel
