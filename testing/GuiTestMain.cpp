// Test main for GUI tests: starts the application object on the offscreen platform,
// so no display is needed.
#include <gtest/gtest.h>

#include <QString>
#include <QtGlobal>
#include <cstdio>
#include <cstdlib>

#include "platform/ui/Forms.h"
#include "testing/TestSupport.h"

namespace {

QtMessageHandler gQtMessages = nullptr;

// The offscreen platform says it does not do what a desktop's window system does (grabbing
// the mouse, raising windows ...); input still goes where it would. Those notes are dropped.
void QtMessage(QtMsgType type, const QMessageLogContext& context, const QString& text) {
  if (type == QtWarningMsg && text.startsWith(QStringLiteral("This plugin does not support"))) return;
  if (gQtMessages != nullptr) gQtMessages(type, context, text);
  else fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, text)));
}

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  gQtMessages = qInstallMessageHandler(QtMessage);
  ::testing::InitGoogleTest(&argc, argv);
  // The application object creates Qt itself, so exceptions escaping any handler reach it.
  Application->Initialize();
  // An exception nobody handles fails the test instead of waiting on a message box.
  SetExceptionReport([](const String& Message) {
    ADD_FAILURE() << "Exception reached the application's default handler: " << StringToUTF8(Message);
  });
  return RUN_ALL_TESTS();
}
