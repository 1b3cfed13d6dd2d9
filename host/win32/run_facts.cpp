#include "host/win32/run_facts.h"

#include <cstddef>
#include <cstring>
#include <memory>
#include <string>

#include "host/win32/system_function.h"
#include "host/win32/unique_handle.h"
#include "host/win32/wide_text.h"

namespace velbor {
namespace {

constexpr char16_t kUnknown[] = u"?";

// RtlGetVersion's own type: ntdll reports the true version where GetVersionExW
// answers what the manifest declares.
using GetVersion = LONG WINAPI(OSVERSIONINFOW*);

Text Dotted(DWORD high, DWORD low) {
  Text text = DecimalText(HIWORD(high));
  for (DWORD part : {static_cast<DWORD>(LOWORD(high)), static_cast<DWORD>(HIWORD(low)),
                     static_cast<DWORD>(LOWORD(low))}) {
    text += u'.';
    text += DecimalText(part);
  }
  return text;
}

Text AccountName(HANDLE token) {
  DWORD size = 0;
  GetTokenInformation(token, TokenUser, nullptr, 0, &size);
  if (size == 0) return kUnknown;
  const auto buffer = std::make_unique<std::byte[]>(size);
  if (!GetTokenInformation(token, TokenUser, buffer.get(), size, &size)) return kUnknown;
  const PSID sid = reinterpret_cast<TOKEN_USER*>(buffer.get())->User.Sid;
  wchar_t name[256];
  wchar_t domain[256];
  DWORD nameLength = 256;
  DWORD domainLength = 256;
  SID_NAME_USE use;
  if (!LookupAccountSidW(nullptr, sid, name, &nameLength, domain, &domainLength, &use)) {
    return kUnknown;
  }
  Text account = TextFromWide(std::wstring_view(domain, domainLength));
  if (!account.empty()) account += u'\\';
  account += TextFromWide(std::wstring_view(name, nameLength));
  return account;
}

}  // namespace

Text ProgramVersion(HINSTANCE instance) {
  const HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(VS_VERSION_INFO),
                                    MAKEINTRESOURCEW(16));  // RT_VERSION
  if (found == nullptr) return kUnknown;
  const HGLOBAL loaded = LoadResource(instance, found);
  const auto* block = static_cast<const std::byte*>(LockResource(loaded));
  const DWORD size = SizeofResource(instance, found);
  // The fixed information follows the block's header and its key "VS_VERSION_INFO",
  // aligned to four bytes: 6 + 32 bytes, rounded up to 40.
  constexpr std::size_t kFixedAt = 40;
  VS_FIXEDFILEINFO fixed;
  if (block == nullptr || size < kFixedAt + sizeof fixed) return kUnknown;
  std::memcpy(&fixed, block + kFixedAt, sizeof fixed);
  if (fixed.dwSignature != 0xFEEF04BD) return kUnknown;
  return Dotted(fixed.dwFileVersionMS, fixed.dwFileVersionLS);
}

Text WindowsVersion() {
  const auto getVersion = SystemFunction<GetVersion>(L"ntdll.dll", "RtlGetVersion");
  OSVERSIONINFOW version{};
  version.dwOSVersionInfoSize = sizeof version;
  if (getVersion == nullptr || getVersion(&version) != 0) return kUnknown;
  Text text(u"Windows ");
  text += DecimalText(version.dwMajorVersion) + u'.' + DecimalText(version.dwMinorVersion) + u'.' +
          DecimalText(version.dwBuildNumber);
  const std::wstring_view servicePack(
      version.szCSDVersion, wcsnlen(version.szCSDVersion, std::size(version.szCSDVersion)));
  if (!servicePack.empty()) text += u' ' + TextFromWide(servicePack);
  return text;
}

Text ProcessIdentity() {
  HANDLE opened = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &opened)) return kUnknown;
  const UniqueKernelHandle token(opened);
  TOKEN_ELEVATION elevation{};
  DWORD size = 0;
  const bool known =
      GetTokenInformation(token.Get(), TokenElevation, &elevation, sizeof elevation, &size);
  Text identity = !known                           ? Text(u"elevazione sconosciuta")
                  : elevation.TokenIsElevated != 0 ? Text(u"elevato")
                                                   : Text(u"non elevato");
  identity += u", come ";
  identity += AccountName(token.Get());
  return identity;
}

}  // namespace velbor
