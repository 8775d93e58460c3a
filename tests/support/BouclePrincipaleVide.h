#pragma once
// Test benches that run the main loop leave it as they found it: no message and no posted call
// left for the next test.
#include "platform/ApplicationGraphique.h"

namespace norvel::test {

inline void ViderBouclePrincipale(TApplicationGraphique& application) {
  while (application.TraiterUnMessage()) {
  }
  while (application.ExecuterAppelsEnFile()) {
  }
}

}  // namespace norvel::test
