#include "host/win32/windows_api.h"
#include "tools/setup-inspect/run_tool.h"

int wmain(int argc, wchar_t** argv) {
  // The report is UTF-8, accents included.
  SetConsoleOutputCP(CP_UTF8);
  return velbor::RunSetupInspect(std::vector<std::filesystem::path>(argv + 1, argv + argc));
}
