#include <gtest/gtest.h>
#include <unistd.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "host/failure.h"
#include "host/posix/openssl_sha256.h"
#include "package/content_checksum.h"
#include "package/item_stream.h"
#include "package/pe_resources.h"
#include "tests/contract/zstd_test_frame.h"
#include "tests/support/bytes.h"
#include "tests/support/failures.h"
#include "tools/setup-inspect/package_findings.h"
#include "tools/setup-inspect/package_report.h"
#include "tools/setup-inspect/run_tool.h"

namespace velbor {
namespace {

using testing::Bytes;

Bytes Data(const std::string& text) { return Bytes(text.begin(), text.end()); }

Sha256Digest Sha256Of(ByteView bytes) { return OpenSslSha256().Of(bytes, {}); }

// Named types, which no numbered type of the tests uses.
constexpr std::uint16_t kCustomType = 0;
constexpr std::uint16_t kDigestsType = 0xFFFF;
constexpr std::uint16_t kZstdType = 0xFFFE;
constexpr std::uint16_t kStreamType = 0xFFFD;

struct TestResource {
  std::uint16_t type;  // or kCustomType, kDigestsType
  std::uint16_t name;
  std::uint16_t language;
  Bytes data;
  // Resources that name the same bytes here share one data entry, as only a file
  // made by hand has; `data` is not used then.
  const Bytes* shared = nullptr;
};

void Put(Bytes& bytes, std::size_t at, std::uint64_t value, int size) {
  if (bytes.size() < at + static_cast<std::size_t>(size))
    bytes.resize(at + static_cast<std::size_t>(size));
  for (int i = 0; i < size; ++i)
    bytes[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
}

Bytes Strings(const std::map<int, std::u16string>& strings) {
  Bytes block;
  for (int index = 0; index < 16; ++index) {
    const auto found = strings.find(index);
    const std::u16string text = found == strings.end() ? u"" : found->second;
    Put(block, block.size(), text.size(), 2);
    for (const char16_t c : text) Put(block, block.size(), c, 2);
  }
  return block;
}

// A program whose one section, at 0x1000, is `section`, its resource directory.
Bytes WithResourceSection(const Bytes& section, bool is64Bit, std::uint32_t imageSize) {
  constexpr std::uint32_t kSectionAddress = 0x1000;
  const std::size_t optionalSize = is64Bit ? 240 : 224;
  Bytes file;
  Put(file, 0, 'M' | ('Z' << 8), 2);
  Put(file, 0x3C, 64, 4);
  Put(file, 64, 0x4550, 4);
  Put(file, 64 + 6, 1, 2);
  Put(file, 64 + 20, optionalSize, 2);
  const std::size_t optional = 64 + 24;
  Put(file, optional, is64Bit ? 0x20B : 0x10B, 2);
  Put(file, optional + 56, imageSize, 4);
  Put(file, optional + (is64Bit ? 108 : 92), 16, 4);
  Put(file, optional + (is64Bit ? 112 : 96) + 16, kSectionAddress, 4);
  Put(file, optional + (is64Bit ? 112 : 96) + 20, section.size(), 4);
  const std::size_t header = optional + optionalSize;
  Put(file, header + 8, section.size(), 4);
  Put(file, header + 12, kSectionAddress, 4);
  Put(file, header + 16, section.size(), 4);
  Put(file, header + 20, 0x200, 4);
  file.resize(0x200);
  file.insert(file.end(), section.begin(), section.end());
  return file;
}

// A program with one section holding the resources, as a linker lays it out.
Bytes Program(const std::vector<TestResource>& resources, bool is64Bit,
              std::uint32_t imageSize = 0) {
  constexpr std::uint32_t kSectionAddress = 0x1000;
  std::map<std::uint16_t, std::map<std::uint16_t, std::map<std::uint16_t, const Bytes*>>> tree;
  for (const TestResource& r : resources)
    tree[r.type][r.name][r.language] = r.shared != nullptr ? r.shared : &r.data;
  Bytes section;
  // Each resource's bytes have an entry of their own, unless they are shared.
  std::map<const Bytes*, std::size_t> dataEntries;
  // Reserves a directory of `count` entries; answers where its entries begin.
  const auto directory = [&](std::size_t count, bool named) {
    const std::size_t at = section.size();
    Put(section, at + 12, named ? count : 0, 2);
    Put(section, at + 14, named ? 0 : count, 2);
    Put(section, at + 16 + 8 * count - 1, 0, 1);
    return at + 16;
  };
  std::size_t typeEntry = directory(tree.size(), false);
  for (const auto& [type, names] : tree) {
    if (type == kCustomType || type == kDigestsType || type == kZstdType || type == kStreamType) {
      const std::size_t name = section.size();
      const std::string typeName = type == kCustomType   ? "CUSTOM"
                                   : type == kZstdType   ? "ZSTDITEM"
                                   : type == kStreamType ? "ITEMSTREAM"
                                                         : "PAYLOADSHA256";
      Put(section, name, typeName.size(), 2);
      for (const char c : typeName) Put(section, section.size(), static_cast<std::uint8_t>(c), 2);
      Put(section, typeEntry, 0x80000000u | name, 4);
    } else {
      Put(section, typeEntry, type, 4);
    }
    Put(section, typeEntry + 4, 0x80000000u | section.size(), 4);
    std::size_t nameEntry = directory(names.size(), false);
    typeEntry += 8;
    for (const auto& [name, languages] : names) {
      Put(section, nameEntry, name, 4);
      Put(section, nameEntry + 4, 0x80000000u | section.size(), 4);
      std::size_t languageEntry = directory(languages.size(), false);
      nameEntry += 8;
      for (const auto& [language, data] : languages) {
        Put(section, languageEntry, language, 4);
        languageEntry += 8;
        if (const auto same = dataEntries.find(data); same != dataEntries.end()) {
          Put(section, languageEntry - 4, same->second, 4);
          continue;
        }
        const std::size_t dataEntry = (section.size() + 3) / 4 * 4;
        dataEntries[data] = dataEntry;
        Put(section, languageEntry - 4, dataEntry, 4);
        Put(section, dataEntry, kSectionAddress + dataEntry + 16, 4);
        Put(section, dataEntry + 4, data->size(), 4);
        Put(section, dataEntry + 12, 0, 4);
        section.insert(section.end(), data->begin(), data->end());
      }
    }
  }
  return WithResourceSection(
      section, is64Bit,
      imageSize != 0 ? imageSize : static_cast<std::uint32_t>(0x2000 + section.size()));
}

// The digests that the build makes of items 101 to the last of `itemBytes`, each
// holding `bytes`.
Bytes Digests(const std::vector<std::uint16_t>& itemBytes, const std::string& bytes) {
  Bytes digests;
  for (std::uint16_t number = 101; !itemBytes.empty() && number <= itemBytes.back(); ++number) {
    const bool present = std::find(itemBytes.begin(), itemBytes.end(), number) != itemBytes.end();
    const Sha256Digest digest = present ? Sha256Of(Data(bytes)) : Sha256Digest{};
    digests.insert(digests.end(), digest.begin(), digest.end());
  }
  return digests;
}

// A package of the given strings (count included), with bytes for the given
// items, in one language, and the digests of those bytes unless told otherwise.
std::vector<TestResource> Package(const std::map<int, std::u16string>& strings,
                                  const std::vector<std::uint16_t>& itemBytes,
                                  std::optional<Bytes> digests = std::nullopt) {
  std::map<int, std::map<int, std::u16string>> blocks;
  for (const auto& [number, text] : strings) blocks[number / 16 + 1][number % 16] = text;
  std::vector<TestResource> resources;
  for (const auto& [block, texts] : blocks) {
    resources.push_back({6, static_cast<std::uint16_t>(block), 0x409, Strings(texts)});
  }
  for (const std::uint16_t number : itemBytes)
    resources.push_back({kCustomType, number, 0x410, Data("bytes")});
  // Without items, digests that no item reaches, so that only the count's faults show.
  if (!digests) digests = itemBytes.empty() ? Bytes(32, 0) : Digests(itemBytes, "bytes");
  if (!digests->empty()) resources.push_back({kDigestsType, 1, 0, *digests});
  return resources;
}

// The digests a package of one item carries: of its bytes as stored and of its content.
void AddDigestsOfOneItem(std::vector<TestResource>& resources, ByteView stored, ByteView content) {
  for (const auto& [number, digest] : {std::pair{1, Sha256Of(stored)}, {2, Sha256Of(content)}}) {
    resources.push_back(
        {kDigestsType, static_cast<std::uint16_t>(number), 0, Bytes(digest.begin(), digest.end())});
  }
}

const std::map<int, std::u16string> kShipped = {{100, u"1"},
                                                {101, u"Brevanti.zip|<APPPATH>Corsenta/|N|"}};

TEST(PeResourcesTest, ReadsPe32AndPe32Plus) {
  for (const bool is64Bit : {false, true}) {
    const Bytes file = Program(Package(kShipped, {101}), is64Bit);
    PeResources program(file);
    EXPECT_EQ(program.Is64Bit(), is64Bit);
    EXPECT_TRUE(program.Damage().empty());
    EXPECT_EQ(program.LoadResourceText(101), u"Brevanti.zip|<APPPATH>Corsenta/|N|");
    EXPECT_EQ(program.LoadResourceText(102), u"");  // in a present block, absent reads empty
    const ByteView bytes = program.LoadResourceBytes(101, u"custom");
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "bytes");
    EXPECT_EQ(testing::FailureNumberOf([&] { program.LoadResourceText(200); }), 326);
    EXPECT_EQ(testing::FailureNumberOf([&] { program.LoadResourceBytes(102, u"CUSTOM"); }), 326);
  }
}

// Every prefix of a program, and every byte of its headers and tree flipped: an
// unreadable program or damage to report, never a read outside the file.
TEST(PeResourcesTest, CutShortOrChangedFilesAreReported) {
  const Bytes whole = Program(Package(kShipped, {101}), false);
  for (std::size_t size = 0; size < whole.size(); ++size) {
    const Bytes cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(size));
    try {
      PeResources program(cut);
      EXPECT_FALSE(InspectPackage(program, OpenSslSha256()).faults.empty()) << size;
    } catch (const UnreadableProgram&) {
    }
  }
  Bytes crowded = whole;
  Put(crowded, 64 + 6, 0xFFFF, 2);
  crowded.resize(8192);
  EXPECT_NE(PeResources(crowded).Damage().front().find("65535 sections, more than the 96"),
            std::string::npos);
  for (std::size_t at = 0; at < whole.size(); ++at) {
    Bytes changed = whole;
    changed[at] ^= 0xFF;
    try {
      PeResources program(changed);
      ReportJson(InspectPackage(program, OpenSslSha256()));
    } catch (const UnreadableProgram&) {
    }
  }
}

struct FaultCase {
  const char* name;
  std::map<int, std::u16string> strings;
  std::vector<std::uint16_t> itemBytes;
  std::int32_t number;
  std::string fault;
  std::string customerSees;
  // The digests the program carries; those of its items' bytes when none.
  std::optional<Bytes> digests = std::nullopt;
};

TEST(InspectPackageTest, FindsTheFaultsTheInstallerMeets) {
  const FaultCase kCases[] = {
      {"count missing", {}, {101}, 100, "string 100", "Error 326"},
      {"count not a number",
       {{100, u"tre"}, {101, u"A|<APPPATH>Corsenta/|N|"}},
       {101},
       100,
       "\"tre\" is not a number",
       "Error 9 (Subscript out of range) in procedure cmdAvviaConTimer_Click"},
      {"count too large", {{100, u"1e400"}}, {}, 100, "too large (6)", "Error 6"},
      {"count past every number",
       {{100, u"70000"}},
       {},
       100,
       "more items than resource numbers",
       "Error 7"},
      {"two bars",
       {{100, u"1"}, {101, u"A|<APPPATH>Corsenta/|N"}},
       {101},
       101,
       "fewer than three \"|\" (9)",
       "for ever"},
      {"lower-case common",
       {{100, u"1"}, {101, u"A|<commonpath>Velbor/|N|"}},
       {101},
       101,
       "none of the known forms",
       "\"TargetDir non gestita! (<commonpath>Velbor\\)\" (Attenzione)"},
      {"misspelt",
       {{100, u"1"}, {101, u"A|<APPPATH>Corsenda/|N|"}},
       {101},
       101,
       "none of the known forms",
       "TargetDir non gestita!"},
      {"leaves its folder",
       {{100, u"1"}, {101, u"..\\A|<APPPATH>Corsenta/|N|"}},
       {101},
       101,
       "leaves its folder",
       "for ever"},
      {"bytes missing",
       {{100, u"2"}, {101, u"A|<APPPATH>Corsenta/|N|"}, {102, u"B|<APPPATH>Corsenta/|N|"}},
       {101},
       102,
       "no CUSTOM resource 102 (326)",
       "for ever"},
      {"descriptors missing",
       {{100, u"4"}, {101, u"A|<APPPATH>Corsenta/|N|"}},
       {101},
       102,
       "string 102 to 104, the descriptors of items 2 to 4 of 4, empty or missing (9)",
       "for ever"},
      {"same file",
       {{100, u"2"}, {101, u"A|<APPPATH>Corsenta/|N|"}, {102, u"a|<APPPATH>Corsenta\\|N|"}},
       {101, 102},
       102,
       "as item 101 does",
       "replaces"},
      {"bytes changed",
       kShipped,
       {101},
       101,
       "the bytes of \"Brevanti.zip\" differ from the SHA-256 that the program carries",
       "the program refuses to install: its payload is damaged",
       Digests({101}, "bytez")},
      {"digests missing",
       kShipped,
       {101},
       0,
       "the program carries no SHA-256 of its items'",
       "the program refuses to install",
       Bytes()},
      {"digest missing",
       kShipped,
       {101},
       101,
       "carries no SHA-256 of \"Brevanti.zip\"",
       "the program refuses to install",
       Bytes(31, 0)},
      {"past the count",
       {{100, u"1"}, {101, u"A|<APPPATH>Corsenta/|N|"}, {102, u"B|<APPPATH>Corsenta/|N|"}},
       {101, 102},
       0,
       "CUSTOM 102, string 102: past the count of 1 items",
       "never reaches"},
  };
  for (const FaultCase& c : kCases) {
    const Bytes file = Program(Package(c.strings, c.itemBytes, c.digests), false);
    PeResources program(file);
    const PackageFindings inspection = InspectPackage(program, OpenSslSha256());
    ASSERT_EQ(inspection.faults.size(), 1u) << c.name << "\n" << ReportText(inspection);
    EXPECT_EQ(inspection.faults[0].number, c.number) << c.name;
    EXPECT_NE(inspection.faults[0].fault.find(c.fault), std::string::npos)
        << c.name << ": " << inspection.faults[0].fault;
    EXPECT_NE(inspection.faults[0].customerSees.find(c.customerSees), std::string::npos)
        << c.name << ": " << inspection.faults[0].customerSees;
  }
}

// Both digests stand beside each other, in the text and in the JSON; the JSON is
// valid whatever the names hold.
TEST(InspectPackageTest, ReportsTheCarriedDigestBesideTheBytesOwn) {
  const std::string digest = HexText(Sha256Of(Data("bytes")));
  const std::string carried = HexText(Sha256Of(Data("bytez")));
  const Bytes file =
      Program(Package({{100, u"1"}, {101, u"Br\xE8v\xD800.zip|<APPPATH>Corsenta/|N|"}}, {101},
                      Digests({101}, "bytez")),
              false);
  PeResources program(file);
  const PackageFindings inspection = InspectPackage(program, OpenSslSha256());
  EXPECT_NE(ReportText(inspection).find("5 bytes  " + digest + "  carried " + carried),
            std::string::npos)
      << ReportText(inspection);
  const auto json = nlohmann::json::parse(ReportJson(inspection));
  const auto& item = json.at("items").at(0);
  EXPECT_EQ(item.at("sha256"), digest);
  EXPECT_EQ(item.at("carriedSha256"), carried);
  EXPECT_EQ(item.at("size"), 5);
  EXPECT_EQ(item.at("file"), "Br\u00E8v\uFFFD.zip");
  EXPECT_EQ(json.at("faults").at(0).at("number"), 101);
  EXPECT_EQ(json.at("summary"), "1 item, 5 bytes (stored in 5), 0 registrations, 1 fault");
}

TEST(InspectPackageTest, FindsLanguagesAndSizeThatMatter) {
  // Windows, and so the check, reads the first language.
  std::vector<TestResource> resources = Package(kShipped, {101}, Digests({101}, "other bytes"));
  resources.push_back({kCustomType, 101, 0x409, Data("other bytes")});
  const Bytes file = Program(resources, false, 0x50000000);
  PeResources program(file);
  const PackageFindings inspection = InspectPackage(program, OpenSslSha256());
  ASSERT_EQ(inspection.faults.size(), 2u) << ReportText(inspection);
  EXPECT_NE(inspection.faults[0].fault.find("1,342,177,280 bytes, above the 1,073,741,824"),
            std::string::npos);
  EXPECT_NE(inspection.faults[1].fault.find("CUSTOM 101 is stored in 2 languages (1033, 1040)"),
            std::string::npos);
}

TEST(InspectPackageTest, ReportsItemsAndRegistrations) {
  const Bytes file = Program(Package({{100, u"2"},
                                      {101, u"V.dll|<APPPATH>Tavrelio/Moduli/|S|R"},
                                      {102, u"T.dll|<COMMONPATH>Velbor/|S|"}},
                                     {101, 102}),
                             true);
  PeResources program(file);
  const std::string report = ReportText(InspectPackage(program, OpenSslSha256()));
  EXPECT_NE(report.find("101  V.dll  5 bytes  "), std::string::npos) << report;
  EXPECT_NE(
      report.find("<APPPATH>Tavrelio\\Moduli\\ = <maker's folder>\\Tavrelio\\Moduli\\ (the maker's "
                  "folder + Tavrelio\\, proven by Tavrelio.exe, then Moduli\\ (which must exist))  "
                  "registered: \"C:\\WINDOWS\\Microsoft.NET\\Framework\\v2.0.50727\\regasm.exe\" "
                  "/nologo \"<maker's folder>\\Tavrelio\\Moduli\\V.dll\" /tlb:V.tlb; then "),
      std::string::npos)
      << report;
  EXPECT_NE(report.find("(the common files folder + Velbor\\, proven by Trelvaso.dll)  registered: "
                        "regsvr32.exe \"<common files>\\Velbor\\T.dll\" /s\n"),
            std::string::npos)
      << report;
  EXPECT_NE(report.find("2 items, 10 bytes (stored in 10), 2 registrations, no fault"),
            std::string::npos)
      << report;
}

// A hostile tree of 7,768 bytes: 200 name tables each point at a different place
// in one run of language entries, and every place reads as a table of 400 of
// them, which a walk without bound lists as 80,000 resources.
TEST(PeResourcesTest, OverlappingTablesAreReadOnce) {
  constexpr std::size_t kNames = 200;
  constexpr std::uint32_t kEntriesPerPlace = 400;
  Bytes section;
  Put(section, 14, 1, 2);  // the root: one type
  Put(section, 16, 6, 4);
  Put(section, 20, 0x80000000u | 24, 4);
  Put(section, 24 + 14, kNames, 2);
  const std::size_t run = 40 + 8 * kNames;
  for (std::size_t k = 0; k < kNames; ++k) {
    Put(section, 40 + 8 * k, k + 1, 4);
    Put(section, 44 + 8 * k, 0x80000000u | (run + 8 * k), 4);
  }
  // Each entry, read as a table's header, counts the entries after it.
  for (std::size_t at = run; at + 8 <= 7768 - 0x200; at += 8) {
    Put(section, at, 0x409, 4);
    Put(section, at + 4, kEntriesPerPlace, 4);
  }
  const Bytes file = WithResourceSection(section, false, 0x4000);
  ASSERT_EQ(file.size(), 7768u);

  const auto start = std::chrono::steady_clock::now();
  PeResources program(file);
  const PackageFindings inspection = InspectPackage(program, OpenSslSha256());
  const std::string report = ReportText(inspection);
  const auto took = std::chrono::steady_clock::now() - start;
  EXPECT_LE(program.Entries().size(), file.size() / 24);
  EXPECT_LE(inspection.faults.size(), 8u) << report;
  EXPECT_LE(report.size(), 4096u) << report;
  EXPECT_NE(report.find("tables overlap"), std::string::npos) << report;
  EXPECT_NE(report.find("lie outside the file ("), std::string::npos) << report;
  EXPECT_LT(took, std::chrono::seconds(1));
}

// 64 string blocks that share one block of long descriptors: a file of 40 KB
// that would read as 1.2 million characters of descriptors.
TEST(InspectPackageTest, SharedStringBlocksAreReadOnce) {
  constexpr std::size_t kBlocks = 64;
  std::map<int, std::u16string> strings;
  for (int index = 0; index < 16; ++index)
    strings[index] = std::u16string(1200, u'A') + u"|<APPPATH>Corsenta/|N|";
  strings[4] = u"1000";  // string 100, in block 7
  const Bytes shared = Strings(strings);
  Bytes section;
  Put(section, 14, 1, 2);
  Put(section, 16, 6, 4);
  Put(section, 20, 0x80000000u | 24, 4);
  Put(section, 24 + 14, kBlocks, 2);
  const std::size_t data = 40 + 32 * kBlocks;
  for (std::size_t k = 0; k < kBlocks; ++k) {
    const std::size_t languages = 40 + 8 * kBlocks + 24 * k;
    Put(section, 40 + 8 * k, k + 1, 4);
    Put(section, 44 + 8 * k, 0x80000000u | languages, 4);
    Put(section, languages + 14, 1, 2);
    Put(section, languages + 16, 0x409, 4);
    Put(section, languages + 20, data, 4);
  }
  Put(section, data, 0x1000 + data + 16, 4);
  Put(section, data + 4, shared.size(), 4);
  section.resize(data + 16);
  section.insert(section.end(), shared.begin(), shared.end());
  const Bytes file = WithResourceSection(section, false, 0x20000);

  PeResources program(file);
  const PackageFindings inspection = InspectPackage(program, OpenSslSha256());
  EXPECT_LE(inspection.items.size(), file.size() / 1200);
  const std::string report = ReportText(inspection);
  EXPECT_LE(report.size(), 4 * file.size());
  EXPECT_NE(report.find("share bytes"), std::string::npos);
}

// A compressed item is reported by its content beside its stored size; a frame
// that does not decode whole is a fault, and so is a CUSTOM resource it replaces.
TEST(InspectPackageTest, CompressedItemsAreReportedByTheirContent) {
  const Bytes frame(testing::kTestFrame.begin(), testing::kTestFrame.end());
  Bytes damaged = frame;
  damaged.back() ^= 0x01;
  Bytes content;
  for (std::uint64_t at = 0; at < testing::kTestFrameContentSize; ++at)
    content.push_back(static_cast<std::uint8_t>(testing::kTestFrameLine[at % 7]));
  const std::string digest = HexText(Sha256Of(content));
  const struct {
    const Bytes& stored;
    bool alsoCustom;
    const char* found;
  } kCases[] = {
      {frame, false, "4,200,000 bytes  %  carried %  stored 383 bytes zstd"},
      {damaged, false, "101: the compressed bytes of \"Brevanti.zip\" do not decode whole"},
      {frame, true, "CUSTOM 101: past the count of 1 items, or no item's number"},
  };
  for (const auto& c : kCases) {
    std::vector<TestResource> resources = Package(kShipped, {}, Bytes());
    resources.push_back({kZstdType, 101, 0x410, c.stored});
    if (c.alsoCustom) resources.push_back({kCustomType, 101, 0x410, Data("bytes")});
    AddDigestsOfOneItem(resources, c.stored, content);
    const Bytes file = Program(resources, false);
    PeResources program(file);
    const PackageFindings inspection = InspectPackage(program, OpenSslSha256());
    std::string found = c.found;
    for (std::size_t at; (at = found.find('%')) != std::string::npos;) found.replace(at, 1, digest);
    EXPECT_NE(ReportText(inspection).find(found), std::string::npos) << ReportText(inspection);
    EXPECT_EQ(inspection.faults.size(), &c == &kCases[0] ? 0u : 1u) << ReportText(inspection);
  }
}

// 2,000 items whose data entries all name one blob of 2 MiB, in a file of 2 MB:
// the blob is hashed once, not 2,000 times, and each item is reported as usual.
TEST(InspectPackageTest, ItemsThatShareTheirBytesAreHashedOnce) {
  constexpr int kItems = 2000;
  Bytes blob(2u << 20);
  for (std::size_t at = 0; at < blob.size(); ++at) blob[at] = static_cast<std::uint8_t>(at * 7);
  std::map<int, std::u16string> strings = {{100, DecimalText(kItems)}};
  std::vector<std::uint16_t> numbers;
  for (int item = 0; item < kItems; ++item) {
    strings[101 + item] = u"F" + DecimalText(item) + u".bin|<APPPATH>Corsenta/|N|";
    numbers.push_back(static_cast<std::uint16_t>(101 + item));
  }
  std::vector<TestResource> resources = Package(strings, {}, Bytes());
  const Sha256Digest digest = Sha256Of(blob);
  Bytes digests;
  for (int item = 0; item < kItems; ++item) {
    resources.push_back({kCustomType, numbers[static_cast<std::size_t>(item)], 0x410, {}, &blob});
    digests.insert(digests.end(), digest.begin(), digest.end());
  }
  resources.push_back({kDigestsType, 1, 0, digests});
  const Bytes file = Program(resources, false);
  ASSERT_LT(file.size(), 2400000u);

  const auto start = std::chrono::steady_clock::now();
  PeResources program(file);
  const PackageFindings inspection = InspectPackage(program, OpenSslSha256());
  const std::string report = ReportText(inspection);
  const auto took = std::chrono::steady_clock::now() - start;
  ASSERT_EQ(inspection.items.size(), static_cast<std::size_t>(kItems));
  EXPECT_EQ(inspection.items.back().digest, digest);
  EXPECT_NE(report.find("2,000 items, 4,194,304,000 bytes (stored in 4,194,304,000), 0 "
                        "registrations, no fault"),
            std::string::npos)
      << report.substr(report.size() - 300);
  // Well under a second in a plain build; hashing the blob for each item (4 GB)
  // takes several, sanitizers or not.
  EXPECT_LT(took, std::chrono::seconds(2));
}

// windres writes a data entry of size 0 for an empty file: an empty item, not
// the bytes that follow it.
TEST(InspectPackageTest, EmptyResourceIsEmpty) {
  std::vector<TestResource> resources = Package({{100, u"2"},
                                                 {101, u"Vuoto.txt|<APPPATH>Corsenta/|N|"},
                                                 {102, u"Pieno.txt|<APPPATH>Corsenta/|N|"}},
                                                {}, Bytes());
  resources.push_back({0, 101, 0x410, {}});
  resources.push_back({0, 102, 0x410, Data("what follows")});
  Bytes digests;
  for (const Sha256Digest& digest : {Sha256Of({}), Sha256Of(Data("what follows"))}) {
    digests.insert(digests.end(), digest.begin(), digest.end());
  }
  resources.push_back({kDigestsType, 1, 0, digests});
  const Bytes file = Program(resources, false);
  PeResources program(file);
  EXPECT_EQ(program.ResourceSize(101, u"CUSTOM"), 0u);
  EXPECT_TRUE(program.LoadResourceBytes(101, u"CUSTOM").empty());
  const std::string report = ReportText(InspectPackage(program, OpenSslSha256()));
  EXPECT_NE(report.find("101  Vuoto.txt  0 bytes  "
                        "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"),
            std::string::npos)
      << report;
  EXPECT_NE(report.find("2 items, 12 bytes (stored in 12), 0 registrations, no fault"),
            std::string::npos)
      << report;
}

// Names reach a terminal only escaped, as JSON escapes them; a report that cannot
// be written in full is no inspection.
TEST(InspectPackageTest, ReportIsSafeAndWhole) {
  const Bytes file =
      Program(Package({{100, u"2"},
                       {101, u"A\x1b]0;pwned\x07\x9b|<APPPATH>Corsenta/|N|"},
                       {102, Text(u"B") + char16_t{0xD800} + u"|<APPPATH>Corsenta/|N|"}},
                      {101, 102}),
              false);
  PeResources program(file);
  const std::string report = ReportText(InspectPackage(program, OpenSslSha256()));
  EXPECT_NE(report.find("101  A\\u001b]0;pwned\\u0007\\u009b  5 bytes"), std::string::npos)
      << report;
  EXPECT_NE(report.find("102  B\\ud800  5 bytes"), std::string::npos) << report;
  EXPECT_EQ(report.find('\x1b'), std::string::npos);

  const std::filesystem::path path =
      std::filesystem::temp_directory_path() / ("velbor-inspect-" + std::to_string(getpid()));
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
  // Takes nothing, as a full disk does.
  struct Full : std::streambuf {
    int overflow(int) override { return traits_type::eof(); }
  } full;
  std::streambuf* const terminal = std::cout.rdbuf(&full);
  const int exitCode = RunSetupInspect({path}, OpenSslSha256());
  std::cout.rdbuf(terminal);
  std::cout.clear();
  std::filesystem::remove(path);
  EXPECT_EQ(exitCode, 2);
}

// Items stored together are reported by their content and place, the stream
// decoded once; its faults are named.
TEST(InspectPackageTest, ItemsStoredTogetherAreReportedByTheirContentAndPlace) {
  const Bytes frame(testing::kTestFrame.begin(), testing::kTestFrame.end());
  Bytes damaged = frame;
  damaged.back() ^= 0x01;
  Bytes content;
  for (std::uint64_t at = 0; at < testing::kTestFrameContentSize; ++at)
    content.push_back(static_cast<std::uint8_t>(testing::kTestFrameLine[at % 7]));
  const auto record = [&](std::uint64_t offset, std::uint64_t size, std::uint64_t change) {
    return RecordBytes(
        {101, {offset, size, ContentChecksumOf(ByteView(content).first(size)) + change}});
  };
  const Bytes whole = record(0, content.size(), 0);
  const struct {
    const Bytes& stored;
    Bytes table;
    bool alsoCustom;
    const char* found;
    std::size_t faults;
  } kCases[] = {
      {frame, whole, false,
       "4,200,000 bytes  %  carried %  stored together, at 0 in the stream (zstd)", 0},
      {frame, record(0, content.size(), 1), false, "differs from its checksum (XXH64)", 1},
      {frame, record(1, content.size(), 0), false,
       "lies outside the decoded stream of 4,200,000 bytes", 2},
      {frame, record(0, content.size() - 10, 0), false, "10 bytes of the stream", 2},
      {damaged, whole, false, "(ITEMSTREAM 1) does not decode whole", 1},
      {frame, Bytes(31, 0), false, "is not a whole number of records", 2},
      {frame, whole, true, "CUSTOM 101: past the count of 1 items, or no item's number", 1},
  };
  for (const auto& c : kCases) {
    std::vector<TestResource> resources = Package(kShipped, {}, Bytes());
    resources.push_back({kStreamType, 1, 0, c.stored});
    resources.push_back({kStreamType, 2, 0, c.table});
    if (c.alsoCustom) resources.push_back({kCustomType, 101, 0x410, Data("bytes")});
    AddDigestsOfOneItem(resources, c.stored, content);
    const Bytes file = Program(resources, false);
    PeResources program(file);
    const PackageFindings inspection = InspectPackage(program, OpenSslSha256());
    std::string found = c.found;
    const std::string digest = HexText(Sha256Of(content));
    for (std::size_t at; (at = found.find('%')) != std::string::npos;) found.replace(at, 1, digest);
    EXPECT_NE(ReportText(inspection).find(found), std::string::npos) << ReportText(inspection);
    EXPECT_EQ(inspection.faults.size(), c.faults) << ReportText(inspection);
  }
}

}  // namespace
}  // namespace velbor
