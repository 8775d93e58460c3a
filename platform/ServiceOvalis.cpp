#include "platform/ServiceOvalis.h"

namespace norvel {

bool TServiceOvalisNonReentrant::Entrer() {
  if (FCompteurEntrees != 0) return false;
  FCompteurEntrees = 1;
  return true;
}

}  // namespace norvel
