// Target templates resolved end to end: the folders from the real registry through
// the registry library, marker files on the real disk, the user's answers scripted.
#include <string>
#include <vector>

#include "gtest/gtest.h"
#include "host/win32/unique_handle.h"
#include "host/win32/wide_text.h"
#include "host/win32/win32_file_system.h"
#include "host/win32/win32_registry.h"
#include "host/win32/windows_api.h"
#include "paths/installation_folders.h"
#include "paths/target_folder_resolver.h"
#include "registry/registry_library.h"
#include "tests/doubles/scripted_host.h"
#include "tests/win32/installation_folder_setting.h"
#include "tests/win32/win32_test_support.h"

namespace velbor::testing {
namespace {

Text Environment(const wchar_t* name) {
  wchar_t value[MAX_PATH + 1];
  const DWORD length = GetEnvironmentVariableW(name, value, MAX_PATH + 1);
  return length == 0 || length > MAX_PATH ? Text() : TextFromWide({value, length});
}

// The maker's installation folder is set in the real registry, in the view that
// this program reads, for each case, and put back as it was afterwards.
class Win32TargetFolderTest : public ::testing::Test {
 protected:
  Text In(const Text& name) const { return TextFromWide(scratch_.Path()) + name; }

  static void MakeFolder(const Text& path) {
    ASSERT_TRUE(CreateDirectoryW(WideFromText(path).c_str(), nullptr)) << Utf8FromText(path);
  }

  static void MakeFile(const Text& path) {
    const UniqueFileHandle file(CreateFileW(WideFromText(path).c_str(), GENERIC_WRITE, 0, nullptr,
                                            CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(file.IsValid()) << Utf8FromText(path);
  }

  std::vector<Text> PromptDefaults() const {
    std::vector<Text> defaults;
    for (const ScriptedHost::PromptShown& prompt : host_.Prompts()) {
      defaults.push_back(prompt.defaultText);
    }
    return defaults;
  }

  ScratchFolder scratch_;
  // Without its trailing "\", which the resolution adds.
  const Text velborFolder_ = In(u"Velbor");
  const InstallationFolderSetting installationFolder_{WideFromText(velborFolder_)};
  Win32Registry registryApi_;
  RegistryLibrary registry_{registryApi_};
  ScriptedHost host_;  // the user only
  Win32FileSystem files_;
  InstallationFolders folders_{registry_, host_};
  TargetFolderResolver resolver_{folders_, host_, files_};
};

// The marker is missing where the registry points; neither a wildcard nor a drive
// that does not exist passes for a folder; the folder typed last holds it.
TEST_F(Win32TargetFolderTest, ResolvesTheShippedFormThroughTheUsersAnswer) {
  MakeFolder(velborFolder_);
  MakeFolder(velborFolder_ + u"\\Corsenta");
  const Text chosen = In(u"Città");
  MakeFolder(chosen);
  MakeFile(chosen + u"\\Corsenta.exe");
  const Text missing = MissingDrive() + u"Corsenta";
  // "*" would stand for the chosen folder if it were expanded.
  for (const Text& typed : {In(u"*"), missing, chosen}) host_.QueueTypedText(typed);

  EXPECT_EQ(resolver_.GeneraPathDll(u"<apppath>corsenta\\Manuali è\\"), chosen + u"\\Manuali è\\");
  EXPECT_EQ(PromptDefaults(),
            (std::vector<Text>{velborFolder_ + u"\\Corsenta\\", In(u"*\\"), missing + u"\\"}));
  EXPECT_TRUE(host_.MessageBoxes().empty());
}

// This program's view of the registry: on 64-bit Windows a 32-bit program sees the
// 32-bit folders, as its environment does.
TEST_F(Win32TargetFolderTest, LookupsReadTheFoldersOfThisProgramsView) {
  EXPECT_EQ(folders_.RetrieveProgramFilesVelborPath(), velborFolder_);
  const Text programFiles = folders_.RetrieveProgramFilesPath();
  EXPECT_EQ(programFiles, Environment(L"ProgramFiles"));
  const Text commonFiles = folders_.RetrieveCommonPath();
  EXPECT_EQ(commonFiles, Environment(L"CommonProgramFiles"));
  EXPECT_NE(commonFiles, u"");
  // A 32-bit program on 64-bit Windows gets "Program Files (x86)"; a 64-bit one, or
  // one on 32-bit Windows, gets "Program Files".
  BOOL wow64 = FALSE;
  ASSERT_TRUE(IsWow64Process(GetCurrentProcess(), &wow64));
  EXPECT_EQ(programFiles.ends_with(u" (x86)"), wow64 != FALSE);
  EXPECT_TRUE(commonFiles.starts_with(programFiles + u"\\"));
  // The maker's key in the other view is not read: a 32-bit program under WOW64 reads
  // only Software\WOW6432Node, a 64-bit one only the 64-bit keys.
  if (wow64 || sizeof(void*) == 8) {
    const REGSAM other = wow64 ? KEY_WOW64_64KEY : KEY_WOW64_32KEY;
    const InstallationFolderSetting otherView{L"C:\\Altrove", other};
    EXPECT_EQ(folders_.RetrieveProgramFilesVelborPath(), velborFolder_);
  }

  EXPECT_EQ(resolver_.GeneraPathDll(u"<COMMONPATH>Velbor\\"), u"");  // cancelled
  EXPECT_EQ(PromptDefaults(), std::vector<Text>{commonFiles + u"\\Velbor\\"});
  EXPECT_TRUE(host_.MessageBoxes().empty());
}

}  // namespace
}  // namespace velbor::testing
