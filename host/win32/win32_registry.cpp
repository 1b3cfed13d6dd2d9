#include "host/win32/win32_registry.h"

#include <limits>
#include <vector>

#include "host/failure.h"
#include "host/win32/wide_text.h"
#include "host/win32/win32_failure.h"
#include "host/win32/windows_api.h"

namespace velbor {
namespace {

HKEY ToHkey(RegKey key) { return reinterpret_cast<HKEY>(key); }
RegKey ToRegKey(HKEY key) { return reinterpret_cast<RegKey>(key); }

std::int32_t Status(LSTATUS status) { return static_cast<std::int32_t>(status); }

// The Win32 conversions count in int.
int CheckedLength(std::size_t length) {
  if (length > static_cast<std::size_t>(std::numeric_limits<int>::max())) {
    throw HostFailure(failure::kOverflow);
  }
  return static_cast<int>(length);
}

}  // namespace

std::int32_t Win32Registry::RegOpenKeyExA(RegKey key, const std::string& subKey,
                                          std::uint32_t options, std::uint32_t access,
                                          RegKey& result) {
  HKEY opened = ToHkey(result);
  const LSTATUS status = ::RegOpenKeyExA(ToHkey(key), subKey.c_str(), options, access, &opened);
  result = ToRegKey(opened);
  return Status(status);
}

std::int32_t Win32Registry::RegCreateKeyExA(RegKey key, const std::string& subKey,
                                            std::uint32_t reserved, const std::string& className,
                                            std::uint32_t options, std::uint32_t access,
                                            const SecurityAttributes& security, RegKey& result,
                                            std::uint32_t& disposition) {
  // The class parameter is not const in the declaration, although it is only read.
  std::vector<char> classBuffer(className.begin(), className.end());
  classBuffer.push_back('\0');
  SECURITY_ATTRIBUTES attributes{};
  attributes.nLength = security.length;
  attributes.lpSecurityDescriptor = const_cast<void*>(security.securityDescriptor);
  attributes.bInheritHandle = security.inheritHandle ? TRUE : FALSE;
  HKEY created = ToHkey(result);
  DWORD createdDisposition = disposition;
  const LSTATUS status =
      ::RegCreateKeyExA(ToHkey(key), subKey.c_str(), reserved, classBuffer.data(), options, access,
                        &attributes, &created, &createdDisposition);
  result = ToRegKey(created);
  disposition = createdDisposition;
  return Status(status);
}

std::int32_t Win32Registry::RegQueryValueExA(RegKey key, const std::string& valueName,
                                             std::uint32_t& type, std::uint8_t* data,
                                             std::uint32_t& size) {
  DWORD valueType = type;
  DWORD valueSize = size;
  const LSTATUS status =
      ::RegQueryValueExA(ToHkey(key), valueName.c_str(), nullptr, &valueType, data, &valueSize);
  type = valueType;
  size = valueSize;
  return Status(status);
}

std::int32_t Win32Registry::RegCloseKey(RegKey key) { return Status(::RegCloseKey(ToHkey(key))); }

std::string Win32Registry::AnsiFromText(const Text& text) {
  if (text.empty()) return std::string();
  const std::wstring wide = WideFromText(text);
  const int length = CheckedLength(wide.size());
  const int needed =
      WideCharToMultiByte(CP_ACP, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
  if (needed == 0) throw FailureFromLastError();
  std::string ansi(static_cast<std::size_t>(needed), '\0');
  if (WideCharToMultiByte(CP_ACP, 0, wide.data(), length, ansi.data(), needed, nullptr, nullptr) ==
      0) {
    throw FailureFromLastError();
  }
  return ansi;
}

Text Win32Registry::TextFromAnsi(std::string_view ansi) {
  if (ansi.empty()) return Text();
  const int length = CheckedLength(ansi.size());
  const int needed = MultiByteToWideChar(CP_ACP, 0, ansi.data(), length, nullptr, 0);
  if (needed == 0) throw FailureFromLastError();
  std::wstring wide(static_cast<std::size_t>(needed), L'\0');
  if (MultiByteToWideChar(CP_ACP, 0, ansi.data(), length, wide.data(), needed) == 0) {
    throw FailureFromLastError();
  }
  return TextFromWide(wide);
}

}  // namespace velbor
