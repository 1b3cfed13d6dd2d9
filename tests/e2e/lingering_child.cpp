// A long-lived program that the test COM server's registration starts with
// inheritance, as a DllRegisterServer that starts a service or a helper might:
// records itself into the file its command line names, then lives until the test
// lets it go.
#include "host/win32/unique_handle.h"
#include "host/win32/windows_api.h"
#include "tests/e2e/process_trace.h"

int wmain(int argc, wchar_t** argv) {
  if (argc < 2 || !velbor::testing::WriteProcessTrace(argv[1])) return 1;
  const velbor::UniqueKernelHandle letGo(
      OpenEventW(SYNCHRONIZE, FALSE, velbor::testing::kLingeringChildLetGo));
  if (letGo.IsValid()) WaitForSingleObject(letGo.Get(), 60 * 1000);
  return 0;
}
