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

// A hash object of CNG's, destroyed by the library's own BCryptDestroyHash.
struct HashTraits {
  using Handle = BCRYPT_HASH_HANDLE;
  static Handle Invalid() noexcept { return nullptr; }
  bool Close(Handle hash) const noexcept { return BCRYPT_SUCCESS(destroy(hash)); }

  decltype(&BCryptDestroyHash) destroy = nullptr;
};

}  // namespace

CngSha256::CngSha256(const ImageFile* image) : image_(image) {
  const std::wstring path = WideFromText(Win32Processes().SystemFolder()) + L"\\bcrypt.dll";
  // Its own imports are searched from the system folder too.
  library_ = UniqueModule(LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
  if (!library_.IsValid()) throw FailureFromLastError();
  const HMODULE library = library_.Get();
  const auto open =
      Exported<decltype(&BCryptOpenAlgorithmProvider)>(library, "BCryptOpenAlgorithmProvider");
  const auto close =
      Exported<decltype(&BCryptCloseAlgorithmProvider)>(library, "BCryptCloseAlgorithmProvider");
  createHash_ = Exported<decltype(createHash_)>(library, "BCryptCreateHash");
  hashData_ = Exported<decltype(hashData_)>(library, "BCryptHashData");
  finishHash_ = Exported<decltype(finishHash_)>(library, "BCryptFinishHash");
  destroyHash_ = Exported<decltype(destroyHash_)>(library, "BCryptDestroyHash");
  BCRYPT_ALG_HANDLE algorithm = nullptr;
  Check(open(&algorithm, BCRYPT_SHA256_ALGORITHM, nullptr, 0));
  algorithm_ = UniqueHandle<AlgorithmTraits>(algorithm, AlgorithmTraits{close});
}

Sha256Digest CngSha256::Of(ByteView bytes, const HashProgress& progress) const {
  return OfPieces([&](const HashSink& take) {
    std::uint64_t hashed = 0;
    ReadImageBytes(image_, bytes, kPieceSize, [&](ByteView piece) {
      take(piece);
      hashed += piece.size();
      if (progress) progress(hashed);
    });
  });
}

Sha256Digest CngSha256::OfPieces(const HashSource& hand) const {
  BCRYPT_HASH_HANDLE created = nullptr;
  // Windows 7 and later keep the hash object's memory themselves.
  Check(createHash_(algorithm_.Get(), &created, nullptr, 0, nullptr, 0, 0));
  const UniqueHandle<HashTraits> hash(created, HashTraits{destroyHash_});
  hand([&](ByteView bytes) {
    while (!bytes.empty()) {
      const auto piece = static_cast<ULONG>(
          std::min<std::size_t>(bytes.size(), std::numeric_limits<ULONG>::max()));
      // The input is only read, whatever the declaration says.
      Check(hashData_(hash.Get(), const_cast<PUCHAR>(bytes.data()), piece, 0));
      bytes = bytes.subspan(piece);
    }
  });
  Sha256Digest digest{};
  Check(finishHash_(hash.Get(), digest.data(), static_cast<ULONG>(digest.size()), 0));
  return digest;
}

}  // namespace velbor
