#include "tests/e2e/window_picture.h"

#include <set>

#include "host/win32/unique_handle.h"

namespace velbor::testing {
namespace {

constexpr WORD kBitsPerPixel = 24;

// The device contexts and the bitmap of one copy, each released when it goes.
class WindowDc {
 public:
  explicit WindowDc(HWND window) : window_(window), dc_(GetWindowDC(window)) {}
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  ~WindowDc() {
    if (dc_ != nullptr) ReleaseDC(window_, dc_);
  }
  HDC Get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

class MemoryDc {
 public:
  explicit MemoryDc(HDC like) : dc_(CreateCompatibleDC(like)) {}
  MemoryDc(const MemoryDc&) = delete;
  MemoryDc& operator=(const MemoryDc&) = delete;
  ~MemoryDc() {
    if (dc_ != nullptr) DeleteDC(dc_);
  }
  HDC Get() const { return dc_; }

 private:
  HDC dc_;
};

class Bitmap {
 public:
  explicit Bitmap(HBITMAP bitmap) : bitmap_(bitmap) {}
  Bitmap(const Bitmap&) = delete;
  Bitmap& operator=(const Bitmap&) = delete;
  ~Bitmap() {
    if (bitmap_ != nullptr) DeleteObject(bitmap_);
  }
  HBITMAP Get() const { return bitmap_; }

 private:
  HBITMAP bitmap_;
};

// Keeps `object` selected into `dc` for as long as it lives.
class Selection {
 public:
  Selection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  Selection(const Selection&) = delete;
  Selection& operator=(const Selection&) = delete;
  ~Selection() { SelectObject(dc_, previous_); }

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

BITMAPINFOHEADER HeaderFor(int width, int height) {
  BITMAPINFOHEADER header{};
  header.biSize = sizeof header;
  header.biWidth = width;
  header.biHeight = height;  // positive: bottom-up rows
  header.biPlanes = 1;
  header.biBitCount = kBitsPerPixel;
  header.biCompression = BI_RGB;
  return header;
}

}  // namespace

std::size_t WindowPicture::RowSize(int width) {
  return (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3};
}

std::optional<WindowPicture> WindowPicture::Take(HWND window) {
  RECT frame;
  if (!GetWindowRect(window, &frame)) return std::nullopt;
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  if (width <= 0 || height <= 0) return std::nullopt;

  const WindowDc source(window);
  if (source.Get() == nullptr) return std::nullopt;
  const MemoryDc copy(source.Get());
  BITMAPINFO info{};
  info.bmiHeader = HeaderFor(width, height);
  void* bits = nullptr;
  const Bitmap bitmap(CreateDIBSection(copy.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (copy.Get() == nullptr || bitmap.Get() == nullptr) return std::nullopt;
  {
    const Selection selected(copy.Get(), bitmap.Get());
    if (!BitBlt(copy.Get(), 0, 0, width, height, source.Get(), 0, 0, SRCCOPY)) {
      return std::nullopt;
    }
  }
  GdiFlush();
  const auto* first = static_cast<const std::uint8_t*>(bits);
  return WindowPicture(
      width, height,
      std::vector<std::uint8_t>(first, first + RowSize(width) * static_cast<std::size_t>(height)));
}

std::size_t WindowPicture::ColourCount() const {
  std::set<std::uint32_t> colours;
  for (std::size_t row = 0; row < static_cast<std::size_t>(height_); ++row) {
    const std::uint8_t* pixel = pixels_.data() + row * RowSize(width_);
    for (int column = 0; column < width_; ++column, pixel += 3) {
      colours.insert(static_cast<std::uint32_t>(pixel[0] | pixel[1] << 8 | pixel[2] << 16));
    }
  }
  return colours.size();
}

bool WindowPicture::SaveAsBitmap(const std::wstring& path) const {
  const BITMAPINFOHEADER header = HeaderFor(width_, height_);
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof file + sizeof header;
  file.bfSize = static_cast<DWORD>(file.bfOffBits + pixels_.size());

  UniqueFileHandle output(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!output.IsValid()) return false;
  const auto write = [&](const void* data, std::size_t size) {
    DWORD written = 0;
    return WriteFile(output.Get(), data, static_cast<DWORD>(size), &written, nullptr) &&
           written == size;
  };
  return write(&file, sizeof file) && write(&header, sizeof header) &&
         write(pixels_.data(), pixels_.size()) && output.Close();
}

}  // namespace velbor::testing
