#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "host/win32/windows_api.h"

namespace velbor::testing {

// A window as it shows on the screen, frame included: 24-bit pixels, rows from the
// bottom up, each row padded to four bytes, as a BMP file holds them.
class WindowPicture {
 public:
  // Copies what the screen shows of `window`; nothing when it cannot.
  static std::optional<WindowPicture> Take(HWND window);

  // How many different colours the picture holds: one for a window that showed
  // nothing.
  std::size_t ColourCount() const;

  // Writes the picture as a BMP file; whether it could.
  bool SaveAsBitmap(const std::wstring& path) const;

 private:
  WindowPicture(int width, int height, std::vector<std::uint8_t> pixels)
      : width_(width), height_(height), pixels_(std::move(pixels)) {}
  static std::size_t RowSize(int width);

  int width_;
  int height_;
  std::vector<std::uint8_t> pixels_;
};

}  // namespace velbor::testing
