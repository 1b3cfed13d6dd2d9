#include "host/win32/single_installer.h"

#include <sddl.h>

#include "host/win32/system_function.h"
#include "host/win32/windows_api.h"

namespace velbor {
namespace {

constexpr wchar_t kNamespaceName[] = L"VelborSetup";
constexpr wchar_t kSignInNamespace[] = L"VelborSetup\\Running";
constexpr wchar_t kGlobalSign[] = L"Global\\VelborSetupRunning";

using CreateBoundaryFunction = decltype(CreateBoundaryDescriptorW);
using AddSidFunction = decltype(AddSIDToBoundaryDescriptor);
using DeleteBoundaryFunction = decltype(DeleteBoundaryDescriptor);
using CreateNamespaceFunction = decltype(CreatePrivateNamespaceW);
using OpenNamespaceFunction = decltype(OpenPrivateNamespaceW);
using CloseNamespaceFunction = decltype(ClosePrivateNamespace);

template <typename Function>
Function* Kernel32Function(const char* name) {
  return SystemFunction<Function>(L"kernel32.dll", name);
}

// Security attributes that let only the administrators and the system in, for the
// namespace and the sign, so that nobody else can open them to hold them.
class AdministratorsOnly {
 public:
  AdministratorsOnly() {
    ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:P(A;;GA;;;BA)(A;;GA;;;SY)",
                                                         SDDL_REVISION_1, &descriptor_, nullptr);
    attributes_.lpSecurityDescriptor = descriptor_;
  }
  ~AdministratorsOnly() { LocalFree(descriptor_); }
  AdministratorsOnly(const AdministratorsOnly&) = delete;
  AdministratorsOnly& operator=(const AdministratorsOnly&) = delete;

  // Null when the descriptor could not be made: nothing is made then.
  SECURITY_ATTRIBUTES* Get() { return descriptor_ != nullptr ? &attributes_ : nullptr; }

 private:
  PSECURITY_DESCRIPTOR descriptor_ = nullptr;
  SECURITY_ATTRIBUTES attributes_{sizeof(SECURITY_ATTRIBUTES), nullptr, FALSE};
};

}  // namespace

BOOL FreeBoundaryDescriptor(HANDLE boundary) noexcept {
  if (auto* remove = Kernel32Function<DeleteBoundaryFunction>("DeleteBoundaryDescriptor")) {
    remove(boundary);
  }
  return TRUE;
}

BOOL ClosePrivateNamespaceHandle(HANDLE space) noexcept {
  auto* close = Kernel32Function<CloseNamespaceFunction>("ClosePrivateNamespace");
  return close != nullptr && close(space, 0);
}

InstallerNames::Namespace Win32InstallerNames::MakeNamespace() {
  auto* createBoundary = Kernel32Function<CreateBoundaryFunction>("CreateBoundaryDescriptorW");
  auto* addSid = Kernel32Function<AddSidFunction>("AddSIDToBoundaryDescriptor");
  auto* createNamespace = Kernel32Function<CreateNamespaceFunction>("CreatePrivateNamespaceW");
  if (createBoundary == nullptr || addSid == nullptr || createNamespace == nullptr ||
      Kernel32Function<OpenNamespaceFunction>("OpenPrivateNamespaceW") == nullptr ||
      Kernel32Function<CloseNamespaceFunction>("ClosePrivateNamespace") == nullptr ||
      Kernel32Function<DeleteBoundaryFunction>("DeleteBoundaryDescriptor") == nullptr) {
    return Namespace::kUnsupported;
  }
  boundary_ = UniqueBoundary(createBoundary(kNamespaceName, 0));
  if (!boundary_.IsValid()) return Namespace::kNotMade;
  BYTE sid[SECURITY_MAX_SID_SIZE];
  DWORD sidSize = sizeof sid;
  if (!CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, sid, &sidSize)) {
    return Namespace::kNotMade;
  }
  // The function may move the descriptor to make room for the SID.
  HANDLE boundary = boundary_.Get();
  const BOOL added = addSid(&boundary, sid);
  if (boundary != boundary_.Get()) boundary_ = UniqueBoundary(boundary);
  if (!added) return Namespace::kNotMade;
  AdministratorsOnly security;
  if (security.Get() == nullptr) return Namespace::kNotMade;
  namespace_ =
      UniquePrivateNamespace(createNamespace(security.Get(), boundary_.Get(), kNamespaceName));
  if (namespace_.IsValid()) return Namespace::kMade;
  return GetLastError() == ERROR_ALREADY_EXISTS ? Namespace::kExists : Namespace::kNotMade;
}

bool Win32InstallerNames::OpenNamespace() {
  auto* open = Kernel32Function<OpenNamespaceFunction>("OpenPrivateNamespaceW");
  if (open == nullptr || !boundary_.IsValid()) return false;
  namespace_ = UniquePrivateNamespace(open(boundary_.Get(), kNamespaceName));
  return namespace_.IsValid();
}

bool Win32InstallerNames::TakeRunningSign(bool inNamespace) {
  AdministratorsOnly security;
  sign_ = UniqueKernelHandle(
      CreateMutexW(security.Get(), FALSE, inNamespace ? kSignInNamespace : kGlobalSign));
  // Refused access means that one made by another account, another installer, exists.
  return sign_.IsValid() && GetLastError() != ERROR_ALREADY_EXISTS;
}

}  // namespace velbor
