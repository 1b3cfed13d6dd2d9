#include <chrono>
#include <string>

#include "gtest/gtest.h"
#include "host/win32/wide_text.h"
#include "host/win32/win32_processes.h"
#include "host/win32/windows_api.h"
#include "tests/win32/failure_matchers.h"
#include "tests/win32/win32_test_support.h"

namespace velbor::testing {
namespace {

class Win32ProcessesTest : public ::testing::Test {
 protected:
  // Starts the trace helper with `arguments` and answers the trace it leaves.
  std::wstring TraceOfStart(std::int32_t windowStyle, const std::wstring& arguments) {
    const std::wstring trace = scratch_.Path() + L"trace-" + std::to_wstring(windowStyle);
    const std::wstring line = Quoted(HelperPath()) + L" " + Quoted(trace) + L" " + arguments;
    processes_.StartProcess(u"", TextFromWide(line), windowStyle);
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
  EXPECT_EQ(TraceOfStart(0, L"one \"two words\""), L"show 0\none\ntwo words\n");
  EXPECT_EQ(TraceOfStart(2, L"/s"), L"show 2\n/s\n");
}

TEST_F(Win32ProcessesTest, AGivenProgramFileGetsTheCommandLineUnchanged) {
  const std::wstring trace = scratch_.Path() + L"trace-given";
  // The line's first word names no file: the program is the one given.
  processes_.StartProcess(TextFromWide(HelperPath()),
                          TextFromWide(L"not-a-program.exe " + Quoted(trace) + L" /s"), 0);
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
  EXPECT_TRUE(
      FailsWith(53, [&] { processes_.StartProcess(u"", u"velbor-missing-tool.exe /s", 0); }));
  const Text inFolder = TextFromWide(Quoted(scratch_.Path() + L"missing.exe") + L" /s");
  EXPECT_TRUE(FailsWith(53, [&] { processes_.StartProcess(u"", inFolder, 2); }));
}

TEST_F(Win32ProcessesTest, OtherStylesAndEmptyLinesAreInvalid) {
  const Text helper = TextFromWide(Quoted(HelperPath()));
  for (std::int32_t style : {1, 3, 6, -1}) {
    EXPECT_TRUE(FailsWith(5, [&] { processes_.StartProcess(u"", helper, style); })) << style;
  }
  EXPECT_TRUE(FailsWith(5, [&] { processes_.StartProcess(u"", u"", 0); }));
  EXPECT_TRUE(
      FailsWith(5, [&] { processes_.StartProcess(u"", helper + Text(1, u'\0') + u"x", 0); }));
}

}  // namespace
}  // namespace velbor::testing
