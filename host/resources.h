#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "host/text.h"

namespace velbor {

// A read-only view of bytes that someone else owns.
using ByteView = std::span<const std::uint8_t>;

// The size of the pieces in which the program's bytes are read, hashed, compared
// and decoded: small enough to stay in the processor's cache, to tell progress
// often and to give a decoder room back often.
inline constexpr std::size_t kPieceSize = 1024 * 1024;

// The resources of the program's own executable.
class Resources {
 public:
  virtual ~Resources() = default;

  // The string-table entry `number`. Fails with 326 when the entry is absent.
  virtual Text LoadResourceText(std::int32_t number) = 0;

  // The whole data of resource `number` of the type named `typeName`, viewed where
  // it lies: nothing is copied, and the view stays valid while the program runs.
  // Fails with 326 when the resource is absent.
  virtual ByteView LoadResourceBytes(std::int32_t number, const Text& typeName) = 0;

  // The size of what LoadResourceBytes would answer, without loading it; 0 when
  // the resource is absent.
  virtual std::uint64_t ResourceSize(std::int32_t number, const Text& typeName) = 0;
};

}  // namespace velbor
