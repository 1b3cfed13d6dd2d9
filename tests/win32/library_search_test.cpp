#include <map>
#include <string>
#include <vector>

#include "gtest/gtest.h"
#include "host/win32/library_search.h"
#include "host/win32/unique_handle.h"
#include "host/win32/windows_api.h"
#include "tests/win32/win32_test_support.h"

namespace velbor::testing {
namespace {

// In Wine's system folder, and loaded by nothing here.
constexpr wchar_t kUnlisted[] = L"cabinet.dll";

std::wstring FolderOf(const std::wstring& file) {
  return file.substr(0, file.find_last_of(L'\\') + 1);
}

// Wine lacks some libraries of Windows 7 (cryptbase.dll): while the case runs, a
// stand-in in the system folder takes the place of each, which proves the same.
class SystemStandIns {
 public:
  SystemStandIns() = default;
  SystemStandIns(const SystemStandIns&) = delete;
  SystemStandIns& operator=(const SystemStandIns&) = delete;
  ~SystemStandIns() {
    for (const std::wstring& path : placed_) DeleteFileW(path.c_str());
  }

  bool PlaceIfMissing(const std::wstring& standIn, const std::wstring& name) {
    wchar_t folder[MAX_PATH];
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return false;
    const std::wstring path = std::wstring(folder, length) + L'\\' + name;
    if (GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
    if (!CopyFileW(standIn.c_str(), path.c_str(), TRUE)) return false;
    placed_.push_back(path);
    return true;
  }

 private:
  std::vector<std::wstring> placed_;
};

// What the helper wrote: the file loaded for each name.
std::map<std::wstring, std::wstring> LoadedFiles(const std::vector<std::uint8_t>& bytes) {
  const std::wstring text(reinterpret_cast<const wchar_t*>(bytes.data()),
                          bytes.size() / sizeof(wchar_t));
  std::map<std::wstring, std::wstring> files;
  for (std::size_t start = 0, end; (end = text.find(L'\n', start)) != std::wstring::npos;
       start = end + 1) {
    const std::size_t tab = text.find(L'\t', start);
    files[text.substr(start, tab - start)] = text.substr(tab + 1, end - tab - 1);
  }
  return files;
}

// Windows 7 without its library-loading update searches the program's folder first.
// The helper runs from a folder with a decoy under the name of every library that
// the installer loads from the system folder beforehand, and each later load by
// name must still get the system's own. The decoy of a name left off the list is
// taken, which shows that the others would be too.
TEST(LibrarySearchTest, LateLoadedLibrariesComeFromTheSystemFolderWithoutTheUpdate) {
  ScratchFolder scratch;
  std::vector<std::wstring> names(LateLoadedSystemLibraries().begin(),
                                  LateLoadedSystemLibraries().end());
  names.push_back(kUnlisted);
  const std::wstring decoy = ProgramFolder() + L"velbor_decoy_library.dll";
  SystemStandIns standIns;
  for (const std::wstring& name : names) {
    ASSERT_TRUE(name == kUnlisted || standIns.PlaceIfMissing(decoy, name)) << name.c_str();
    ASSERT_TRUE(CopyFileW(decoy.c_str(), (scratch.Path() + name).c_str(), TRUE)) << name.c_str();
  }
  const std::wstring helper = scratch.Path() + L"helper.exe";
  ASSERT_TRUE(CopyFileW((ProgramFolder() + L"velbor_library_search_helper.exe").c_str(),
                        helper.c_str(), TRUE));
  const std::wstring trace = scratch.Path() + L"trace";
  std::wstring line = Quoted(helper) + L" " + Quoted(trace) + L" " + kUnlisted;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  ASSERT_TRUE(CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                             scratch.Path().c_str(), &startup, &started));
  const UniqueKernelHandle process(started.hProcess);
  const UniqueKernelHandle thread(started.hThread);
  ASSERT_EQ(WaitForSingleObject(process.Get(), 20000), WAIT_OBJECT_0);
  const auto bytes = ReadWholeFile(trace);
  ASSERT_TRUE(bytes);

  // The folder of the system's libraries as this program, of the helper's
  // bitness, sees them.
  wchar_t kernel[MAX_PATH];
  ASSERT_NE(GetModuleFileNameW(GetModuleHandleW(L"kernel32.dll"), kernel, MAX_PATH), 0u);
  std::map<std::wstring, std::wstring> loaded = LoadedFiles(*bytes);
  for (const std::wstring& name : names) {
    const std::wstring expected = name == kUnlisted ? scratch.Path() : FolderOf(kernel);
    EXPECT_EQ(CompareStringOrdinal(FolderOf(loaded[name]).c_str(), -1, expected.c_str(), -1, TRUE),
              CSTR_EQUAL)
        << name.c_str() << " from " << loaded[name].c_str();
  }
}

}  // namespace
}  // namespace velbor::testing
