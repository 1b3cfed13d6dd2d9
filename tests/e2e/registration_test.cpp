// Items that ask to be registered: the installer writes them and starts the tool
// of their kind, whose run the tool (or the item itself) records.
#include <algorithm>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "gtest/gtest.h"
#include "host/win32/unique_handle.h"
#include "tests/e2e/held_file.h"
#include "tests/e2e/installer_process.h"
#include "tests/e2e/installer_test.h"
#include "tests/e2e/process_trace.h"
#include "tests/e2e/regasm_placement.h"
#include "tests/win32/box_controls.h"

namespace velbor::testing {
namespace {

class RegistrationTest : public InstallerTest {
 protected:
  // Installs the package with one press, which ends with the completion box.
  void Install(const std::wstring& package) {
    InstallerProcess installer(TestInstaller(package), Scratch());
    ASSERT_NE(installer.Window(), nullptr);
    installer.PressStart();
    HWND done = installer.WaitForBox(L"Velbor S.r.l.");
    ASSERT_NE(done, nullptr);
    EXPECT_EQ(MessageText(done), L"Aggiornamento terminato!");
    ASSERT_TRUE(installer.Answer(done, IDOK));
    EXPECT_EQ(installer.WaitForExit(), std::optional<DWORD>(0));
  }

  const std::wstring corsenta_ = MakeInstallationWithCorsenta();
};

// The folder of the regsvr32 that the installer's process starts, as the started
// process reports its own image. This program has the installer's bitness: a 64-bit
// process, or a 32-bit one on 32-bit Windows, runs the system folder's own; a 32-bit
// process on 64-bit Windows is redirected to the 32-bit tools in SysWOW64.
std::wstring Regsvr32Folder() {
  wchar_t folder[MAX_PATH];
  BOOL wow64 = FALSE;
  const UINT length = IsWow64Process(GetCurrentProcess(), &wow64) && wow64
                          ? GetSystemWow64DirectoryW(folder, MAX_PATH)
                          : GetSystemDirectoryW(folder, MAX_PATH);
  return std::wstring(folder, length < MAX_PATH ? length : 0);
}

bool SamePath(const std::wstring& a, const std::wstring& b) {
  return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                              static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

// Whether a started tool ran in `folder` (which ends with "\").
bool RanIn(const ProcessTrace& run, const std::wstring& folder) {
  return SamePath(run.currentFolder.back() == L'\\' ? run.currentFolder : run.currentFolder + L'\\',
                  folder);
}

// Whether `attempt` succeeds within a few seconds.
bool SoonTrue(const std::function<bool()>& attempt) {
  for (int round = 0; round < 100; ++round) {
    if (attempt()) return true;
    Sleep(50);
  }
  return false;
}

TEST_F(RegistrationTest, AComServerIsRegisteredHiddenBySystemRegsvr32) {
  ASSERT_NO_FATAL_FAILURE(Install(L"com"));
  const std::wstring server = corsenta_ + L"VelborTraccia.dll";
  EXPECT_TRUE(HoldsExactly(server, Payload(L"com", L"VelborTraccia.dll")));

  const std::optional<std::vector<std::uint8_t>> bytes =
      WaitForFile(server + L".registered", kPatience);
  ASSERT_TRUE(bytes.has_value()) << "DllRegisterServer was not called";
  const std::optional<ProcessTrace> run = ParseProcessTrace(*bytes);
  ASSERT_TRUE(run.has_value());
  // Until regsvr32 ends, its DLL cannot go with the scratch folder.
  EXPECT_TRUE(WaitForProcessEnd(run->processId, kPatience));
  EXPECT_TRUE(SamePath(run->program, Regsvr32Folder() + L"\\regsvr32.exe")) << run->program;
  EXPECT_EQ(run->commandLine, L"regsvr32.exe " + Quoted(server) + L" /s");
  EXPECT_EQ(run->showWindow, std::to_wstring(SW_HIDE));
  // Not the installer's folder, where a missing dependency would be searched.
  EXPECT_TRUE(RanIn(*run, corsenta_)) << run->currentFolder;
}

// From the moment it is written until regsvr32 has ended, the server can be
// loaded but not written, replaced, renamed or deleted by anyone who may write
// in its folder, even when the user has answered the completion box at once and
// the installer has ended.
TEST_F(RegistrationTest, AComServerIsHeldUntilItsRegistrationHasEnded) {
  const UniqueKernelHandle slow(CreateEventW(nullptr, TRUE, FALSE, kSlowRegistration));
  ASSERT_TRUE(slow.IsValid());
  InstallerProcess installer(TestInstaller(L"com"), Scratch());
  ASSERT_NE(installer.Window(), nullptr);
  installer.PressStart();
  HWND done = installer.WaitForBox(L"Velbor S.r.l.");
  ASSERT_NE(done, nullptr);
  ASSERT_TRUE(installer.Answer(done, IDOK));
  EXPECT_EQ(installer.WaitForExit(), std::optional<DWORD>(0));
  const std::wstring server = corsenta_ + L"VelborTraccia.dll";
  const auto bytes = WaitForFile(server + L".registered", kPatience);
  ASSERT_TRUE(bytes.has_value()) << "DllRegisterServer was not called";
  const std::optional<ProcessTrace> run = ParseProcessTrace(*bytes);
  ASSERT_TRUE(run.has_value());

  const std::wstring other = corsenta_ + L"Altro.dll";
  HeldFile(other, {'M', 'Z'}).LetGo();
  const auto replace = [&] {
    return MoveFileExW(other.c_str(), server.c_str(), MOVEFILE_REPLACE_EXISTING) != FALSE;
  };
  const auto openForWriting = [&] {
    return UniqueFileHandle(CreateFileW(server.c_str(), GENERIC_WRITE,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, 0, nullptr))
        .IsValid();
  };
  EXPECT_FALSE(openForWriting());
  EXPECT_FALSE(replace());
  EXPECT_FALSE(MoveFileExW(server.c_str(), (server + L".old").c_str(), 0));
  EXPECT_FALSE(DeleteFileW(server.c_str()));
  EXPECT_TRUE(HoldsExactly(server, Payload(L"com", L"VelborTraccia.dll")));

  ASSERT_TRUE(SetEvent(slow.Get()));
  ASSERT_TRUE(WaitForProcessEnd(run->processId, kPatience));
  EXPECT_TRUE(SoonTrue(openForWriting));
  EXPECT_TRUE(replace());
}

// A registration that starts a long-lived program letting it inherit handles does
// not pass the hold on: once the tool has ended the server can be replaced again,
// although that program lives on.
TEST_F(RegistrationTest, AProgramThatTheToolStartsDoesNotKeepTheHold) {
  const UniqueKernelHandle letGo(CreateEventW(nullptr, TRUE, FALSE, kLingeringChildLetGo));
  ASSERT_TRUE(letGo.IsValid());
  const std::wstring lingering = ProgramFolder() + L"velbor_e2e_lingering_child.exe";
  ASSERT_TRUE(SetEnvironmentVariableW(kLingeringChildVariable, lingering.c_str()));
  Install(L"com");
  SetEnvironmentVariableW(kLingeringChildVariable, nullptr);
  ASSERT_FALSE(HasFatalFailure());
  const std::wstring server = corsenta_ + L"VelborTraccia.dll";
  const auto toolBytes = WaitForFile(server + L".registered", kPatience);
  const auto childBytes = WaitForFile(server + L".child", kPatience);
  ASSERT_TRUE(toolBytes.has_value() && childBytes.has_value());
  const std::optional<ProcessTrace> tool = ParseProcessTrace(*toolBytes);
  const std::optional<ProcessTrace> child = ParseProcessTrace(*childBytes);
  ASSERT_TRUE(tool.has_value() && child.has_value());
  const UniqueKernelHandle childProcess(OpenProcess(SYNCHRONIZE, FALSE, child->processId));
  ASSERT_TRUE(childProcess.IsValid());

  ASSERT_TRUE(WaitForProcessEnd(tool->processId, kPatience));
  EXPECT_EQ(WaitForSingleObject(childProcess.Get(), 0), static_cast<DWORD>(WAIT_TIMEOUT));
  EXPECT_TRUE(SoonTrue([&] {
    return UniqueFileHandle(CreateFileW(server.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                        OPEN_EXISTING, 0, nullptr))
        .IsValid();
  }));
  ASSERT_TRUE(SetEvent(letGo.Get()));
  EXPECT_EQ(WaitForSingleObject(childProcess.Get(), 20000), WAIT_OBJECT_0);
}

TEST_F(RegistrationTest, AnAssemblyIsRegisteredByTwoRunsOfRegasmAtItsFixedPath) {
  const RegasmPlacement regasm(ProgramFolder() + L"velbor_e2e_regasm.exe");
  ASSERT_NO_FATAL_FAILURE(Install(L"assembly"));
  const std::wstring assembly = corsenta_ + L"Velbor.Interop.dll";
  EXPECT_TRUE(HoldsExactly(assembly, Payload(L"assembly", L"Velbor.Interop.dll")));

  std::vector<std::pair<std::wstring, std::wstring>> runs;
  for (const ProcessTrace& run : regasm.WaitForRuns(2, kPatience)) {
    runs.emplace_back(run.commandLine, run.showWindow);
    EXPECT_TRUE(RanIn(run, corsenta_)) << run.currentFolder;
  }
  // The type library, named without a folder, lands beside its assembly.
  EXPECT_TRUE(ReadWholeFile(corsenta_ + L"Velbor.Interop.tlb").has_value());
  std::sort(runs.begin(), runs.end());
  const std::wstring tool = Quoted(RegasmPlacement::kToolPath);
  const std::vector<std::pair<std::wstring, std::wstring>> expected = {
      {tool + L" /codebase " + Quoted(assembly), std::to_wstring(SW_HIDE)},
      {tool + L" /nologo " + Quoted(assembly) + L" /tlb:Velbor.Interop.tlb",
       std::to_wstring(SW_SHOWMINIMIZED)},
  };
  EXPECT_EQ(runs, expected);
}

}  // namespace
}  // namespace velbor::testing
