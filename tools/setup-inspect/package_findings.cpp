#include "tools/setup-inspect/package_findings.h"

#include <algorithm>
#include <map>
#include <utility>

#include "app/form1.h"
#include "app/item_bytes.h"
#include "app/item_count.h"
#include "app/item_descriptor.h"
#include "app/item_file_name.h"
#include "app/item_registration.h"
#include "app/item_table.h"
#include "app/payload_check.h"
#include "host/failure.h"
#include "package/package_format.h"
#include "package/string_block.h"
#include "paths/installation_folders.h"
#include "paths/target_folder_resolver.h"
#include "registry/registry_library.h"
#include "tools/setup-inspect/dry_run_host.h"
#include "tools/setup-inspect/range_digests.h"

namespace velbor {
namespace {

constexpr std::uint16_t kStringType = 6;
constexpr char kRetriesForEver[] =
    "the button counts a failed retry every 20 seconds; after 40 the box \"Interrompere?\" "
    "(Attenzione) asks whether to stop, and going on retries for ever: this item and every "
    "one after it are never installed";

std::string U8(TextView text) { return Utf8FromText(text); }

std::string Quoted(TextView text) { return "\"" + U8(text) + "\""; }

std::string BoxText(const DryRunHost::Box& box) {
  std::string text = "the box " + Quoted(box.prompt);
  if (box.title) text += " (" + U8(*box.title) + ")";
  return text;
}

constexpr char kRefused[] =
    "the program refuses to install: its payload is damaged (an error box titled \"Velbor "
    "S.r.l.\" asks to download it again, and the program ends with 1603); nothing is installed";

// The payload's digests are checked by the inspection itself.
class PayloadCheckedElsewhere final : public PayloadCheck {
 public:
  std::optional<PayloadDamage> AwaitVerdict(const CheckProgress&) override { return std::nullopt; }
};

// Shows nothing: the inspection only needs to know that the handler ran.
class NoWindow final : public MainWindow {
 public:
  void SetStartButtonCaption(const Text&) override {}
  void SetTimerEnabled(bool) override {}
};

// The installer's own pieces, working on the dry-run host.
class Installer {
 public:
  explicit Installer(PeResources& program)
      : program_(program),
        registry_(host_),
        folders_(registry_, host_),
        resolver_(folders_, host_, host_),
        installer_{program_, host_, host_, host_, host_} {}

  DryRunHost& Host() { return host_; }
  PeResources& Program() { return program_; }
  TargetFolderResolver& Resolver() { return resolver_; }

  // The box that a press of the start button shows.
  std::string PressBox() {
    host_.Forget();
    NoWindow window;
    PayloadCheckedElsewhere check;
    Form1 form(installer_, window, resolver_.Resolver(), check);
    form.cmdAvviaConTimer_Click();
    return host_.Boxes().empty() ? std::string("nothing") : BoxText(host_.Boxes().front());
  }

