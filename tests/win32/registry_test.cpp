#include <string>
#include <vector>

#include "gtest/gtest.h"
#include "host/win32/win32_registry.h"
#include "host/win32/windows_api.h"

namespace velbor::testing {
namespace {

constexpr char kTestKey[] = "Software\\VelborHostTests";

// Each case starts without the test key and leaves none behind.
class Win32RegistryTest : public ::testing::Test {
 protected:
  Win32RegistryTest() { RegDeleteTreeA(HKEY_CURRENT_USER, kTestKey); }
  ~Win32RegistryTest() override { RegDeleteTreeA(HKEY_CURRENT_USER, kTestKey); }

  // Creates the test key with a REG_SZ value written behind the interface's back.
  void PutTextValue(const char* name, const std::string& text) {
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kTestKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &key, nullptr),
              ERROR_SUCCESS);
    const LSTATUS status =
        RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                       static_cast<DWORD>(text.size() + 1));
    ::RegCloseKey(key);
    ASSERT_EQ(status, ERROR_SUCCESS);
  }

  Win32Registry registry_;
};

TEST_F(Win32RegistryTest, CreatesThenOpensAKey) {
  RegKey created = 0;
  std::uint32_t disposition = 0;
  ASSERT_EQ(registry_.RegCreateKeyExA(reg::kCurrentUser, kTestKey, 0, "", 0, reg::kKeyAllAccess,
                                      SecurityAttributes{}, created, disposition),
            reg::kSuccess);
  EXPECT_EQ(disposition, static_cast<std::uint32_t>(REG_CREATED_NEW_KEY));
  EXPECT_EQ(registry_.RegCloseKey(created), reg::kSuccess);

  ASSERT_EQ(registry_.RegCreateKeyExA(reg::kCurrentUser, kTestKey, 0, "", 0, reg::kKeyAllAccess,
                                      SecurityAttributes{}, created, disposition),
            reg::kSuccess);
  EXPECT_EQ(disposition, static_cast<std::uint32_t>(REG_OPENED_EXISTING_KEY));
  EXPECT_EQ(registry_.RegCloseKey(created), reg::kSuccess);

  RegKey opened = 0;
  ASSERT_EQ(registry_.RegOpenKeyExA(reg::kCurrentUser, kTestKey, 0, reg::kKeyRead, opened),
            reg::kSuccess);
  EXPECT_NE(opened, 0);
  EXPECT_EQ(registry_.RegCloseKey(opened), reg::kSuccess);
  EXPECT_EQ(registry_.RegOpenKeyExA(reg::kCurrentUser, std::string(kTestKey) + "\\Missing", 0,
                                    reg::kKeyRead, opened),
            reg::kFileNotFound);
}

TEST_F(Win32RegistryTest, QueriesTheSizeThenTheData) {
  PutTextValue("strPath", "C:\\Velbor");
  RegKey key = 0;
  ASSERT_EQ(registry_.RegOpenKeyExA(reg::kCurrentUser, kTestKey, 0, reg::kKeyRead, key),
            reg::kSuccess);

  std::uint32_t type = 0;
  std::uint32_t size = 0;
  EXPECT_EQ(registry_.RegQueryValueExA(key, "strPath", type, nullptr, size), reg::kSuccess);
  EXPECT_EQ(type, reg::kTypeSz);
  EXPECT_EQ(size, 10u);  // the text and its terminating zero

  std::vector<std::uint8_t> data(size);
  EXPECT_EQ(registry_.RegQueryValueExA(key, "strPath", type, data.data(), size), reg::kSuccess);
  EXPECT_EQ(std::string(data.begin(), data.end()), std::string("C:\\Velbor", 10));

  std::uint32_t small = 4;
  EXPECT_EQ(registry_.RegQueryValueExA(key, "strPath", type, data.data(), small), reg::kMoreData);
  EXPECT_EQ(small, 10u);
  EXPECT_EQ(registry_.RegQueryValueExA(key, "missing", type, nullptr, size), reg::kFileNotFound);
  EXPECT_EQ(registry_.RegCloseKey(key), reg::kSuccess);
}

// The code is passed on unchanged; Windows answers ERROR_INVALID_HANDLE.
TEST_F(Win32RegistryTest, ClosingAKeyThatIsNotOpenAnswersTheSystemsCode) {
  RegKey key = 0;
  ASSERT_EQ(registry_.RegOpenKeyExA(reg::kCurrentUser, "Software", 0, reg::kKeyRead, key),
            reg::kSuccess);
  ASSERT_EQ(registry_.RegCloseKey(key), reg::kSuccess);
  EXPECT_EQ(registry_.RegCloseKey(key), reg::kInvalidHandle);
}

TEST_F(Win32RegistryTest, AnsiRoundTrip) {
  const std::string ansi = registry_.AnsiFromText(u"è");
  if (GetACP() == 1252) {
    EXPECT_EQ(ansi, "\xE8");
  }
  EXPECT_EQ(registry_.TextFromAnsi(ansi), u"è");
  EXPECT_EQ(registry_.TextFromAnsi(std::string("a\0b", 3)), Text(u"a\0b", 3));
  EXPECT_EQ(registry_.AnsiFromText(u""), "");
}

}  // namespace
}  // namespace velbor::testing
