#include <iostream>

#include "host/failure.h"
#include "host/win32/cng_sha256.h"
#include "host/win32/windows_api.h"
#include "tools/setup-inspect/run_tool.h"

int wmain(int argc, wchar_t** argv) {
  // The report is UTF-8, accents included.
  SetConsoleOutputCP(CP_UTF8);
  try {
    const velbor::CngSha256 sha256;
    return velbor::RunSetupInspect(std::vector<std::filesystem::path>(argv + 1, argv + argc),
                                   sha256);
  } catch (const velbor::HostFailure& failure) {
    // Only the system's SHA-256 fails here, before any file is read: nothing is
    // inspected (run_tool.h).
    std::cerr << "setup-inspect: " << failure.what() << "\n";
    return 2;
  }
}
