// A target that another program holds open: the pass fails without a word, the
// timer retries and counts on the button, and the item lands once it is let go;
// also among items stored together.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "gtest/gtest.h"
#include "tests/e2e/held_file.h"
#include "tests/e2e/installer_process.h"
#include "tests/e2e/installer_test.h"
#include "tests/win32/box_controls.h"

namespace velbor::testing {
namespace {

const std::vector<std::uint8_t> kOldSecondo = {'v', 'e', 'c', 'c', 'h', 'i', 'o', 0, '\r', '\n'};

using RetryTimerTest = InstallerTest;

TEST_F(RetryTimerTest, RetriesAHeldTargetEveryTickAndInstallsItOnceItIsLetGo) {
  const std::wstring corsenta = MakeInstallationWithCorsenta();
  HeldFile held(corsenta + L"Secondo.bin", kOldSecondo);

  InstallerProcess installer(TestInstaller(L"pair"), Scratch());
  ASSERT_NE(installer.Window(), nullptr);
  installer.PressStart();

  // The press's pass writes the first item and fails at the held one; every tick
  // after it fails there again and counts.
  ASSERT_TRUE(installer.WaitForCaption(L"1"));
  EXPECT_TRUE(HoldsExactly(corsenta + L"Primo.bin", Payload(L"pair", L"Primo.bin")));
  EXPECT_EQ(FileNames(corsenta),
            (std::vector<std::wstring>{L"Corsenta.exe", L"Primo.bin", L"Secondo.bin"}));
  EXPECT_EQ(held.Content(), kOldSecondo);
  // A done item is not written again by later passes of the same press.
  ASSERT_TRUE(DeleteFileW((corsenta + L"Primo.bin").c_str()));
  ASSERT_TRUE(installer.WaitForCaption(L"2"));
  ASSERT_TRUE(installer.WaitForCaption(L"3"));
  EXPECT_EQ(FileNames(corsenta), (std::vector<std::wstring>{L"Corsenta.exe", L"Secondo.bin"}));
  EXPECT_EQ(held.Content(), kOldSecondo);

  held.LetGo();
  HWND done = installer.WaitForBox(L"Velbor S.r.l.");
  ASSERT_NE(done, nullptr);
  EXPECT_EQ(MessageText(done), L"Aggiornamento terminato!");
  ASSERT_TRUE(installer.Answer(done, IDOK));
  EXPECT_EQ(installer.WaitForExit(), std::optional<DWORD>(0));

  EXPECT_TRUE(HoldsExactly(corsenta + L"Secondo.bin", Payload(L"pair", L"Secondo.bin")));
  EXPECT_EQ(FileNames(corsenta), (std::vector<std::wstring>{L"Corsenta.exe", L"Secondo.bin"}));
  EXPECT_TRUE(FileNames(Scratch()).empty());
}

// Items stored together: the press's pass writes those before a held one, raw
// among them; once it is let go, a tick's pass decodes the stream again from its
// start, past the items done, and writes the rest, each with its exact bytes.
TEST_F(RetryTimerTest, ResumesTheItemsStoredTogetherAfterAHeldOne) {
  const std::wstring corsenta = MakeInstallationWithCorsenta();
  HeldFile held(corsenta + L"Quattro.txt", kOldContent);
  InstallerProcess installer(TestInstaller(L"many"), Scratch());
  ASSERT_NE(installer.Window(), nullptr);
  installer.PressStart();
  ASSERT_TRUE(installer.WaitForCaption(L"1"));
  EXPECT_EQ(FileNames(corsenta),
            (std::vector<std::wstring>{L"Corsenta.exe", L"Due.txt", L"Quattro.txt", L"Tre.bin",
                                       L"Uno.txt"}));
  EXPECT_EQ(held.Content(), kOldContent);
  held.LetGo();
  HWND done = installer.WaitForBox(L"Velbor S.r.l.");
  ASSERT_NE(done, nullptr);
  ASSERT_TRUE(installer.Answer(done, IDOK));
  EXPECT_EQ(installer.WaitForExit(), std::optional<DWORD>(0));
  for (const wchar_t* file : {L"Uno.txt", L"Due.txt", L"Tre.bin", L"Quattro.txt", L"Cinque.txt",
                              L"Sei.txt", L"Sette.txt"}) {
    EXPECT_TRUE(HoldsExactly(corsenta + file, Payload(L"many", file))) << file;
  }
  EXPECT_TRUE(FileNames(Scratch()).empty());
}

}  // namespace
}  // namespace velbor::testing
