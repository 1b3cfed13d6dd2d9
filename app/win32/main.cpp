#include "app/win32/form1_window.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
  velbor::Form1Window window(instance);
  window.Show(showCommand);
  return velbor::RunMessageLoop(window.Handle());
}
