// Entry of the setting tool: no arguments or environment variables are read.
#include "app/StartUp.h"
#include "platform/ui/Forms.h"

int main() {
  StartUp();
  Application->Run();
  return 0;
}
