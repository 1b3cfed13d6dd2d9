// A setup.exe whose payload was damaged on its way: one byte of Secondo.bin changed
// inside the installer of the package "pair" (velbor_e2e_damaged.exe), or one byte
// of the compressed Testo.txt inside that of "mixed" (velbor_e2e_damaged_frame.exe).
// Pressed or not, it says so in a box, writes nothing anywhere and ends with 1603;
// the same programs undamaged install, the compressed item and the raw one with
// their exact bytes.
#include <optional>
#include <string>
#include <vector>

#include "app/exit_codes.h"
#include "gtest/gtest.h"
#include "tests/e2e/installer_process.h"
#include "tests/e2e/installer_test.h"
#include "tests/win32/box_controls.h"

namespace velbor::testing {
namespace {

std::wstring Refusal(const wchar_t* file) {
  return std::wstring(L"Il file \"") + file +
         L"\" contenuto nel programma di installazione è danneggiato.\r\n\r\n"
         L"Non è stato installato nulla. Scaricare di nuovo il programma di installazione e "
         L"avviarlo.";
}

class DamagedPayloadTest : public InstallerTest {};

TEST_F(DamagedPayloadTest, IsRefusedPressedOrNotWhileTheUndamagedProgramInstalls) {
  const std::wstring corsenta = MakeInstallationWithCorsenta();
  const struct {
    const wchar_t* package;
    bool press;
    std::wstring box;
    DWORD exitCode;
  } cases[] = {
      {L"damaged", false, Refusal(L"Secondo.bin"), kExitFailed},
      {L"damaged", true, Refusal(L"Secondo.bin"), kExitFailed},
      {L"damaged_frame", true, Refusal(L"Testo.txt"), kExitFailed},
      {L"pair", true, L"Aggiornamento terminato!", kExitInstalled},
      {L"mixed", true, L"Aggiornamento terminato!", kExitInstalled},
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
  EXPECT_TRUE(HoldsExactly(corsenta + L"Testo.txt", Payload(L"mixed", L"Testo.txt")));
  EXPECT_TRUE(HoldsExactly(corsenta + L"Terzo.bin", Payload(L"mixed", L"Terzo.bin")));
}

}  // namespace
}  // namespace velbor::testing
