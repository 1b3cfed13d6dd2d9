// Runs natively against OpenSSL and under Wine against CNG: the same vectors for
// both backends, so each is checked against the standard and against the other.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#if defined(_WIN32)
#include "host/win32/cng_sha256.h"
#else
#include "host/posix/openssl_sha256.h"
#endif

namespace velbor {
namespace {

#if defined(_WIN32)
using SystemSha256 = CngSha256;
#else
using SystemSha256 = OpenSslSha256;
#endif

// FIPS 180-4's examples and the million "a" of the NIST test suite.
TEST(Sha256Test, GivesTheStandardDigests) {
  const std::pair<std::string, std::string> kCases[] = {
      {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
      {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
      {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
       "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
      {std::string(1000000, 'a'),
       "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
  };
  for (const auto& [message, digest] : kCases) {
    const std::vector<std::uint8_t> bytes(message.begin(), message.end());
    EXPECT_EQ(HexText(SystemSha256().Of(bytes, {})), digest) << message.size() << " bytes";
  }
}

}  // namespace
}  // namespace velbor
