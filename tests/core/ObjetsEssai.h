#pragma once
// Small interfaced objects for the tests of the object model and the service registry: two
// interfaces, and an object implementing both that reports its destruction.
#include "core/ObjetInterfacable.h"

namespace norvel::essais {

struct IEssaiA : IUnknown {
  virtual int Numero() = 0;
};
struct IEssaiB : IUnknown {
  virtual int Numero() = 0;
};

}  // namespace norvel::essais

NORVEL_GUID(norvel::essais::IEssaiA, 0x3B1F0C52, 0x7A44, 0x4E0B, 0x9C, 0x1D, 0x52, 0x6E, 0x0A, 0x11, 0x21, 0x01)
NORVEL_GUID(norvel::essais::IEssaiB, 0x3B1F0C52, 0x7A44, 0x4E0B, 0x9C, 0x1D, 0x52, 0x6E, 0x0A, 0x11, 0x21, 0x02)

namespace norvel::essais {

// Counts its destructions in a counter that the test owns.
class TObjetEssai : public TImplemente<TObjetInterfacable, IEssaiA, IEssaiB> {
 public:
  TObjetEssai(int numero, int* destructions, bool destructionAutomatique = true)
      : TImplemente(destructionAutomatique), FNumero(numero), FDestructions(destructions) {}
  ~TObjetEssai() override {
    if (FDestructions) ++*FDestructions;
  }
  int Numero() override { return FNumero; }

 private:
  int FNumero;
  int* FDestructions;
};

}  // namespace norvel::essais
