// Entry of the setting tool: no arguments or environment variables are read.
#include "app/StartUp.h"
#include "platform/ui/Forms.h"

int main() {
  StartUp();
  Application->Run();
  // Before static destruction: the windows (and with the main window the port) go first.
  ShutDown();
  return 0;
}
