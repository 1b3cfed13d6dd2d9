#include "host/win32/library_search.h"

#include "host/win32/system_function.h"
#include "host/win32/windows_api.h"

namespace velbor {

void RestrictLibrarySearchToSystem() {
  // Windows 8 and later, and Windows 7 with its library-loading update, can limit
  // the search to the system folder outright.
  using SetDefaultDllDirectoriesFunction = BOOL WINAPI(DWORD);
  if (auto* setDefault = SystemFunction<SetDefaultDllDirectoriesFunction>(
          L"kernel32.dll", "SetDefaultDllDirectories");
      setDefault != nullptr && setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32)) {
    return;
  }
  // Elsewhere the current folder at least leaves the search, for libraries and for
  // programs searched by name. The program's own folder stays first, but every
  // library it imports is one of the system's known libraries, which are never
  // taken from there.
  SetDllDirectoryW(L"");
  SetSearchPathMode(BASE_SEARCH_PATH_ENABLE_SAFE_SEARCHMODE | BASE_SEARCH_PATH_PERMANENT);
}

}  // namespace velbor
