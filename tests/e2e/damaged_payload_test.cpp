// A setup.exe whose payload was damaged on its way: one byte of Secondo.bin changed
// inside the installer of the package "pair" (velbor_e2e_damaged.exe). Pressed or
// not, it says so in a box, writes nothing anywhere and ends with 1603; the same
// program undamaged installs.
#include <optional>
#include <string>
#include <vector>

#include "gtest/gtest.h"
#include "host/application.h"
#include "tests/e2e/installer_process.h"
#include "tests/e2e/installer_test.h"
#include "tests/win32/box_controls.h"

namespace velbor::testing {
namespace {

constexpr wchar_t kRefusal[] =
    L"Il file \"Secondo.bin\" contenuto nel programma di installazione è danneggiato.\r\n\r\n"
    L"Non è stato installato nulla. Scaricare di nuovo il programma di installazione e avviarlo.";

class DamagedPayloadTest : public InstallerTest {};

TEST_F(DamagedPayloadTest, IsRefusedPressedOrNotWhileTheUndamagedProgramInstalls) {
  const std::wstring corsenta = MakeInstallationWithCorsenta();
  const struct {
    const wchar_t* package;
    bool press;
    const wchar_t* box;
    DWORD exitCode;
  } cases[] = {
      {L"damaged", false, kRefusal, kExitFailed},
      {L"damaged", true, kRefusal, kExitFailed},
      {L"pair", true, L"Aggiornamento terminato!", kExitInstalled},
  };
  for (const auto& run : cases) {
    SCOPED_TRACE(std::wstring(run.package) + (run.press ? L", pressed" : L", not pressed"));
    InstallerProcess installer(TestInstaller(run.package), Scratch());
    ASSERT_NE(installer.Window(), nullptr);
    if (run.press) installer.PressStart();
    HWND box = installer.WaitForBox(L"Velbor S.r.l.");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageText(box), run.box);
    if (run.exitCode == kExitFailed) {
      // Nothing written anywhere: not in the folder, not beside it, not in the
      // folder the program runs in.
      EXPECT_EQ(FileNames(corsenta), std::vector<std::wstring>{L"Corsenta.exe"});
      EXPECT_TRUE(FileNames(Scratch()).empty());
    }
    ASSERT_TRUE(installer.Answer(box, IDOK));
    EXPECT_EQ(installer.WaitForExit(), std::optional<DWORD>(run.exitCode));
  }
  EXPECT_TRUE(HoldsExactly(corsenta + L"Secondo.bin", Payload(L"pair", L"Secondo.bin")));
}

}  // namespace
}  // namespace velbor::testing
