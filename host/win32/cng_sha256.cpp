#include "host/win32/cng_sha256.h"

#include <algorithm>
#include <limits>
#include <string>

#include "host/failure.h"
#include "host/win32/wide_text.h"
#include "host/win32/win32_failure.h"
#include "host/win32/win32_processes.h"

namespace velbor {
namespace {

// What a failed CNG call stands for: its NTSTATUS is no Win32 error.
HostFailure CngFailure() { return HostFailure(failure::kInvalidArgument, u"SHA-256 (CNG) failed"); }

void Check(NTSTATUS status) {
  if (!BCRYPT_SUCCESS(status)) throw CngFailure();
}

template <typename Function>
Function Exported(HMODULE library, const char* name) {
  // GetProcAddress answers a generic function pointer; the caller names its type.
  auto* function =
      reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name)));
  if (function == nullptr) throw CngFailure();
  return function;
}

}  // namespace

CngSha256::CngSha256() {
  const std::wstring path = WideFromText(Win32Processes().SystemFolder()) + L"\\bcrypt.dll";
  // Its own imports are searched from the system folder too.
  library_.module = LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  if (library_.module == nullptr) throw FailureFromLastError();
  open_ = Exported<decltype(open_)>(library_.module, "BCryptOpenAlgorithmProvider");
  close_ = Exported<decltype(close_)>(library_.module, "BCryptCloseAlgorithmProvider");
  createHash_ = Exported<decltype(createHash_)>(library_.module, "BCryptCreateHash");
  hashData_ = Exported<decltype(hashData_)>(library_.module, "BCryptHashData");
  finishHash_ = Exported<decltype(finishHash_)>(library_.module, "BCryptFinishHash");
  destroyHash_ = Exported<decltype(destroyHash_)>(library_.module, "BCryptDestroyHash");
  Check(open_(&algorithm_, BCRYPT_SHA256_ALGORITHM, nullptr, 0));
}

CngSha256::~CngSha256() {
  if (algorithm_ != nullptr) close_(algorithm_, 0);
}

Sha256Digest CngSha256::Of(ByteView bytes) const {
  Hash hash(*this);
  hash.Add(bytes);
  return hash.Finish();
}

CngSha256::Hash::Hash(const CngSha256& provider) : provider_(provider) {
  // Windows 7 and later keep the hash object's memory themselves.
  Check(provider_.createHash_(provider_.algorithm_, &hash_, nullptr, 0, nullptr, 0, 0));
}

CngSha256::Hash::~Hash() {
  if (hash_ != nullptr) provider_.destroyHash_(hash_);
}

void CngSha256::Hash::Add(ByteView bytes) {
  while (!bytes.empty()) {
    const auto piece =
        static_cast<ULONG>(std::min<std::size_t>(bytes.size(), std::numeric_limits<ULONG>::max()));
    // The input is only read, whatever the declaration says.
    Check(provider_.hashData_(hash_, const_cast<PUCHAR>(bytes.data()), piece, 0));
    bytes = bytes.subspan(piece);
  }
}

Sha256Digest CngSha256::Hash::Finish() {
  Sha256Digest digest{};
  Check(provider_.finishHash_(hash_, digest.data(), static_cast<ULONG>(digest.size()), 0));
  return digest;
}

}  // namespace velbor