 private:
  PeResources& program_;
  DryRunHost host_;
  RegistryLibrary registry_;
  InstallationFolders folders_;
  TargetFolderResolver resolver_;
  InstallerHost installer_;
};

std::string CountFault(std::int32_t number, const Text& count) {
  switch (number) {
    case failure::kResourceNotFound:
      return "string 100, the item count, is missing (326)";
    case failure::kOverflow:
      return "the item count " + Quoted(count) + " is too large (6)";
    case failure::kOutOfMemory:
      return "the item count " + Quoted(count) + " asks for more items than memory holds (7)";
    default:
      return "the item count " + Quoted(count) + " is not a number of at least 1 (" +
             std::to_string(number) + ")";
  }
}

// "the maker's folder + Corsenta\, proven by Corsenta.exe", from the marker file the
// resolution looked for and the folder it gave.
Text Meaning(const Text& markerPath, const Text& folder) {
  const std::size_t separator = markerPath.find_last_of(u'\\');
  const Text proven = markerPath.substr(0, separator + 1);
  Text meaning;
  for (const auto& [placeholder, name] :
       {std::pair<TextView, TextView>{kMakerFolderPlaceholder, u"the maker's folder"},
        {kCommonFilesPlaceholder, u"the common files folder"},
        {kProgramFilesPlaceholder, u"the program files folder"}}) {
    if (proven.starts_with(placeholder)) {
      meaning = Text(name) + u" + " + proven.substr(placeholder.size() + 1);
    }
  }
  meaning += u", proven by ";
  meaning += markerPath.substr(separator + 1);
  if (folder.starts_with(proven) && folder.size() > proven.size()) {
    meaning += u", then ";
    meaning += folder.substr(proven.size());
    meaning += u" (which must exist)";
  }
  return meaning;
}

// 0 for a descriptor that is there; else the failure its reading meets: 326 when
// its string block is missing, 9 when it is empty, as an absent string in a present
// block reads.
std::int32_t MissingDescriptor(Resources& program, std::int32_t item) {
  try {
    return program.LoadResourceText(ItemResourceNumber(item)).empty()
               ? failure::kSubscriptOutOfRange
               : 0;
  } catch (const HostFailure& caught) {
    return caught.Number();
  }
}

// Item `item`'s descriptor is missing: one fault for it and the ones after it that
// are missing alike. Answers the last item the fault covers.
std::int32_t ReportMissingDescriptors(PackageFindings& inspection, Resources& program,
                                      std::int32_t item, std::int32_t lastIndex) {
  const std::int32_t missing = MissingDescriptor(program, item);
  std::int32_t last = item;
  while (last < lastIndex && MissingDescriptor(program, last + 1) == missing) ++last;
  const std::int32_t number = ItemResourceNumber(item);
  std::string fault = "string " + std::to_string(number);
  if (last > item) fault += " to " + std::to_string(ItemResourceNumber(last));
  fault += last > item ? ", the descriptors of items " + std::to_string(item + 1) + " to " +
                             std::to_string(last + 1)
                       : ", the descriptor of item " + std::to_string(item + 1);
  fault += " of " + std::to_string(lastIndex + 1);
  fault += missing == failure::kResourceNotFound
               ? ", missing: no string of their block is in the program (326)"
               : ", empty or missing (9)";
  inspection.faults.push_back({number, fault, kRetriesForEver});
  return last;
}

// Decodes a compressed item as the installer does when it writes it: its size and
// SHA-256, or a fault when the frame does not decode whole and sound.
void DecodeItem(PackageFindings& inspection, InspectedItem& inspected, RangeDigests& digests) {
  if (const std::optional<DecodedContent> content = digests.Decoded(inspected.stored->bytes)) {
    inspected.digest = content->digest;
    inspected.size = content->size;
  } else {
    inspection.faults.push_back(
        {inspected.number,
         "the compressed bytes of " + Quoted(inspected.file) +
             " do not decode whole: the frame is damaged or cut short, or its size or "
             "checksum differs",
         "the write fails at every press: " + std::string(kRetriesForEver)});
  }
}

// The digests of an item against those the program carries: of its bytes as stored,
// which the program checks before it writes anything, and of what it writes.
void CheckDigests(PackageFindings& inspection, InspectedItem& inspected, Resources& program,
                  std::int32_t item, RangeDigests& digests) {
  const bool compressed = inspected.stored->storage == Storage::kZstd;
  const Sha256Digest stored = digests.Stored(inspected.stored->bytes);
  if (compressed) {
    DecodeItem(inspection, inspected, digests);
  } else {
    inspected.digest = stored;
    inspected.size = inspected.stored->bytes.size();
  }
  inspected.carried = CarriedContentDigest(program, item);
  if (program.ResourceSize(kPayloadDigestsResource, kPayloadDigestsType) == 0) return;
  const std::optional<Sha256Digest> carriedStored = CarriedDigest(program, item);
  if (!carriedStored) {
    inspection.faults.push_back({inspected.number,
                                 "the program carries no SHA-256 of " + Quoted(inspected.file),
                                 kRefused});
  } else if (*carriedStored != stored) {
    inspection.faults.push_back(
        {inspected.number,
         std::string(compressed ? "the compressed bytes of " : "the bytes of ") +
             Quoted(inspected.file) + " differ from the SHA-256 that the program carries (" +
             HexText(*carriedStored) + ")",
         kRefused});
  } else if (inspected.digest && inspected.carried != inspected.digest) {
    inspection.faults.push_back(
        {inspected.number,
         "the content of " + Quoted(inspected.file) +
             " differs from the SHA-256 that the program carries for it (" +
             (inspected.carried ? HexText(*inspected.carried) : std::string("none")) + ")",
         "nothing at install: the program writes the content it stores, which is not the "
         "file the package was built from"});
  }
}

void InspectItem(PackageFindings& inspection, Installer& installer, ItemTable& table,
                 std::int32_t item, RangeDigests& digests) {
  const std::int32_t number = ItemResourceNumber(item);
  DryRunHost& host = installer.Host();
  try {
    ReadItemDescriptor(installer.Program(), table, item);
  } catch (const HostFailure&) {
    inspection.faults.push_back({number,
                                 "the descriptor " +
                                     Quoted(installer.Program().LoadResourceText(number)) +
                                     " has fewer than three \"|\" (9)",
                                 kRetriesForEver});
    return;
  }
  InspectedItem inspected{
      number, table.ItemFile(item), table.ItemTarget(item), {}, {}, {}, {}, {}, {}, {}};
  host.Forget();
  inspected.folder = installer.Resolver().GeneraPathDll(inspected.targetTemplate);
  if (inspected.folder.empty()) {
    inspection.faults.push_back(
        {number,
         "the target template " + Quoted(inspected.targetTemplate) + " is none of the known forms",
         (host.Boxes().empty() ? std::string("nothing") : BoxText(host.Boxes().front())) +
             " at every press, then " + kRetriesForEver});
  } else if (!host.LookedFor().empty()) {
    inspected.meaning = Meaning(host.LookedFor().back(), inspected.folder);
  }
  const bool confined = IsConfinedFileName(inspected.file);
  if (!confined) {
    inspection.faults.push_back({number,
                                 "the file name " + Quoted(inspected.file) +
                                     " leaves its folder or is no name Windows keeps (52)",
                                 kRetriesForEver});
  }
  try {
    inspected.stored = LoadItemBytes(installer.Program(), number);
    CheckDigests(inspection, inspected, installer.Program(), item, digests);
  } catch (const HostFailure&) {
    inspection.faults.push_back({number,
                                 "the bytes of " + Quoted(inspected.file) +
                                     " are missing: no CUSTOM resource " + std::to_string(number) +
                                     " (326)",
                                 kRetriesForEver});
  }
  if (!inspected.folder.empty() && confined && table.ItemState(item, 0) == kRegisterFlag) {
    host.Forget();
    try {
      StartRegistration(host, inspected.folder, inspected.file, table.ItemState(item, 1), nullptr);
    } catch (const HostFailure&) {
      // The dry-run host starts every tool and answers the usual Windows folder,
      // so nothing fails here.
    }
    inspected.commandLines = host.CommandLines();
  }
  inspection.items.push_back(std::move(inspected));
}

// The file an item writes, as Windows compares names: separators alike, ASCII
// letters in either case.
Text WrittenPath(const InspectedItem& item) {
  Text path = item.folder + item.file;
  std::replace(path.begin(), path.end(), u'/', u'\\');
  std::transform(path.begin(), path.end(), path.begin(), [](char16_t c) {
    return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - 32) : c;
  });
  return path;
}

void CheckSameFiles(PackageFindings& inspection) {
  std::map<Text, std::int32_t> writers;
  for (const InspectedItem& item : inspection.items) {
    if (item.folder.empty()) continue;
    const auto [first, isNew] = writers.try_emplace(WrittenPath(item), item.number);
    if (isNew) continue;
    inspection.faults.push_back({item.number,
                                 "writes " + Quoted(item.folder + item.file) + ", as item " +
                                     std::to_string(first->second) + " does",
                                 "the later item's file replaces the earlier one's"});
  }
}

std::string KeyText(const ResourceKey& key) {
  return key.text ? Quoted(*key.text) : std::to_string(key.id);
}

// A hostile file may repeat a finding hundreds of thousands of times: the first
// few are named, the rest counted, so the report stays readable and small.
class FewNamed {
 public:
  static constexpr std::size_t kNamed = 20;

