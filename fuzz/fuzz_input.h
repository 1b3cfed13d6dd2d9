#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "host/text.h"

namespace velbor::testing {

// How every target reads its input: lines separated by "\n" (the last line may
// lack it), each byte one character of the same code (Latin-1), so that the
// dictionaries' words reach the program unchanged.
class FuzzInput {
 public:
  FuzzInput(const std::uint8_t* data, std::size_t size);

  // The next line, or the empty text once the input is used up.
  Text NextLine();
  // The next line's bytes as they stand.
  std::string NextRawLine();
  bool AtEnd() const noexcept { return next_ >= lines_.size(); }

  // A whole input as one text, line feeds included.
  static Text WholeText(const std::uint8_t* data, std::size_t size);

 private:
  std::vector<std::string> lines_;
  std::size_t next_ = 0;
};

// A condition that must hold whatever the input: a finding when it does not.
void Expect(bool condition, const char* what);

}  // namespace velbor::testing
