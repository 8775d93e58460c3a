#include <gtest/gtest.h>
#include <windows.h>

#include "support/Monde.h"
#include "support/ProcessusEnfant.h"

int main(int argc, char** argv) {
  // A crash must end the test program, never open a dialog that waits for a click.
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
  // Started by one of its own tests as a child: run that child's entry instead of the tests.
  if (int code = 0; norvel::test::ExecuterProgrammeEnfantDemande(code)) return code;
  testing::InitGoogleTest(&argc, argv);
  const int resultat = RUN_ALL_TESTS();
  norvel::test::ArreterMondesPartages();
  return resultat;
}
