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

// A new log opens with the byte-order mark and every opening appends; the elevated
// installer never appends to a file that it was pointed to through a second name.
TEST(Win32LogFileTest, AppendsToANewOrOldLogButNeverThroughASecondName) {
  const ScratchFolder scratch;
  const std::wstring path = scratch.Path() + L"setup.log";
  {
    Win32LogFile log(TextFromWide(path));
    log.Append("uno\r\n");
    // Open to another installer's appending while it is written.
    Win32LogFile(TextFromWide(path)).Append("due\r\n");
  }
  Win32LogFile(TextFromWide(path)).Append("tre\r\n");
  EXPECT_EQ(Content(path), "\xEF\xBB\xBFuno\r\ndue\r\ntre\r\n");

  const std::wstring link = scratch.Path() + L"link.log";
  ASSERT_TRUE(CreateHardLinkW(link.c_str(), path.c_str(), nullptr));
  EXPECT_TRUE(FailsWith(70, [&] { Win32LogFile log(TextFromWide(link)); }));
  EXPECT_NE(FailureNumberOf([&] { Win32LogFile log(TextFromWide(scratch.Path())); }), 0);
}

}  // namespace
}  // namespace velbor::testing
