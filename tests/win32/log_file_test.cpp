#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "gtest/gtest.h"
#include "host/win32/wide_text.h"
#include "host/win32/win32_log_file.h"
#include "host/win32/windows_api.h"
#include "tests/support/failures.h"
#include "tests/win32/win32_test_support.h"

namespace velbor::testing {
namespace {

std::string Content(const std::wstring& path) {
  const std::optional<std::vector<std::uint8_t>> bytes = ReadWholeFile(path);
  return bytes ? std::string(bytes->begin(), bytes->end()) : std::string("(none)");
}

TEST(Win32LogFileTest, ANewLogOpensWithTheByteOrderMarkAndEveryOpeningAppends) {
  const ScratchFolder scratch;
  const std::wstring path = scratch.Path() + L"setup.log";
  {
    Win32LogFile log(TextFromWide(path));
    log.Append("uno\r\n");
    // Readable, and open to another installer's appending, while it is written.
    Win32LogFile second(TextFromWide(path));
    second.Append("due\r\n");
    EXPECT_EQ(Content(path), "\xEF\xBB\xBFuno\r\ndue\r\n");
  }
  Win32LogFile again(TextFromWide(path));
  again.Append("tre\r\n");
  EXPECT_EQ(Content(path), "\xEF\xBB\xBFuno\r\ndue\r\ntre\r\n");
  const LocalTime now = again.Now();
  EXPECT_GE(now.year, 2024);
  EXPECT_LT(now.millisecond, 1000);
}

// The elevated installer never appends to a file that it was pointed to through
// a second name or that is no file at all.
TEST(Win32LogFileTest, ASecondNameOfAFileAFolderOrAMissingFolderIsRefused) {
  const ScratchFolder scratch;
  const std::wstring target = scratch.Path() + L"system.dat";
  { Win32LogFile make(TextFromWide(target)); }
  const std::wstring link = scratch.Path() + L"link.log";
  ASSERT_TRUE(CreateHardLinkW(link.c_str(), target.c_str(), nullptr));
  EXPECT_TRUE(FailsWith(70, [&] { Win32LogFile log(TextFromWide(link)); }));
  EXPECT_EQ(Content(target), "\xEF\xBB\xBF");

  EXPECT_NE(FailureNumberOf([&] { Win32LogFile log(TextFromWide(scratch.Path())); }), 0);
  EXPECT_NE(FailureNumberOf(
                [&] { Win32LogFile log(TextFromWide(scratch.Path() + L"manca\\setup.log")); }),
            0);
}

}  // namespace
}  // namespace velbor::testing
