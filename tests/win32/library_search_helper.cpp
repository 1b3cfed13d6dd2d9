// Started by the library search test from a folder of decoy libraries: takes the
// way of Windows 7 without its library-loading update, then loads by name every
// late loaded system library, which must come from the system folder, and the one
// its argument names, which must be the decoy. Ends with the number of loads that
// went elsewhere, each named on its error output.
#include <cstdio>
#include <string>

#include "host/win32/library_search.h"
#include "host/win32/windows_api.h"

namespace {

std::wstring FolderOf(HMODULE module) {
  wchar_t file[MAX_PATH] = L"(none)\\";
  if (module != nullptr) GetModuleFileNameW(module, file, MAX_PATH);
  return std::wstring(file).substr(0, std::wstring(file).rfind(L'\\'));
}

int LoadedElsewhere(const wchar_t* name, const std::wstring& folder) {
  const std::wstring loaded = FolderOf(LoadLibraryW(name));
  if (CompareStringOrdinal(loaded.c_str(), -1, folder.c_str(), -1, TRUE) == CSTR_EQUAL) return 0;
  std::fwprintf(stderr, L"%ls was loaded from %ls\n", name, loaded.c_str());
  return 1;
}

}  // namespace

int wmain(int argumentCount, wchar_t** arguments) {
  if (argumentCount != 2) return -1;
  velbor::RestrictLibrarySearchWithoutDefaultDirectories();
  const std::wstring system = FolderOf(GetModuleHandleW(L"kernel32.dll"));
  int elsewhere = LoadedElsewhere(arguments[1], FolderOf(GetModuleHandleW(nullptr)));
  for (const wchar_t* name : velbor::LateLoadedSystemLibraries()) {
    elsewhere += LoadedElsewhere(name, system);
  }
  return elsewhere;
}
