#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "gtest/gtest.h"
#include "host/win32/unique_handle.h"
#include "host/win32/wide_text.h"
#include "host/win32/win32_file_system.h"
#include "host/win32/win32_processes.h"
#include "host/win32/windows_api.h"
#include "tests/support/bytes.h"
#include "tests/support/failures.h"
#include "tests/win32/win32_test_support.h"

namespace velbor::testing {
namespace {

// Reads what programs send to the debugger output while no debugger is attached,
// as DebugView does: through the shared buffer that OutputDebugString fills.
class DebugOutputReader {
 public:
  // The next message that holds `part`, or the empty text after a few seconds.
  std::string NextHolding(const std::string& part) {
    for (int message = 0; message < 20; ++message) {
      SetEvent(bufferReady_.Get());
      if (WaitForSingleObject(dataReady_.Get(), 5000) != WAIT_OBJECT_0) return {};
      const void* view = MapViewOfFile(buffer_.Get(), FILE_MAP_READ, 0, 0, 0);
      if (view == nullptr) return {};
      const std::string text(static_cast<const char*>(view) + sizeof(DWORD));
      UnmapViewOfFile(view);
      if (text.find(part) != std::string::npos) return text;
    }
    return {};
  }

 private:
  UniqueKernelHandle bufferReady_{CreateEventW(nullptr, FALSE, FALSE, L"DBWIN_BUFFER_READY")};
  UniqueKernelHandle dataReady_{CreateEventW(nullptr, FALSE, FALSE, L"DBWIN_DATA_READY")};
  UniqueKernelHandle buffer_{
      CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 4096, L"DBWIN_BUFFER")};
};

class Win32ProcessesTest : public ::testing::Test {
 protected:
  // Starts the trace helper with `arguments` and answers the trace it leaves.
  std::wstring TraceOfStart(WindowStyle windowStyle, const std::wstring& arguments) {
    const std::wstring trace =
        scratch_.Path() + L"trace-" + std::to_wstring(static_cast<int>(windowStyle));
    const std::wstring line = Quoted(HelperPath()) + L" " + Quoted(trace) + L" " + arguments;
    processes_.StartProcess(u"", TextFromWide(line), windowStyle, u"", nullptr);
    const auto bytes = WaitForFile(trace, std::chrono::seconds(20));
    if (!bytes) return L"(no trace)";
    return std::wstring(reinterpret_cast<const wchar_t*>(bytes->data()),
                        bytes->size() / sizeof(wchar_t));
  }

  static std::wstring HelperPath() { return ProgramFolder() + L"velbor_trace_helper.exe"; }

