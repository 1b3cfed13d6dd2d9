// Target templates resolved end to end: the folders from the real registry through
// the registry library, marker files on the real disk, the user's answers scripted.
#include <optional>
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
#include "tests/win32/win32_test_support.h"

namespace velbor::testing {
namespace {

constexpr char kVelborKey[] = "Software\\Velbor";
constexpr char kInstallationKey[] = "Software\\Velbor\\Installazione";
constexpr char kFolderValue[] = "strPath";

// A key of HKEY_LOCAL_MACHINE, closed when it goes; null when it could not be had.
class LocalMachineKey {
 public:
  LocalMachineKey(const char* path, bool create) {
    const LSTATUS status = create
                               ? RegCreateKeyExA(HKEY_LOCAL_MACHINE, path, 0, nullptr, 0,
                                                 KEY_ALL_ACCESS, nullptr, &key_, nullptr)
                               : RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_ALL_ACCESS, &key_);
    if (status != ERROR_SUCCESS) key_ = nullptr;
  }
  LocalMachineKey(const LocalMachineKey&) = delete;
  LocalMachineKey& operator=(const LocalMachineKey&) = delete;
  ~LocalMachineKey() {
    if (key_ != nullptr) ::RegCloseKey(key_);
  }

  HKEY Get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

struct SavedValue {
  DWORD type = 0;
  std::vector<BYTE> data;
};

std::optional<SavedValue> ValueOf(HKEY key, const char* name) {
  SavedValue saved;
  DWORD size = 0;
  if (RegQueryValueExA(key, name, nullptr, &saved.type, nullptr, &size) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  saved.data.resize(size);
  if (RegQueryValueExA(key, name, nullptr, &saved.type, saved.data.data(), &size) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  saved.data.resize(size);
  return saved;
}

Text Environment(const wchar_t* name) {
  wchar_t value[MAX_PATH + 1];
  const DWORD length = GetEnvironmentVariableW(name, value, MAX_PATH + 1);
  return length == 0 || length > MAX_PATH ? Text() : TextFromWide({value, length});
}

// A drive letter that names no drive here, with its ":\".
Text MissingDrive() {
  const DWORD drives = GetLogicalDrives();
  for (char16_t letter = u'B'; letter <= u'Z'; ++letter) {
    if ((drives & (1u << (letter - u'A'))) == 0) return Text{letter, u':', u'\\'};
  }
  return Text();
}

// The maker's installation folder is set in the real registry, in the view that
// this program reads, for each case; what was there before (a setup run in the
// same prefix sets one) is put back afterwards, and keys made for the case go.
class Win32TargetFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    hadVelborKey_ = LocalMachineKey(kVelborKey, false).Get() != nullptr;
    hadInstallationKey_ = LocalMachineKey(kInstallationKey, false).Get() != nullptr;
    const LocalMachineKey key(kInstallationKey, true);
    ASSERT_NE(key.Get(), nullptr);
    previous_ = ValueOf(key.Get(), kFolderValue);
    const std::wstring folder = WideFromText(velborFolder_);
    ASSERT_EQ(RegSetValueExW(key.Get(), L"strPath", 0, REG_SZ,
                             reinterpret_cast<const BYTE*>(folder.c_str()),
                             static_cast<DWORD>((folder.size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
  }

  void TearDown() override {
    if (!hadVelborKey_) {
      RegDeleteTreeA(HKEY_LOCAL_MACHINE, kVelborKey);
    } else if (!hadInstallationKey_) {
      RegDeleteTreeA(HKEY_LOCAL_MACHINE, kInstallationKey);
    } else if (const LocalMachineKey key(kInstallationKey, false); key.Get() != nullptr) {
      if (previous_) {
        RegSetValueExA(key.Get(), kFolderValue, 0, previous_->type, previous_->data.data(),
                       static_cast<DWORD>(previous_->data.size()));
      } else {
        RegDeleteValueA(key.Get(), kFolderValue);
      }
    }
  }

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
  Win32Registry registryApi_;
  RegistryLibrary registry_{registryApi_};
  ScriptedHost host_;  // the user only
  Win32FileSystem files_;
  InstallationFolders folders_{registry_, host_};
  TargetFolderResolver resolver_{folders_, host_, files_};

 private:
  bool hadVelborKey_ = false;
  bool hadInstallationKey_ = false;
  std::optional<SavedValue> previous_;
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

  EXPECT_EQ(resolver_.GeneraPathDll(u"<COMMONPATH>Velbor\\"), u"");  // cancelled
  EXPECT_EQ(PromptDefaults(), std::vector<Text>{commonFiles + u"\\Velbor\\"});
  EXPECT_TRUE(host_.MessageBoxes().empty());
}

}  // namespace
}  // namespace velbor::testing
