#include "fuzz/fuzz_input.h"

#include <cstdio>
#include <cstdlib>

namespace velbor::testing {
namespace {

Text Latin1(const std::string& bytes) {
  Text text;
  text.reserve(bytes.size());
  for (const char byte : bytes)
    text.push_back(static_cast<char16_t>(static_cast<unsigned char>(byte)));
  return text;
}

}  // namespace

FuzzInput::FuzzInput(const std::uint8_t* data, std::size_t size) {
  std::string line;
  for (std::size_t i = 0; i < size; ++i) {
    if (data[i] == '\n') {
      lines_.push_back(std::move(line));
      line.clear();
    } else {
      line.push_back(static_cast<char>(data[i]));
    }
  }
  if (!line.empty()) lines_.push_back(std::move(line));
}

Text FuzzInput::NextLine() { return Latin1(NextRawLine()); }

std::string FuzzInput::NextRawLine() { return AtEnd() ? std::string() : lines_[next_++]; }

Text FuzzInput::WholeText(const std::uint8_t* data, std::size_t size) {
  return Latin1(std::string(reinterpret_cast<const char*>(data), size));
}

void Expect(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "fuzz check failed: %s\n", what);
  std::abort();
}

}  // namespace velbor::testing
