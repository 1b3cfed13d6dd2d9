#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "host/resources.h"
#include "host/sha256.h"
#include "host/text.h"

namespace velbor {

// One item's bytes, with the digest that the program carries for them.
struct PayloadItem {
  // The descriptor's file name, or the resource number when it has none.
  Text file;
  // As stored, compressed or raw, with the digest the program carries of them.
  ByteView bytes;
  std::optional<Sha256Digest> carried;
  // The digest the program carries of the item's own bytes, as written.
  std::optional<Sha256Digest> carriedContent;
};

// The payload as the start button would find it.
struct PayloadContents {
  bool digestsCarried = false;
  // Only the items whose bytes are there: a missing one fails its pass as before.
  std::vector<PayloadItem> items;
};

// Why the payload is refused. `itemFile` names the item whose bytes differ from
// their digest (or could not be read to be checked); it is empty when the program
// carries no digests, so that nothing of it can be trusted.
struct PayloadDamage {
  Text itemFile;
};

// The digest that `package` carries for item `item`'s bytes as stored; nothing
// without one.
std::optional<Sha256Digest> CarriedDigest(Resources& package, std::int32_t item);

// The digest that `package` carries for item `item`'s own bytes: that of the bytes
// as stored in a program built before items were compressed, where they are the same.
std::optional<Sha256Digest> CarriedContentDigest(Resources& package, std::int32_t item);

// The items of `package`, read as a press of the start button reads them; none
// when the table cannot be sized (the press says why).
PayloadContents ReadPayload(Resources& package);

std::uint64_t PayloadSize(const PayloadContents& payload);

// The first reason to refuse `payload`, or nothing when every item's bytes match
// their digest. `progress` hears how many bytes of all items are hashed so far; a
// failure it throws leaves here.
std::optional<PayloadDamage> FindPayloadDamage(const PayloadContents& payload, const Sha256& sha256,
                                               const HashProgress& progress);

// What the refusal's box says.
Text RefusalText(const PayloadDamage& damage);

// Told how many of the payload's bytes are checked so far.
using CheckProgress = std::function<void(std::uint64_t checked, std::uint64_t total)>;

// The check of the payload that runs beside the window from start-up.
class PayloadCheck {
 public:
  virtual ~PayloadCheck() = default;

  // The check's verdict, waited for when the check has not ended: meanwhile
  // `progress` is told on the calling thread, at least every 50 ms, how far it
  // has come.
  virtual std::optional<PayloadDamage> AwaitVerdict(const CheckProgress& progress) = 0;
};

}  // namespace velbor
