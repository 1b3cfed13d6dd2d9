#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "host/resources.h"
#include "host/sha256.h"
#include "host/sha256_digest.h"
#include "host/stored_bytes.h"
#include "host/text.h"
#include "package/pe_resources.h"
#include "tools/setup-inspect/package_faults.h"

namespace velbor {

// The largest image, payload included, that the check lets through. The loader
// maps the whole image in one piece of the process's address space before any of
// the program's code runs; when no piece is large enough, CreateProcess fails with
// error 8 and the customer sees only a system error. Measured under 32-bit Wine
// here: an image of 2,092,429,312 bytes starts, one of 2,093,477,888 does not, as
// it no longer fits between its base (4 MiB) and what Wine maps below 2 GiB;
// large-address awareness does not help. On Windows a 32-bit process has 2 GiB
// (3 GiB with /3GB, 4 GiB large-address aware under WOW64), but its system DLLs,
// the shared pages below 2 GiB, DLLs that other software injects, stacks and heaps
// share and split the lower 2 GiB. Half of it leaves that room on every system the
// installer serves; README, "Too large to start".
inline constexpr std::uint64_t kLargestStartableImage = 1024ull * 1024 * 1024;

// One item as the installer reads it, with where it lands on a machine whose
// folders are shown as placeholders (tools/setup-inspect/dry_run_host.h).
struct InspectedItem {
  std::int32_t number = 0;
  Text file;
  Text targetTemplate;
  // Empty when the installer cannot resolve the template.
  Text folder;
  // What the template means: "the maker's folder + Corsenta\, proven by Corsenta.exe".
  Text meaning;
  // Its bytes as the program stores them, and the size of what it writes: nothing
  // when they are missing, or compressed in a frame that does not decode whole.
  std::optional<StoredBytes> stored;
  std::optional<std::uint64_t> size;
  // The SHA-256 of what it writes, and the one the program carries for that.
  std::optional<Sha256Digest> digest;
  std::optional<Sha256Digest> carried;
  // The command lines of its registration, in the order they start.
  std::vector<Text> commandLines;
};

struct PackageFindings {
  bool is64Bit = false;
  std::uint64_t imageSize = 0;
  std::vector<InspectedItem> items;
  std::vector<PackageFault> faults;
};

// Reads the package in `program` through the installer's own code: the start
// button's handler, the item table, the descriptors, the template resolution, the
// file-name rule and the registration, run against a dry-run host. Digests are
// made by `sha256`.
PackageFindings InspectPackage(PeResources& program, const Sha256& sha256);

}  // namespace velbor
