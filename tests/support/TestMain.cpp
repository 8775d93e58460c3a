#include <gtest/gtest.h>
#include <windows.h>

int main(int argc, char** argv) {
  // A crash must end the test program, never open a dialog that waits for a click.
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
