// Test main for GUI tests: starts the application object on the offscreen platform,
// so no display is needed.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/ui/Forms.h"

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  ::testing::InitGoogleTest(&argc, argv);
  Application->Initialize();
  return RUN_ALL_TESTS();
}
