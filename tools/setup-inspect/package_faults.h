#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "host/sha256_digest.h"
#include "host/text.h"
#include "package/pe_resources.h"
#include "tools/setup-inspect/dry_run_host.h"

namespace velbor {

// A fault the installer would meet on every customer's machine, and what the
// customer would see. `number` is the resource number it concerns, 0 for the
// package as a whole.
struct PackageFault {
  std::int32_t number = 0;
  std::string fault;
  std::string customerSees;
};

// "1,234,567": a size for a person.
std::string GroupedDigits(std::uint64_t value);

// `text` in quotes, in UTF-8: how the faults name what the package holds.
std::string Quoted(TextView text);

// Every text of every fault that the inspection reports, so that the report's
// wording is kept in one place.
namespace fault {

// "the box "prompt" (title)", or "nothing": the first box that `host` showed since
// it last forgot what it showed.
std::string FirstBox(const DryRunHost& host);

// The program as a whole.
PackageFault ProgramDamaged(const std::string& damage);
PackageFault ImageTooLarge(std::uint64_t imageSize, std::uint64_t largestStartable);
PackageFault NoDigestsCarried();

// The item count, string 100; `pressBox` is what a press of the start button shows.
PackageFault CountTooLarge(std::int32_t number, const Text& count, std::uint64_t largestCount);
PackageFault CountUnreadable(std::int32_t number, std::int32_t failureNumber, const Text& count,
                             const std::string& pressBox);

// The descriptors, items `item` to `last` (indices) of the `count` items.
PackageFault MissingDescriptors(std::int32_t item, std::int32_t last, std::int32_t count,
                                std::int32_t failureNumber);
PackageFault DescriptorsShareBytes(std::int32_t item, std::int32_t count);
PackageFault ShortDescriptor(std::int32_t number, const Text& descriptor);

// One item, resource `number`, writing `file`.
PackageFault UnknownTemplate(std::int32_t number, const Text& targetTemplate,
                             const std::string& pressBox);
PackageFault UnconfinedFileName(std::int32_t number, const Text& file);
PackageFault MissingBytes(std::int32_t number, const Text& file);
PackageFault UndecodableFrame(std::int32_t number, const Text& file);
PackageFault NoItemDigestCarried(std::int32_t number, const Text& file);
PackageFault StoredDigestDiffers(std::int32_t number, const Text& file, bool compressed,
                                 const Sha256Digest& carried);
PackageFault ContentDigestDiffers(std::int32_t number, const Text& file,
                                  const std::optional<Sha256Digest>& carried);
PackageFault SameFile(std::int32_t number, const Text& path, std::int32_t firstNumber);

// The stream of the items stored together: item `number` at `place` in its
// decoded content of `streamSize` bytes, and the stream as a whole.
PackageFault StreamPlaceOutside(std::int32_t number, const Text& file, std::uint64_t offset,
                                std::uint64_t size, std::uint64_t streamSize);
PackageFault StreamPlaceOverlaps(std::int32_t number, const Text& file, std::uint64_t offset,
                                 std::uint64_t size);
PackageFault StreamChecksumDiffers(std::int32_t number, const Text& file);
PackageFault StreamTableNotWhole();
PackageFault StreamUndecodable();
PackageFault StreamBytesUnused(std::uint64_t count);

// The resources beside the items. `name` is how a resource is named: "CUSTOM 7",
// "string 250".
std::string ResourceName(const ResourceKey& type, const ResourceKey& name);
std::string StringName(std::int32_t number);
PackageFault StringBlockCutShort(std::int32_t number);
PackageFault MoreStringBlocksCutShort(std::uint64_t count);
PackageFault UnusedResources(const std::string& names, std::int32_t count);
PackageFault ManyLanguages(const std::string& name, std::size_t languages,
                           const std::string& languageList);
PackageFault MoreInManyLanguages(std::uint64_t count);

}  // namespace fault
}  // namespace velbor
