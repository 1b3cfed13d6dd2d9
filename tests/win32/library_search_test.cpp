#include <process.h>

#include <string>
#include <vector>

#include "gtest/gtest.h"
#include "host/win32/library_search.h"
#include "host/win32/windows_api.h"
#include "tests/win32/win32_test_support.h"

namespace velbor::testing {
namespace {

// Files put into the system folder for one case, removed when it ends.
struct SystemStandIns : std::vector<std::wstring> {
  ~SystemStandIns() {
    for (const std::wstring& file : *this) DeleteFileW(file.c_str());
  }
};

// Windows 7 without its library-loading update searches the program's folder
// first. The helper runs from a folder with a decoy under the name of every
// library that the installer loads from the system folder beforehand, and of one
// that it does not load, whose decoy is taken: the others would be too.
TEST(LibrarySearchTest, LateLoadedLibrariesComeFromTheSystemFolderWithoutTheUpdate) {
  const std::wstring unlisted = L"cabinet.dll";  // in Wine's system folder, loaded by nothing
  std::vector<std::wstring> names(LateLoadedSystemLibraries().begin(),
                                  LateLoadedSystemLibraries().end());
  names.push_back(unlisted);
  wchar_t system[MAX_PATH];
  const UINT length = GetSystemDirectoryW(system, MAX_PATH);
  ASSERT_TRUE(length > 0 && length < MAX_PATH);
  const std::wstring decoy = ProgramFolder() + L"velbor_decoy_library.dll";
  ScratchFolder scratch;
  SystemStandIns standIns;
  for (const std::wstring& name : names) {
    ASSERT_TRUE(CopyFileW(decoy.c_str(), (scratch.Path() + name).c_str(), TRUE));
    // Wine lacks some of Windows 7's (cryptbase.dll): a stand-in in the system
    // folder takes the place of each, which proves the same.
    const std::wstring inSystem = std::wstring(system) + L'\\' + name;
    if (CopyFileW(decoy.c_str(), inSystem.c_str(), TRUE)) standIns.push_back(inSystem);
  }
  const std::wstring helper = scratch.Path() + L"helper.exe";
  ASSERT_TRUE(CopyFileW((ProgramFolder() + L"velbor_library_search_helper.exe").c_str(),
                        helper.c_str(), TRUE));
  EXPECT_EQ(_wspawnl(_P_WAIT, helper.c_str(), Quoted(helper).c_str(), unlisted.c_str(), nullptr), 0)
      << "libraries loaded from the wrong folder (named above)";
}

}  // namespace
}  // namespace velbor::testing
