// Reading one value of a key named by a key path.
#include <algorithm>
#include <new>
#include <span>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "host/failure.h"
#include "registry/opened_keys.h"
#include "registry/registry_library.h"
#include "registry/value_renderings.h"

namespace velbor {
namespace {

RegValue Delivered(ValueRenderings&& renderings, std::uint32_t type, ValueKind kind) {
  switch (kind) {
    case ValueKind::kText:
      return std::move(renderings.text);
    case ValueKind::kBytes:
      return std::move(renderings.bytes);
    case ValueKind::kNumber:
      return renderings.number;
    default:
      if (type == reg::kTypeBinary) return std::move(renderings.bytes);
      if (type == reg::kTypeDword) return renderings.number;
      return std::move(renderings.text);
  }
}

// A buffer of `size` spaces. The size comes from the registry, so a buffer that
// cannot be had is the host's out-of-memory failure, which the callers' handlers
// catch, rather than an exception nobody expects.
std::vector<std::uint8_t> SpaceFilledBuffer(std::size_t size) {
  try {
    return std::vector<std::uint8_t>(size, ' ');
  } catch (const std::bad_alloc&) {
    throw HostFailure(failure::kOutOfMemory);
  } catch (const std::length_error&) {
    throw HostFailure(failure::kOutOfMemory);
  }
}

}  // namespace

std::int32_t RegistryLibrary::ReadValue(const Text& keyPath, const Text& valueName, RegValue& value,
                                        ValueKind kind) {
  ClearRegError();
  const RegKey opened = OpenKeyPath(keyPath, false, reg::kKeyRead);
  if (opened == kFailedKey) return kFailure;
  const OwnKey key(*this, opened);
  const std::string name = api_.AnsiFromText(valueName);

  // First the type and size, then the data into a buffer of that size.
  std::uint32_t type = 0;
  std::uint32_t size = 0;
  std::int32_t status = api_.RegQueryValueExA(key.Get(), name, type, nullptr, size);
  if (status != reg::kSuccess && status != reg::kMoreData) {
    SetSystemError(status);
    return kFailure;
  }
  // Never an empty buffer: a null one would turn the data query into another size
  // query, and a value that has grown meanwhile would then read as success.
  std::vector<std::uint8_t> buffer = SpaceFilledBuffer(std::max<std::size_t>(size, 1));
  status = api_.RegQueryValueExA(key.Get(), name, type, buffer.data(), size);
  if (status != reg::kSuccess) {
    SetSystemError(status);
    return kFailure;
  }
  if (size == 0) return 0;

  // The platform never reports more data than the buffer holds; the bound keeps a
  // misreport from reading past it.
  const std::span<const std::uint8_t> data =
      std::span(buffer).first(std::min<std::size_t>(size, buffer.size()));
  value = Delivered(RenderValue(type, data, api_), type, kind);
  return 0;
}

}  // namespace velbor
