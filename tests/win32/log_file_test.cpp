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

std::wstring Upper(std::wstring text) {
  for (wchar_t& c : text) {
    if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
  }
  return text;
}

// The path is compared with where the file really lies, in any letter case, after
// the system has made it full; a form that is not plainly one file is refused.
TEST(Win32LogFileTest, OpensOnlyWhereThePathSaysTheFileIs) {
  const ScratchFolder scratch;
  ASSERT_TRUE(CreateDirectoryW((scratch.Path() + L"Sub").c_str(), nullptr));
  Win32LogFile(TextFromWide(Upper(scratch.Path()) + L"SUB\\..\\setup.log")).Append("uno\r\n");
  EXPECT_EQ(Content(scratch.Path() + L"setup.log"), "\xEF\xBB\xBFuno\r\n");

  EXPECT_TRUE(FailsWith(
      52, [&] { Win32LogFile log(u"\\\\?\\" + TextFromWide(scratch.Path()) + u"a.log"); }));
  EXPECT_TRUE(FailsWith(52, [&] { Win32LogFile log(u"\\\\.\\pipe\\velbor"); }));
  EXPECT_NE(
      FailureNumberOf([&] { Win32LogFile log(TextFromWide(scratch.Path() + L"manca\\a.log")); }),
      0);
  // Wine shows a Unix symbolic link (made by the build beside this program) as a
  // plain folder, but names the file that it leads to by the link's target: the
  // file made there goes again.
  const std::wstring linked = ProgramFolder() + L"log_link\\setup.log";
  EXPECT_TRUE(FailsWith(70, [&] { Win32LogFile log(TextFromWide(linked)); }));
  EXPECT_EQ(GetFileAttributesW((ProgramFolder() + L"log_link_target\\setup.log").c_str()),
            INVALID_FILE_ATTRIBUTES);
}

}  // namespace
}  // namespace velbor::testing
