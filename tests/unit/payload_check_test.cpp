#include "app/payload_check.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <vector>

#include "host/posix/openssl_sha256.h"
#include "package/package_format.h"
#include "tests/doubles/scripted_host.h"
#include "tests/unit/installer_test_support.h"
#include "tests/unit/item_stream_support.h"

namespace velbor {
namespace {

using testing::AddItem;
using testing::ScriptedHost;

std::vector<std::uint8_t> DigestsOf(const std::vector<std::vector<std::uint8_t>>& items) {
  std::vector<std::uint8_t> digests;
  for (const auto& item : items) {
    const Sha256Digest digest = OpenSslSha256().Of(item, {});
    digests.insert(digests.end(), digest.begin(), digest.end());
  }
  return digests;
}

struct CheckCase {
  const char* what;
  std::vector<std::uint8_t> secondItem;              // the bytes the program carries for b.txt
  std::optional<std::vector<std::uint8_t>> digests;  // none: no digests resource
  std::optional<Text> damagedItem;
};

// Three items: a.txt {1, 2}, b.txt as the case has it, and c.txt whose bytes are
// missing (a fault of the package that the pass meets as before).
TEST(PayloadCheckTest, FindsTheFirstItemWhoseBytesDifferFromTheirDigest) {
  const std::vector<std::uint8_t> first = {1, 2};
  const std::vector<std::uint8_t> second = {3, 4, 5};
  const std::vector<std::uint8_t> sound = DigestsOf({first, second});
  std::vector<std::uint8_t> truncated(sound.begin(), sound.begin() + 40);
  const std::vector<CheckCase> cases = {
      {"sound", second, sound, std::nullopt},
      {"one byte changed", {3, 4, 6}, sound, Text(u"b.txt")},
      {"cut short", {3, 4}, sound, Text(u"b.txt")},
      {"no digest for the item", second, truncated, Text(u"b.txt")},
      {"no digests at all", second, std::nullopt, Text()},
  };
  for (const CheckCase& check : cases) {
    ScriptedHost host;
    host.Package().SetText(100, u"3");
    AddItem(host, 0, u"a.txt|<APPPATH>Corsenta/|N|", first);
    AddItem(host, 1, u"b.txt|<APPPATH>Corsenta/|N|", check.secondItem);
    host.Package().SetText(103, u"c.txt|<APPPATH>Corsenta/|N|");
    if (check.digests) {
      host.Package().SetBytes(kPayloadDigestsResource, kPayloadDigestsType, *check.digests);
    }
    const PayloadContents payload = ReadPayload(host);
    EXPECT_EQ(payload.items.size(), 2u) << check.what;
    std::uint64_t heard = 0;
    const OpenSslSha256 hashing;
    const auto damage =
        FindPayloadDamage(payload, hashing, [&](std::uint64_t hashed) { heard = hashed; });
    EXPECT_EQ(damage ? std::optional<Text>(damage->itemFile) : std::nullopt, check.damagedItem)
        << check.what;
    if (!damage) {
      EXPECT_EQ(heard, PayloadSize(payload)) << check.what;
    }
  }
}

// Items stored together share one stream, which is checked, and counted, once.
TEST(PayloadCheckTest, ChecksTheStreamOfItemsStoredTogetherOnce) {
  const testing::TestStream stream = testing::StoredTogether({{1, 2}, {3}});
  ScriptedHost host;
  host.Package().SetText(100, u"2");
  host.Package().SetText(101, u"a.txt|<APPPATH>Corsenta/|N|");
  host.Package().SetText(102, u"b.txt|<APPPATH>Corsenta/|N|");
  host.Package().SetBytes(kItemStreamResource, kItemStreamType, stream.frame);
  host.Package().SetBytes(kItemStreamTableResource, kItemStreamType, stream.table);
  host.Package().SetBytes(kPayloadDigestsResource, kPayloadDigestsType,
                          DigestsOf({stream.frame, stream.frame}));
  const PayloadContents payload = ReadPayload(host);
  ASSERT_EQ(payload.items.size(), 2u);
  EXPECT_EQ(PayloadSize(payload), stream.frame.size());
  std::uint64_t heard = 0;
  EXPECT_FALSE(
      FindPayloadDamage(payload, OpenSslSha256(), [&](std::uint64_t hashed) { heard = hashed; }));
  EXPECT_EQ(heard, stream.frame.size());
}

}  // namespace
}  // namespace velbor
