// The program's entry point: no command line, no message loop of its own.
#include <windows.h>

#include "app/win32/application.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  twinseek::Application application;
  application.Run();
  return 0;
}
