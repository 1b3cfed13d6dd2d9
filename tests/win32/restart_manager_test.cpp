#include <string>

#include "gtest/gtest.h"
#include "host/win32/restart_manager_holders.h"
#include "host/win32/unique_handle.h"
#include "host/win32/wide_text.h"
#include "host/win32/windows_api.h"
#include "tests/win32/win32_test_support.h"

namespace velbor::testing {
namespace {

// Windows names the program that holds the file; Wine's Restart Manager is a stub
// that names nobody. Either way the question is asked and never fails.
TEST(RestartManagerHoldersTest, AskingAboutAFileHeldOpenNeverFails) {
  const ScratchFolder scratch;
  const std::wstring path = scratch.Path() + L"held.bin";
  const UniqueFileHandle held(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                          FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(held.IsValid());
  RestartManagerHolders holders;
  for (const FileHolder& holder : holders.HoldersOf(TextFromWide(path))) {
    EXPECT_EQ(holder.processId, GetCurrentProcessId());
  }
  EXPECT_TRUE(holders.HoldersOf(TextFromWide(scratch.Path() + L"missing.bin")).empty());
  EXPECT_TRUE(holders.HoldersOf(Text(u"bad\0name", 8)).empty());
}

}  // namespace
}  // namespace velbor::testing