  ScratchFolder scratch_;
  Win32Processes processes_;
};

TEST_F(Win32ProcessesTest, StartsHiddenOrMinimizedWithTheArguments) {
  EXPECT_EQ(TraceOfStart(WindowStyle::kHidden, L"one \"two words\""), L"show 0\none\ntwo words\n");
  EXPECT_EQ(TraceOfStart(WindowStyle::kMinimizedFocus, L"/s"), L"show 2\n/s\n");
}

TEST_F(Win32ProcessesTest, AGivenProgramFileGetsTheCommandLineUnchanged) {
  const std::wstring trace = scratch_.Path() + L"trace-given";
  // The line's first word names no file: the program is the one given.
  processes_.StartProcess(TextFromWide(HelperPath()),
                          TextFromWide(L"not-a-program.exe " + Quoted(trace) + L" /s"),
                          WindowStyle::kHidden, u"", nullptr);
  const auto bytes = WaitForFile(trace, std::chrono::seconds(20));
  ASSERT_TRUE(bytes);
  EXPECT_EQ(std::wstring(reinterpret_cast<const wchar_t*>(bytes->data()),
                         bytes->size() / sizeof(wchar_t)),
            L"show 0\n/s\n");
}

TEST_F(Win32ProcessesTest, SystemFolderHoldsTheSystemsTools) {
  const std::wstring folder = WideFromText(processes_.SystemFolder());
  ASSERT_FALSE(folder.empty());
  EXPECT_NE(folder.back(), L'\\');
  EXPECT_NE(GetFileAttributesW((folder + L"\\regsvr32.exe").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(Win32ProcessesTest, AMissingProgramIsNotFound) {
  EXPECT_TRUE(FailsWith(53, [&] {
    processes_.StartProcess(u"", u"velbor-missing-tool.exe /s", WindowStyle::kHidden, u"", nullptr);
  }));
  const Text inFolder = TextFromWide(Quoted(scratch_.Path() + L"missing.exe") + L" /s");
  EXPECT_TRUE(FailsWith(53, [&] {
    processes_.StartProcess(u"", inFolder, WindowStyle::kMinimizedFocus, u"", nullptr);
  }));
}

TEST_F(Win32ProcessesTest, EmptyLinesAndLinesWithANulAreInvalid) {
  const Text helper = TextFromWide(Quoted(HelperPath()));
  EXPECT_TRUE(
      FailsWith(5, [&] { processes_.StartProcess(u"", u"", WindowStyle::kHidden, u"", nullptr); }));
  EXPECT_TRUE(FailsWith(5, [&] {
    processes_.StartProcess(u"", helper + Text(1, u'\0') + u"x", WindowStyle::kHidden, u"",
                            nullptr);
  }));
}

TEST_F(Win32ProcessesTest, WindowsFolderHoldsTheSystemFolder) {
  const Text windows = processes_.WindowsFolder();
  ASSERT_FALSE(windows.empty());
  EXPECT_EQ(processes_.SystemFolder().rfind(windows + u"\\", 0), 0u) << Utf8FromText(windows);
}

// The program keeps the hold, and the file is let go once the program has ended.
TEST_F(Win32ProcessesTest, AHoldGoesWhenTheProgramHasEnded) {
  const std::wstring held = scratch_.Path() + L"held.dll";
  Win32FileSystem files;
  files.WriteWholeFile(TextFromWide(held), ByteView(Bytes{1}), {});
  const std::wstring trace = scratch_.Path() + L"trace-held";
  processes_.StartProcess(u"", TextFromWide(Quoted(HelperPath()) + L" " + Quoted(trace)),
                          WindowStyle::kHidden, TextFromWide(scratch_.Path()),
                          files.HoldFile(TextFromWide(held), ByteView(Bytes{1})));
  ASSERT_TRUE(WaitForFile(trace, std::chrono::seconds(20)));
  bool deleted = false;
  for (int round = 0; round < 200 && !deleted; ++round) {
    deleted = DeleteFileW(held.c_str()) != FALSE;
    if (!deleted) Sleep(50);
  }
  EXPECT_TRUE(deleted);
}

// A support engineer sees, with a tool such as DebugView, how each started
// program ended.
TEST_F(Win32ProcessesTest, ExitCodeGoesToTheDebuggerOutputWithTheCommandLine) {
  DebugOutputReader output;
  // Without the trace's path the helper ends with exit code 2.
  const std::wstring line = Quoted(HelperPath());
  processes_.StartProcess(u"", TextFromWide(line), WindowStyle::kHidden, u"", nullptr);
  const std::string message = output.NextHolding("exit code");
  EXPECT_NE(message.find("exit code 2 of " + std::string(line.begin(), line.end())),
            std::string::npos)
      << message;
}

// Unattended runs wait for each tool and read how it ended.
TEST_F(Win32ProcessesTest, AnAwaitedProgramGivesItsExitCodeOrNothingWhenItRunsOn) {
  const std::wstring trace = scratch_.Path() + L"awaited";
  const Text helper = TextFromWide(Quoted(HelperPath()));
  const std::chrono::milliseconds patience{20000};
  EXPECT_EQ(processes_.StartAndAwait(u"", helper + TextFromWide(L" " + Quoted(trace)),
                                     WindowStyle::kHidden, u"", nullptr, patience),
            std::optional<std::uint32_t>(0));
  EXPECT_TRUE(ReadWholeFile(trace).has_value());
  // Without the trace's path the helper ends with exit code 2.
  EXPECT_EQ(processes_.StartAndAwait(u"", helper, WindowStyle::kHidden, u"", nullptr, patience),
            std::optional<std::uint32_t>(2));
  EXPECT_EQ(processes_.StartAndAwait(u"", helper, WindowStyle::kHidden, u"", nullptr,
                                     std::chrono::milliseconds(0)),
            std::nullopt);
  EXPECT_TRUE(FailsWith(53, [&] {
    processes_.StartAndAwait(u"", u"velbor-no-such-program.exe", WindowStyle::kHidden, u"", nullptr,
                             patience);
  }));
}

}  // namespace
}  // namespace velbor::testing
