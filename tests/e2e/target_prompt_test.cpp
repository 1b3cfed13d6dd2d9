// Where the registry's folder holds no marker, the installer asks for the folder of
// Corsenta until the answer holds one, and writes there.
#include <optional>
#include <string>
#include <vector>

#include "gtest/gtest.h"
#include "tests/e2e/installer_process.h"
#include "tests/e2e/installer_test.h"
#include "tests/win32/box_controls.h"

namespace velbor::testing {
namespace {

constexpr wchar_t kPromptTitle[] = L"Setup";
constexpr wchar_t kCorsentaPrompt[] = L"Specificare il percorso in cui è stato installato Corsenta";

struct PromptSeen {
  std::vector<std::wstring> statics;
  std::wstring field;
};

using TargetPromptTest = InstallerTest;

TEST_F(TargetPromptTest, AsksUntilTheAnswerHoldsTheMarkerAndWritesBothItemsThere) {
  // Neither the registry's folder nor the first answer proves Corsenta.
  const std::wstring registered = MakeFolder(L"Registrato");
  const std::wstring empty = MakeFolder(L"Vuota");
  const std::wstring corsenta = MakeCorsentaFolder(L"Altra cartella è qui");
  // Without its "\", which the installer adds.
  SetInstallationFolder(registered.substr(0, registered.size() - 1));

  InstallerProcess installer(TestInstaller(L"pair"), Scratch());
  ASSERT_NE(installer.Window(), nullptr);
  installer.PressStart();

  std::vector<PromptSeen> prompts;
  for (const std::wstring& answer :
       {empty.substr(0, empty.size() - 1), corsenta.substr(0, corsenta.size() - 1)}) {
    HWND prompt = installer.WaitForBox(kPromptTitle);
    ASSERT_NE(prompt, nullptr) << "prompt " << prompts.size() + 1 << " did not show";
    HWND field = EditControlOf(prompt);
    ASSERT_NE(field, nullptr);
    prompts.push_back({StaticTexts(prompt), AskedText(field)});
    ASSERT_TRUE(Type(field, answer));
    ASSERT_TRUE(installer.Answer(prompt, IDOK));
  }
  // One resolution serves both items: no third prompt comes before the end.
  HWND done = installer.WaitForBox(L"Velbor S.r.l.");
  ASSERT_NE(done, nullptr);
  EXPECT_EQ(MessageText(done), L"Aggiornamento terminato!");
  ASSERT_TRUE(installer.Answer(done, IDOK));
  EXPECT_EQ(installer.WaitForExit(), std::optional<DWORD>(0));

  ASSERT_EQ(prompts.size(), 2u);
  for (const PromptSeen& seen : prompts) {
    EXPECT_EQ(seen.statics, std::vector<std::wstring>{kCorsentaPrompt});
  }
  EXPECT_EQ(prompts[0].field, registered + L"Corsenta\\");
  EXPECT_EQ(prompts[1].field, empty);

  EXPECT_EQ(FileNames(corsenta),
            (std::vector<std::wstring>{L"Corsenta.exe", L"Primo.bin", L"Secondo.bin"}));
  EXPECT_TRUE(HoldsExactly(corsenta + L"Primo.bin", Payload(L"pair", L"Primo.bin")));
  EXPECT_TRUE(HoldsExactly(corsenta + L"Secondo.bin", Payload(L"pair", L"Secondo.bin")));
  EXPECT_TRUE(FileNames(empty).empty());
  EXPECT_TRUE(FileNames(registered).empty());
  EXPECT_TRUE(FileNames(Scratch()).empty());
}

}  // namespace
}  // namespace velbor::testing
