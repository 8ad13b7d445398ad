// Test main for GUI tests: starts the application object on the offscreen platform,
// so no display is needed.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/ui/Forms.h"
#include "platform/ui/TestSupport.h"

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  ::testing::InitGoogleTest(&argc, argv);
  // The application object creates Qt itself, so exceptions escaping any handler reach it.
  Application->Initialize();
  // An exception nobody handles fails the test instead of waiting on a message box.
  SetExceptionReport([](const String& Message) {
    ADD_FAILURE() << "Exception reached the application's default handler: " << StringToUTF8(Message);
  });
  return RUN_ALL_TESTS();
}
