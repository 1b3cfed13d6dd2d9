#include "host/win32/win32_resources.h"

#include <optional>
#include <string>

#include "host/failure.h"
#include "host/win32/wide_text.h"
#include "package/string_block.h"

namespace velbor {
namespace {

// The data of a found resource, viewed in the mapped image; nothing when absent.
std::optional<ByteView> FindResourceData(HMODULE module, std::int32_t id, const wchar_t* type) {
  if (id < 1 || id > kLargestResourceId) return std::nullopt;
  HRSRC info = FindResourceW(module, MAKEINTRESOURCEW(id), type);
  if (info == nullptr) return std::nullopt;
  const DWORD size = SizeofResource(module, info);
  HGLOBAL loaded = LoadResource(module, info);
  const void* data = loaded == nullptr ? nullptr : LockResource(loaded);
  if (data == nullptr) return std::nullopt;
  return ByteView(static_cast<const std::uint8_t*>(data), size);
}

}  // namespace

Win32Resources::Win32Resources() : Win32Resources(GetModuleHandleW(nullptr)) {}

Win32Resources::Win32Resources(HMODULE module) : module_(module) {}

Text Win32Resources::LoadResourceText(std::int32_t number) {
  if (number < 0 || number > kLargestResourceId) throw HostFailure::ResourceNotFound(number);
  const auto block = FindResourceData(module_, number / kStringsPerBlock + 1, RT_STRING);
  if (!block) throw HostFailure::ResourceNotFound(number);
  return StringFromBlock(*block, number % kStringsPerBlock, number);
}

ByteView Win32Resources::LoadResourceBytes(std::int32_t number, const Text& typeName) {
  const auto data = FindBytes(number, typeName);
  if (!data) throw HostFailure::ResourceNotFound(number);
  return *data;
}

std::uint64_t Win32Resources::ResourceSize(std::int32_t number, const Text& typeName) {
  // Viewing the data only points into the mapped image: no page of it is read.
  const auto data = FindBytes(number, typeName);
  return data ? data->size() : 0;
}

std::optional<ByteView> Win32Resources::FindBytes(std::int32_t number, const Text& typeName) const {
  // A NUL would end the type's name early and find a resource of another type.
  if (typeName.find(u'\0') != Text::npos) return std::nullopt;
  const std::wstring type = WideFromText(typeName);
  return FindResourceData(module_, number, type.c_str());
}

}  // namespace velbor
