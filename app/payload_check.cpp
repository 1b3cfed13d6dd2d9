#include "app/payload_check.h"

#include <algorithm>

#include "app/item_bytes.h"
#include "app/item_descriptor.h"
#include "app/item_table.h"
#include "host/failure.h"
#include "package/package_format.h"

namespace velbor {

namespace {

// Item `item`'s digest in the digests resource `number`; nothing without one.
std::optional<Sha256Digest> DigestIn(Resources& package, std::int32_t number, std::int32_t item) {
  Sha256Digest digest{};
  const std::uint64_t size = package.ResourceSize(number, kPayloadDigestsType);
  const std::uint64_t at = static_cast<std::uint64_t>(item) * digest.size();
  if (item < 0 || size < at + digest.size()) return std::nullopt;
  const ByteView digests = package.LoadResourceBytes(number, kPayloadDigestsType);
  std::copy_n(digests.begin() + static_cast<std::ptrdiff_t>(at), digest.size(), digest.begin());
  return digest;
}

}  // namespace

std::optional<Sha256Digest> CarriedDigest(Resources& package, std::int32_t item) {
  return DigestIn(package, kPayloadDigestsResource, item);
}

std::optional<Sha256Digest> CarriedContentDigest(Resources& package, std::int32_t item) {
  if (package.ResourceSize(kContentDigestsResource, kPayloadDigestsType) == 0) {
    return CarriedDigest(package, item);
  }
  return DigestIn(package, kContentDigestsResource, item);
}

PayloadContents ReadPayload(Resources& package) {
  PayloadContents payload;
  payload.digestsCarried = package.ResourceSize(kPayloadDigestsResource, kPayloadDigestsType) > 0;
  std::int32_t lastIndex = -1;
  try {
    lastIndex = ItemTable::SizedFromPackage(package).LastIndex();
  } catch (const HostFailure&) {
    return payload;
  }
  for (std::int32_t item = 0; item <= lastIndex; ++item) {
    const std::int32_t number = ItemResourceNumber(item);
    ByteView bytes;
    try {
      // Checked as stored: a compressed item's frame carries its own checksum, which
      // its decoding checks as it writes.
      bytes = LoadItemBytes(package, number).bytes;
    } catch (const HostFailure&) {
      continue;
    }
    payload.items.push_back({ItemFileNameInPackage(package, item), bytes,
                             CarriedDigest(package, item), CarriedContentDigest(package, item)});
  }
  return payload;
}

namespace {

// Items stored together share their stored bytes, which are checked once.
bool CheckedBefore(const PayloadContents& payload, std::size_t index) {
  const PayloadItem& item = payload.items[index];
  return std::any_of(
      payload.items.begin(), payload.items.begin() + static_cast<std::ptrdiff_t>(index),
      [&](const PayloadItem& earlier) {
        return earlier.bytes.data() == item.bytes.data() &&
               earlier.bytes.size() == item.bytes.size() && earlier.carried == item.carried;
      });
}

}  // namespace

std::uint64_t PayloadSize(const PayloadContents& payload) {
  std::uint64_t size = 0;
  for (std::size_t index = 0; index < payload.items.size(); ++index) {
    if (!CheckedBefore(payload, index)) size += payload.items[index].bytes.size();
  }
  return size;
}

std::optional<PayloadDamage> FindPayloadDamage(const PayloadContents& payload, const Sha256& sha256,
                                               const HashProgress& progress) {
  if (!payload.digestsCarried) return PayloadDamage{};
  std::uint64_t before = 0;
  for (std::size_t index = 0; index < payload.items.size(); ++index) {
    const PayloadItem& item = payload.items[index];
    if (!item.carried) return PayloadDamage{item.file};
    if (CheckedBefore(payload, index)) continue;
    const auto itemProgress = [&](std::uint64_t hashed) {
      if (progress) progress(before + hashed);
    };
    try {
      if (sha256.Of(item.bytes, itemProgress) != *item.carried) return PayloadDamage{item.file};
    } catch (const HostFailure&) {
      // Bytes that cannot be read to be checked cannot be written either.
      return PayloadDamage{item.file};
    }
    before += item.bytes.size();
  }
  return std::nullopt;
}

Text RefusalText(const PayloadDamage& damage) {
  Text text;
  if (damage.itemFile.empty()) {
    text =
        u"Il contenuto del programma di installazione non può essere verificato: il programma "
        u"è danneggiato.";
  } else {
    text = u"Il file \"" + damage.itemFile +
           u"\" contenuto nel programma di installazione è danneggiato.";
  }
  return text +
         u"\r\n\r\nNon è stato installato nulla. Scaricare di nuovo il programma di "
         u"installazione e avviarlo.";
}

}  // namespace velbor
