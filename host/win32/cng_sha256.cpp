#include "host/win32/cng_sha256.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <string>

#include "host/failure.h"
#include "host/win32/image_bytes.h"
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

// One digest, fed in pieces.
class CngSha256::Hash {
 public:
  explicit Hash(const CngSha256& provider) : provider_(provider) {
    // Windows 7 and later keep the hash object's memory themselves.
    Check(provider_.createHash_(provider_.algorithm_, &hash_, nullptr, 0, nullptr, 0, 0));
  }
  ~Hash() {
    if (hash_ != nullptr) provider_.destroyHash_(hash_);
  }
  Hash(const Hash&) = delete;
  Hash& operator=(const Hash&) = delete;

  void Add(ByteView bytes) {
    while (!bytes.empty()) {
      const auto piece = static_cast<ULONG>(
          std::min<std::size_t>(bytes.size(), std::numeric_limits<ULONG>::max()));
      // The input is only read, whatever the declaration says.
      Check(provider_.hashData_(hash_, const_cast<PUCHAR>(bytes.data()), piece, 0));
      bytes = bytes.subspan(piece);
    }
  }

  // Once, after the last piece.
  Sha256Digest Finish() {
    Sha256Digest digest{};
    Check(provider_.finishHash_(hash_, digest.data(), static_cast<ULONG>(digest.size()), 0));
    return digest;
  }

 private:
  const CngSha256& provider_;
  BCRYPT_HASH_HANDLE hash_ = nullptr;
};

CngSha256::CngSha256(const ImageFile* image) : image_(image) {
  const std::wstring path = WideFromText(Win32Processes().SystemFolder()) + L"\\bcrypt.dll";
  // Its own imports are searched from the system folder too.
  library_ = UniqueModule(LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
  if (!library_.IsValid()) throw FailureFromLastError();
  const HMODULE library = library_.Get();
  open_ = Exported<decltype(open_)>(library, "BCryptOpenAlgorithmProvider");
  close_ = Exported<decltype(close_)>(library, "BCryptCloseAlgorithmProvider");
  createHash_ = Exported<decltype(createHash_)>(library, "BCryptCreateHash");
  hashData_ = Exported<decltype(hashData_)>(library, "BCryptHashData");
  finishHash_ = Exported<decltype(finishHash_)>(library, "BCryptFinishHash");
  destroyHash_ = Exported<decltype(destroyHash_)>(library, "BCryptDestroyHash");
  Check(open_(&algorithm_, BCRYPT_SHA256_ALGORITHM, nullptr, 0));
}

CngSha256::~CngSha256() {
  if (algorithm_ != nullptr) close_(algorithm_, 0);
}

Sha256Digest CngSha256::Of(ByteView bytes, const HashProgress& progress) const {
  return OfPieces([&](const HashSink& take) {
    std::uint64_t hashed = 0;
    ReadImageBytes(image_, bytes, kHashedBetweenReports, [&](ByteView piece) {
      take(piece);
      hashed += piece.size();
      if (progress) progress(hashed);
    });
  });
}

Sha256Digest CngSha256::OfPieces(const HashSource& hand) const {
  Hash hash(*this);
  hand([&](ByteView piece) { hash.Add(piece); });
  return hash.Finish();
}

}  // namespace velbor