  // Counts one more; answers whether it is among those named.
  bool Add() { return ++count_ <= kNamed; }
  std::size_t Unnamed() const { return count_ > kNamed ? count_ - kNamed : 0; }

 private:
  std::size_t count_ = 0;
};

// Resources that no item's number reaches, and numbers stored in more than one
// language, of which Windows picks one by the language of the customer's system.
void CheckResources(PackageFindings& inspection, PeResources& program, std::int32_t lastIndex) {
  const auto isItem = [&](std::int64_t number) {
    return number >= kFirstItemResource && number <= std::int64_t{kFirstItemResource} + lastIndex;
  };
  std::string unusedList;
  FewNamed unused;
  const auto addUnused = [&](const std::string& name) {
    if (unused.Add()) unusedList += (unusedList.empty() ? "" : ", ") + name;
  };
  FewNamed cutShort;
  std::vector<PackageFault> languageFaults;
  FewNamed manyLanguages;
  for (const std::vector<const ResourceEntry*>& group : program.SameTypeAndName()) {
    const ResourceEntry& first = *group.front();
    const bool strings = !first.type.text && first.type.id == kStringType;
    const bool bytes =
        first.type.text && (EqualIgnoringAsciiCase(*first.type.text, kItemBytesType) ||
                            EqualIgnoringAsciiCase(*first.type.text, kCompressedItemType));
    if (!strings && !bytes) continue;
    if (group.size() > 1 && manyLanguages.Add()) {
      std::string list;
      for (const ResourceEntry* entry : group)
        list += (list.empty() ? "" : ", ") + std::to_string(entry->language);
      languageFaults.push_back(
          {0,
           (strings ? "string block " : U8(*first.type.text) + " ") + KeyText(first.name) +
               " is stored in " + std::to_string(group.size()) + " languages (" + list + ")",
           "Windows picks one by the language of the customer's system: customers get "
           "different packages"});
    }
    // An item's CUSTOM resource is not read where the build stored it compressed.
    const bool replaced = bytes && !first.name.text &&
                          EqualIgnoringAsciiCase(*first.type.text, kItemBytesType) &&
                          program.ResourceSize(first.name.id, kCompressedItemType) > 0;
    if (bytes && (first.name.text || !isItem(first.name.id) || replaced)) {
      addUnused(U8(*first.type.text) + " " + KeyText(first.name));
    }
    if (!strings || first.name.text) continue;
    for (const ResourceEntry* entry : group) {
      if (!entry->data) continue;
      for (std::int32_t index = 0; index < kStringsPerBlock; ++index) {
        const std::int32_t number = (first.name.id - 1) * kStringsPerBlock + index;
        if (number == kItemCountResource || isItem(number)) continue;
        try {
          if (!StringUnitsInBlock(*entry->data, index, number).empty()) {
            addUnused("string " + std::to_string(number));
          }
        } catch (const HostFailure&) {
          if (cutShort.Add()) {
            inspection.faults.push_back(
                {number,
                 "the string block holding string " + std::to_string(number) + " is cut short",
                 "nothing: the installer never reads it"});
          }
          break;
        }
      }
    }
  }
  if (cutShort.Unnamed() != 0) {
    inspection.faults.push_back(
        {0, GroupedDigits(cutShort.Unnamed()) + " more string blocks are cut short",
         "nothing: the installer never reads them"});
  }
  if (!unusedList.empty()) {
    if (unused.Unnamed() != 0) unusedList += " and " + GroupedDigits(unused.Unnamed()) + " more";
    inspection.faults.push_back({0,
                                 unusedList + ": past the count of " +
                                     std::to_string(lastIndex + 1) +
                                     " items, or no item's number; nothing installs them",
                                 "nothing: what they hold never reaches the customer"});
  }
  inspection.faults.insert(inspection.faults.end(), languageFaults.begin(), languageFaults.end());
  if (manyLanguages.Unnamed() != 0) {
    inspection.faults.push_back(
        {0, GroupedDigits(manyLanguages.Unnamed()) + " more are stored in more than one language",
         "Windows picks one by the language of the customer's system: customers get "
         "different packages"});
  }
}

}  // namespace

