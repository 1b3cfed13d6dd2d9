// Faults that stop a pass at an item: the pass fails without a word, leaves what
// was there as it was and no file of its own behind, the timer retries and counts
// on the button, and the first tick after the fault is cleared installs the item.
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/exit_codes.h"
#include "gtest/gtest.h"
#include "host/win32/unique_handle.h"
#include "tests/e2e/held_file.h"
#include "tests/e2e/installer_process.h"
#include "tests/e2e/installer_test.h"
#include "tests/win32/box_controls.h"

namespace velbor::testing {
namespace {

constexpr wchar_t kItem[] = L"Unico.bin";
const std::vector<std::uint8_t> kOldContent = {'p', 'r', 'i', 'm', 'a', 0, 0xff, '\r', '\n'};

// Whether the ticks after the press fail, as the button counts them: two, so that
// a failed tick is seen to leave the timer running.
::testing::AssertionResult TicksFail(InstallerProcess& installer) {
  for (const wchar_t* caption : {L"1", L"2"}) {
    if (!installer.WaitForCaption(caption)) {
      return ::testing::AssertionFailure() << "the button never read " << caption;
    }
  }
  return ::testing::AssertionSuccess();
}

// An old file that nobody holds.
void MakeOldFile(const std::wstring& path) { HeldFile(path, kOldContent).LetGo(); }

bool IsFolder(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The item of the package "subfolder" goes to Sotto\ below a proven folder of
// Corsenta; each case makes Sotto\ or leaves it out.
class FaultsTest : public InstallerTest {
 protected:
  void SetUp() override {
    corsenta_ = MakeInstallationWithCorsenta();
    sotto_ = corsenta_ + L"Sotto\\";
    target_ = sotto_ + kItem;
  }

  void MakeSotto() const { ASSERT_TRUE(CreateDirectoryW(sotto_.c_str(), nullptr)); }

  // Presses, waits for failed ticks, asks `expectUntouched` to check what the
  // fault guards, and clears the fault; the next tick must install the item.
  void ExpectInstalledOnceCleared(const std::function<void()>& expectUntouched,
                                  const std::function<void()>& clear) {
    InstallerProcess installer(TestInstaller(L"subfolder"), Scratch());
    ASSERT_NE(installer.Window(), nullptr);
    installer.PressStart();
    ASSERT_TRUE(TicksFail(installer));
    expectUntouched();
    EXPECT_EQ(FileNames(corsenta_), std::vector<std::wstring>{L"Corsenta.exe"});

    clear();
    const std::wstring failedTicks = installer.StartButtonCaption();
    HWND done = installer.WaitForBox(L"Velbor S.r.l.");
    ASSERT_NE(done, nullptr);
    EXPECT_EQ(installer.StartButtonCaption(), failedTicks) << "a tick failed after the clearing";
    EXPECT_EQ(MessageText(done), L"Aggiornamento terminato!");
    ASSERT_TRUE(installer.Answer(done, IDOK));
    EXPECT_EQ(installer.WaitForExit(), std::optional<DWORD>(0));

    EXPECT_TRUE(HoldsExactly(target_, Payload(L"subfolder", kItem)));
    EXPECT_EQ(FileNames(sotto_), std::vector<std::wstring>{kItem});
    EXPECT_EQ(FileNames(corsenta_), std::vector<std::wstring>{L"Corsenta.exe"});
    EXPECT_TRUE(FileNames(Scratch()).empty());
  }

  std::wstring corsenta_;
  std::wstring sotto_;
  std::wstring target_;
};

TEST_F(FaultsTest, KeepsAReadOnlyTargetUntilItIsMadeWritable) {
  MakeSotto();
  MakeOldFile(target_);
  ASSERT_TRUE(SetFileAttributesW(target_.c_str(), FILE_ATTRIBUTE_READONLY));

  ExpectInstalledOnceCleared(
      [&] {
        EXPECT_TRUE(HoldsExactly(target_, kOldContent));
        EXPECT_NE(GetFileAttributesW(target_.c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
        EXPECT_EQ(FileNames(sotto_), std::vector<std::wstring>{kItem});
      },
      [&] { ASSERT_TRUE(SetFileAttributesW(target_.c_str(), FILE_ATTRIBUTE_NORMAL)); });
}

TEST_F(FaultsTest, KeepsATargetHeldWithoutSharingUntilItIsLetGo) {
  MakeSotto();
  HeldFile held(target_, kOldContent);

  ExpectInstalledOnceCleared(
      [&] {
        EXPECT_EQ(held.Content(), kOldContent);
        EXPECT_EQ(FileNames(sotto_), std::vector<std::wstring>{kItem});
      },
      [&] { held.LetGo(); });
}

TEST_F(FaultsTest, NeverMakesAMissingFolderAndWritesOnceItIsThere) {
  ExpectInstalledOnceCleared([&] { EXPECT_FALSE(IsFolder(sotto_)); }, [&] { MakeSotto(); });
}

TEST_F(FaultsTest, LeavesAFolderOfTheTargetsNameUntilItIsRemoved) {
  MakeSotto();
  ASSERT_TRUE(CreateDirectoryW(target_.c_str(), nullptr));

  ExpectInstalledOnceCleared(
      [&] {
        EXPECT_TRUE(IsFolder(target_));
        EXPECT_TRUE(FileNames(target_ + L"\\").empty());
        EXPECT_TRUE(FileNames(sotto_).empty());
      },
      [&] { ASSERT_TRUE(RemoveDirectoryW(target_.c_str())); });
}

// Resources cannot change while the installer runs, so this fault is never cleared:
// it goes on retrying until the user closes the window.
TEST_F(FaultsTest, RetriesAnItemWithoutBytesWithoutEverWritingIt) {
  MakeOldFile(corsenta_ + L"Mancante.bin");

  InstallerProcess installer(TestInstaller(L"missing_bytes"), Scratch());
  ASSERT_NE(installer.Window(), nullptr);
  installer.PressStart();
  ASSERT_TRUE(TicksFail(installer));
  // The item before it has landed; the one without bytes is as it was.
  EXPECT_TRUE(HoldsExactly(corsenta_ + L"Primo.bin", Payload(L"missing_bytes", L"Primo.bin")));
  EXPECT_TRUE(HoldsExactly(corsenta_ + L"Mancante.bin", kOldContent));
  EXPECT_EQ(FileNames(corsenta_),
            (std::vector<std::wstring>{L"Corsenta.exe", L"Mancante.bin", L"Primo.bin"}));

  installer.Close();
  EXPECT_EQ(installer.WaitForExit(), std::optional<DWORD>(kExitEndedByUser));
  EXPECT_TRUE(HoldsExactly(corsenta_ + L"Mancante.bin", kOldContent));
  EXPECT_TRUE(FileNames(Scratch()).empty());
}

// A name that leaves the proven folder fails its item like any write that cannot
// be done: nothing lands, there or where the name points, and the timer retries.
TEST_F(FaultsTest, RetriesAnItemWhoseNameLeavesItsFolderWithoutWritingIt) {
  InstallerProcess installer(TestInstaller(L"escape"), Scratch());
  ASSERT_NE(installer.Window(), nullptr);
  installer.PressStart();
  ASSERT_TRUE(TicksFail(installer));
  EXPECT_EQ(FileNames(corsenta_), std::vector<std::wstring>{L"Corsenta.exe"});
  EXPECT_TRUE(FileNames(Scratch()).empty());
}

// Whether `holds` comes true within the patience.
bool WithinPatience(const std::function<bool()>& holds) {
  const auto deadline = std::chrono::steady_clock::now() + kPatience;
  while (std::chrono::steady_clock::now() < deadline) {
    if (holds()) return true;
  }
  return false;
}

// Whether a temporary file of the installer's in `folder` has data in it. The
// installer marks the file for deletion before its first byte; a kill between its
// creation and that mark leaves it for the next run to remove.
bool TemporaryFileHoldsData(const std::wstring& folder) {
  WIN32_FIND_DATAW entry;
  const UniqueFindHandle found(FindFirstFileW((folder + L"~velbor*.tmp").c_str(), &entry));
  return found.IsValid() && (entry.nFileSizeLow != 0 || entry.nFileSizeHigh != 0);
}

// End Task on an installer that writes a large file: the old file stays whole, and
// the system takes the temporary file away with the process.
TEST_F(FaultsTest, AKillDuringALargeWriteLeavesTheOldFileAndNoTemporaryFile) {
  const std::wstring target = corsenta_ + L"Grande.bin";
  MakeOldFile(target);
  InstallerProcess installer(TestInstaller(L"large"), Scratch());
  ASSERT_NE(installer.Window(), nullptr);
  installer.PressStart();
  ASSERT_TRUE(WithinPatience([&] { return TemporaryFileHoldsData(corsenta_); }))
      << "the write was never seen under way";
  installer.Kill();

  // The system deletes the file as it closes the killed process's handles, which
  // Wine may finish a moment after the process has ended.
  EXPECT_TRUE(WithinPatience([&] { return !WriteUnderWay(corsenta_); }))
      << "the temporary file stayed";
  EXPECT_TRUE(HoldsExactly(target, kOldContent));
  EXPECT_EQ(FileNames(corsenta_), (std::vector<std::wstring>{L"Corsenta.exe", L"Grande.bin"}));
}

}  // namespace
}  // namespace velbor::testing
