// The shipped setup.exe with its manual, started and pressed as a user would.
#include <chrono>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "app/exit_codes.h"
#include "gtest/gtest.h"
#include "host/win32/window_dpi.h"
#include "tests/e2e/installer_process.h"
#include "tests/e2e/installer_test.h"
#include "tests/e2e/shipped_setup.h"
#include "tests/e2e/window_picture.h"
#include "tests/win32/box_controls.h"

namespace velbor::testing {
namespace {

using ShippedSetupTest = InstallerTest;

// A frame, a face and a caption make three colours at the least; fewer mean that
// the screen has not shown the painted window yet.
constexpr std::size_t kPaintedColours = 3;

// The window's picture once the screen shows it painted, or the last one taken.
std::optional<WindowPicture> PictureOncePainted(HWND window) {
  const auto deadline = std::chrono::steady_clock::now() + kPatience;
  std::optional<WindowPicture> picture = WindowPicture::Take(window);
  while ((!picture || picture->ColourCount() < kPaintedColours) &&
         std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    picture = WindowPicture::Take(window);
  }
  return picture;
}

TEST_F(ShippedSetupTest, APressWritesTheManualIntoCorsentaAndEndsAfterTheCompletionBox) {
  const std::wstring corsenta = MakeInstallationWithCorsenta();
  const std::optional<std::vector<std::uint8_t>> archive = ReadWholeFile(kShippedArchive);
  ASSERT_TRUE(archive.has_value());

  InstallerProcess setup(kShippedSetup, Scratch());
  ASSERT_NE(setup.Window(), nullptr);
  setup.PressStart();
  HWND done = setup.WaitForBox(L"Velbor S.r.l.");
  ASSERT_NE(done, nullptr);
  EXPECT_EQ(MessageText(done), L"Aggiornamento terminato!");
  ASSERT_TRUE(setup.Answer(done, IDOK));

  EXPECT_EQ(setup.WaitForExit(), std::optional<DWORD>(0));
  EXPECT_TRUE(HoldsExactly(corsenta + L"Brevanti.zip", *archive));
  EXPECT_EQ(FileNames(corsenta), (std::vector<std::wstring>{L"Brevanti.zip", L"Corsenta.exe"}));
}

// Also leaves a picture of the window beside this program, for a person to look at.
TEST_F(ShippedSetupTest, TheWindowShowsItsButtonAndClosingItEndsTheProgramUnwrittenWithCode1602) {
  const std::wstring corsenta = MakeInstallationWithCorsenta();
  InstallerProcess setup(kShippedSetup, Scratch());
  ASSERT_NE(setup.Window(), nullptr);

  EXPECT_EQ(StoredText(setup.Window()), L"Brevanti Setup");
  EXPECT_EQ(setup.StartButtonCaption(), L"Installa Brevanti");
  RECT client;
  ASSERT_TRUE(GetClientRect(setup.Window(), &client));
  const UINT dpi = WindowDpi(setup.Window());
  EXPECT_EQ(client.right, MulDiv(557, static_cast<int>(dpi), 96));
  EXPECT_EQ(client.bottom, MulDiv(137, static_cast<int>(dpi), 96));

  const std::optional<WindowPicture> picture = PictureOncePainted(setup.Window());
  ASSERT_TRUE(picture.has_value());
  EXPECT_TRUE(picture->SaveAsBitmap(ProgramFolder() + L"main_window.bmp"));
  EXPECT_GE(picture->ColourCount(), kPaintedColours);

  setup.Close();
  EXPECT_EQ(setup.WaitForExit(), std::optional<DWORD>(kExitEndedByUser));
  EXPECT_EQ(FileNames(corsenta), std::vector<std::wstring>{L"Corsenta.exe"});
}

}  // namespace
}  // namespace velbor::testing