std::string GroupedDigits(std::uint64_t value) {
  std::string digits = std::to_string(value);
  for (auto at = static_cast<std::ptrdiff_t>(digits.size()) - 3; at > 0; at -= 3) {
    digits.insert(static_cast<std::size_t>(at), ",");
  }
  return digits;
}

PackageFindings InspectPackage(PeResources& program) {
  PackageFindings inspection{program.Is64Bit(), program.ImageSize(), {}, {}};
  for (const std::string& damage : program.Damage()) {
    inspection.faults.push_back(
        {0, damage,
         "Windows reads the program as it finds it: the installer fails or does not start"});
  }
  if (inspection.imageSize > kLargestStartableImage) {
    inspection.faults.push_back(
        {0,
         "the program's image is " + GroupedDigits(inspection.imageSize) + " bytes, above the " +
             GroupedDigits(kLargestStartableImage) +
             " bytes that every supported Windows can map to start it",
         "only a system error: Windows cannot start the program (error 8, not enough memory)"});
  }

  if (program.ResourceSize(kPayloadDigestsResource, kPayloadDigestsType) == 0) {
    inspection.faults.push_back(
        {0, "the program carries no SHA-256 of its items' bytes (resource PAYLOADSHA256 1)",
         kRefused});
  }

  Installer installer(program);
  Text count;
  std::int32_t lastIndex = -1;
  try {
    count = program.LoadResourceText(kItemCountResource);
    lastIndex = LastIndexFromCount(count);
  } catch (const HostFailure&) {
  }
  // Larger counts name items that no resource number can carry.
  constexpr std::int32_t kLargestLastIndex = kLargestResourceId - kFirstItemResource;
  if (lastIndex > kLargestLastIndex) {
    inspection.faults.push_back(
        {kItemCountResource,
         "the item count " + Quoted(count) + " names more items than resource numbers can carry (" +
             GroupedDigits(kLargestLastIndex + 1) + ")",
         "\"Error 7\" when the machine's memory runs out, else " + std::string(kRetriesForEver)});
    return inspection;
  }

  ItemTable table;
  try {
    table = ItemTable::SizedFromPackage(program);
  } catch (const HostFailure& caught) {
    inspection.faults.push_back({kItemCountResource, CountFault(caught.Number(), count),
                                 installer.PressBox() + " at every press; nothing is installed"});
    return inspection;
  }
  // The descriptors together cannot hold more text than the file has bytes,
  // unless their string blocks share bytes: a few megabytes would then read as
  // gigabytes of descriptors.
  std::uint64_t textLeft = program.FileSize();
  RangeDigests digests;
  for (std::int32_t item = 0; item <= table.LastIndex(); ++item) {
    if (MissingDescriptor(program, item) != 0) {
      item = ReportMissingDescriptors(inspection, program, item, table.LastIndex());
      continue;
    }
    const std::size_t length = program.LoadResourceText(ItemResourceNumber(item)).size();
    if (length > textLeft) {
      inspection.faults.push_back(
          {ItemResourceNumber(item),
           "the descriptors up to string " + std::to_string(ItemResourceNumber(item)) +
               " hold more text than the file has bytes: their string blocks share bytes, "
               "which no resource compiler writes; items " +
               std::to_string(item + 1) + " to " + std::to_string(table.LastIndex() + 1) +
               " are not inspected",
           "whatever the installer meets in a package built by hand"});
      break;
    }
    textLeft -= length;
    InspectItem(inspection, installer, table, item, digests);
  }
  CheckSameFiles(inspection);
  CheckResources(inspection, program, table.LastIndex());
  return inspection;
}

}  // namespace velbor
