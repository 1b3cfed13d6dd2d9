#include "tools/setup-inspect/package_faults.h"

#include "app/item_descriptor.h"
#include "host/failure.h"

namespace velbor {
namespace {

constexpr char kRetriesForEver[] =
    "the button counts a failed retry every 20 seconds; after 40 the box \"Interrompere?\" "
    "(Attenzione) asks whether to stop, and going on retries for ever: this item and every "
    "one after it are never installed";

constexpr char kRefused[] =
    "the program refuses to install: its payload is damaged (an error box titled \"Velbor "
    "S.r.l.\" asks to download it again, and the program ends with 1603); nothing is installed";

constexpr char kPicksByLanguage[] =
    "Windows picks one by the language of the customer's system: customers get "
    "different packages";

std::string U8(TextView text) { return Utf8FromText(text); }

std::string KeyText(const ResourceKey& key) {
  return key.text ? Quoted(*key.text) : std::to_string(key.id);
}

}  // namespace

std::string GroupedDigits(std::uint64_t value) {
  std::string digits = std::to_string(value);
  for (auto at = static_cast<std::ptrdiff_t>(digits.size()) - 3; at > 0; at -= 3) {
    digits.insert(static_cast<std::size_t>(at), ",");
  }
  return digits;
}

std::string Quoted(TextView text) { return "\"" + U8(text) + "\""; }

namespace fault {

std::string FirstBox(const DryRunHost& host) {
  if (host.Boxes().empty()) return "nothing";
  const DryRunHost::Box& box = host.Boxes().front();
  std::string text = "the box " + Quoted(box.prompt);
  if (box.title) text += " (" + U8(*box.title) + ")";
  return text;
}

PackageFault ProgramDamaged(const std::string& damage) {
  return {0, damage,
          "Windows reads the program as it finds it: the installer fails or does not start"};
}

PackageFault ImageTooLarge(std::uint64_t imageSize, std::uint64_t largestStartable) {
  return {0,
          "the program's image is " + GroupedDigits(imageSize) + " bytes, above the " +
              GroupedDigits(largestStartable) +
              " bytes that every supported Windows can map to start it",
          "only a system error: Windows cannot start the program (error 8, not enough memory)"};
}

PackageFault NoDigestsCarried() {
  return {0, "the program carries no SHA-256 of its items' bytes (resource PAYLOADSHA256 1)",
          kRefused};
}

PackageFault CountTooLarge(std::int32_t number, const Text& count, std::uint64_t largestCount) {
  return {number,
          "the item count " + Quoted(count) +
              " names more items than resource numbers can carry (" + GroupedDigits(largestCount) +
              ")",
          "\"Error 7\" when the machine's memory runs out, else " + std::string(kRetriesForEver)};
}

PackageFault CountUnreadable(std::int32_t number, std::int32_t failureNumber, const Text& count,
                             const std::string& pressBox) {
  std::string text;
  switch (failureNumber) {
    case failure::kResourceNotFound:
      text = "string 100, the item count, is missing (326)";
      break;
    case failure::kOverflow:
      text = "the item count " + Quoted(count) + " is too large (6)";
      break;
    case failure::kOutOfMemory:
      text = "the item count " + Quoted(count) + " asks for more items than memory holds (7)";
      break;
    default:
      text = "the item count " + Quoted(count) + " is not a number of at least 1 (" +
             std::to_string(failureNumber) + ")";
  }
  return {number, text, pressBox + " at every press; nothing is installed"};
}

PackageFault MissingDescriptors(std::int32_t item, std::int32_t last, std::int32_t count,
                                std::int32_t failureNumber) {
  const std::int32_t number = ItemResourceNumber(item);
  std::string text = "string " + std::to_string(number);
  if (last > item) text += " to " + std::to_string(ItemResourceNumber(last));
  text += last > item ? ", the descriptors of items " + std::to_string(item + 1) + " to " +
                            std::to_string(last + 1)
                      : ", the descriptor of item " + std::to_string(item + 1);
  text += " of " + std::to_string(count);
  text += failureNumber == failure::kResourceNotFound
              ? ", missing: no string of their block is in the program (326)"
              : ", empty or missing (9)";
  return {number, text, kRetriesForEver};
}

PackageFault DescriptorsShareBytes(std::int32_t item, std::int32_t count) {
  return {ItemResourceNumber(item),
          "the descriptors up to string " + std::to_string(ItemResourceNumber(item)) +
              " hold more text than the file has bytes: their string blocks share bytes, "
              "which no resource compiler writes; items " +
              std::to_string(item + 1) + " to " + std::to_string(count) + " are not inspected",
          "whatever the installer meets in a package built by hand"};
}

PackageFault ShortDescriptor(std::int32_t number, const Text& descriptor) {
  return {number, "the descriptor " + Quoted(descriptor) + " has fewer than three \"|\" (9)",
          kRetriesForEver};
}

PackageFault UnknownTemplate(std::int32_t number, const Text& targetTemplate,
                             const std::string& pressBox) {
  return {number, "the target template " + Quoted(targetTemplate) + " is none of the known forms",
          pressBox + " at every press, then " + kRetriesForEver};
}

PackageFault UnconfinedFileName(std::int32_t number, const Text& file) {
  return {number,
          "the file name " + Quoted(file) + " leaves its folder or is no name Windows keeps (52)",
          kRetriesForEver};
}

PackageFault MissingBytes(std::int32_t number, const Text& file) {
  return {number,
          "the bytes of " + Quoted(file) + " are missing: no CUSTOM resource " +
              std::to_string(number) + " (326)",
          kRetriesForEver};
}

PackageFault UndecodableFrame(std::int32_t number, const Text& file) {
  return {number,
          "the compressed bytes of " + Quoted(file) +
              " do not decode whole: the frame is damaged or cut short, or its size or "
              "checksum differs",
          "the write fails at every press: " + std::string(kRetriesForEver)};
}

PackageFault NoItemDigestCarried(std::int32_t number, const Text& file) {
  return {number, "the program carries no SHA-256 of " + Quoted(file), kRefused};
}

PackageFault StoredDigestDiffers(std::int32_t number, const Text& file, bool compressed,
                                 const Sha256Digest& carried) {
  return {number,
          std::string(compressed ? "the compressed bytes of " : "the bytes of ") + Quoted(file) +
              " differ from the SHA-256 that the program carries (" + HexText(carried) + ")",
          kRefused};
}

PackageFault ContentDigestDiffers(std::int32_t number, const Text& file,
                                  const std::optional<Sha256Digest>& carried) {
  return {number,
          "the content of " + Quoted(file) +
              " differs from the SHA-256 that the program carries for it (" +
              (carried ? HexText(*carried) : std::string("none")) + ")",
          "nothing at install: the program writes the content it stores, which is not the "
          "file the package was built from"};
}

PackageFault SameFile(std::int32_t number, const Text& path, std::int32_t firstNumber) {
  return {number, "writes " + Quoted(path) + ", as item " + std::to_string(firstNumber) + " does",
          "the later item's file replaces the earlier one's"};
}

std::string ResourceName(const ResourceKey& type, const ResourceKey& name) {
  return (type.text ? U8(*type.text) + " " : std::string("string block ")) + KeyText(name);
}

std::string StringName(std::int32_t number) { return "string " + std::to_string(number); }

PackageFault StringBlockCutShort(std::int32_t number) {
  return {number, "the string block holding string " + std::to_string(number) + " is cut short",
          "nothing: the installer never reads it"};
}

PackageFault MoreStringBlocksCutShort(std::uint64_t count) {
  return {0, GroupedDigits(count) + " more string blocks are cut short",
          "nothing: the installer never reads them"};
}

PackageFault UnusedResources(const std::string& names, std::int32_t count) {
  return {0,
          names + ": past the count of " + std::to_string(count) +
              " items, or no item's number; nothing installs them",
          "nothing: what they hold never reaches the customer"};
}

PackageFault ManyLanguages(const std::string& name, std::size_t languages,
                           const std::string& languageList) {
  return {0,
          name + " is stored in " + std::to_string(languages) + " languages (" + languageList + ")",
          kPicksByLanguage};
}

PackageFault MoreInManyLanguages(std::uint64_t count) {
  return {0, GroupedDigits(count) + " more are stored in more than one language", kPicksByLanguage};
}

PackageFault StreamPlaceOutside(std::int32_t number, const Text& file, std::uint64_t offset,
                                std::uint64_t size, std::uint64_t streamSize) {
  return {number,
          "the place of " + Quoted(file) + " (" + GroupedDigits(size) + " bytes at " +
              GroupedDigits(offset) + ") lies outside the decoded stream of " +
              GroupedDigits(streamSize) + " bytes",
          kRetriesForEver};
}

PackageFault StreamPlaceOverlaps(std::int32_t number, const Text& file, std::uint64_t offset,
                                 std::uint64_t size) {
  return {number,
          "the place of " + Quoted(file) + " (" + GroupedDigits(size) + " bytes at " +
              GroupedDigits(offset) + ") overlaps another item's",
          kRetriesForEver};
}

PackageFault StreamChecksumDiffers(std::int32_t number, const Text& file) {
  return {number,
          "the content of " + Quoted(file) +
              " in the stream differs from its checksum (XXH64) in the stream's table",
          "the write fails at every press: " + std::string(kRetriesForEver)};
}

PackageFault StreamTableNotWhole() {
  return {0,
          "the table of the items stored together (ITEMSTREAM 2) is not a whole number of "
          "records of 32 bytes",
          "no item of the stream is found: their bytes are missing (326)"};
}

PackageFault StreamUndecodable() {
  return {0,
          "the stream of the items stored together (ITEMSTREAM 1) does not decode whole: it is "
          "damaged or cut short, or its size or checksum differs",
          "the write of the first item it breaks, and of every later one in it, fails at every "
          "press: " +
              std::string(kRetriesForEver)};
}

PackageFault StreamBytesUnused(std::uint64_t count) {
  return {0,
          GroupedDigits(count) +
              " bytes of the stream of the items stored together are no item's content",
          "nothing: the installer decodes them past, and they only lengthen the download"};
}

}  // namespace fault
}  // namespace velbor
