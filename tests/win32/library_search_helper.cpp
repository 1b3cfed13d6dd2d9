// Started by the library search test from a folder that holds decoy libraries: takes
// the way of Windows 7 without its library-loading update, then loads every late
// loaded system library, and the further names it is given, by name. Writes one
// line for each to the file named by its first argument: the name, a tab, and the
// file the system loaded for it.
#include <string>
#include <vector>

#include "host/win32/library_search.h"
#include "host/win32/unique_handle.h"
#include "host/win32/windows_api.h"

int wmain(int argumentCount, wchar_t** arguments) {
  if (argumentCount < 2) return 2;
  velbor::RestrictLibrarySearchWithoutDefaultDirectories();
  std::vector<std::wstring> names(velbor::LateLoadedSystemLibraries().begin(),
                                  velbor::LateLoadedSystemLibraries().end());
  names.insert(names.end(), arguments + 2, arguments + argumentCount);
  std::wstring trace;
  for (const std::wstring& name : names) {
    wchar_t file[MAX_PATH] = L"-";
    if (const HMODULE module = LoadLibraryW(name.c_str()))
      GetModuleFileNameW(module, file, MAX_PATH);
    trace += name + L'\t' + file + L'\n';
  }
  const velbor::UniqueFileHandle output(CreateFileW(arguments[1], GENERIC_WRITE, 0, nullptr,
                                                    CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD written = 0;
  const auto size = static_cast<DWORD>(trace.size() * sizeof(wchar_t));
  return output.IsValid() && WriteFile(output.Get(), trace.data(), size, &written, nullptr) ? 0 : 1;
}
