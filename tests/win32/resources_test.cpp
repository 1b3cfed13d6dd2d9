#include <cstdint>
#include <optional>
#include <string>

#include "gtest/gtest.h"
#include "host/win32/cng_sha256.h"
#include "host/win32/image_file.h"
#include "host/win32/wide_text.h"
#include "host/win32/win32_file_system.h"
#include "host/win32/win32_resources.h"
#include "tests/support/failures.h"
#include "tests/win32/win32_test_support.h"

namespace velbor::testing {
namespace {

constexpr std::int32_t kLargeItem = 201;
// The payload that the build generated and linked in as kLargeItem.
constexpr wchar_t kLargePayloadFile[] = L"large_payload.bin";

TEST(Win32ResourcesTest, ReadsTheStringsOfABlock) {
  Win32Resources resources;
  EXPECT_EQ(resources.LoadResourceText(100), u"2");
  EXPECT_EQ(resources.LoadResourceText(101), u"Brevanti.zip|<APPPATH>Corsenta/|N|");
  EXPECT_EQ(resources.LoadResourceText(103), u"Perché è così");
  EXPECT_EQ(resources.LoadResourceText(96), u"first of its block");
  EXPECT_EQ(resources.LoadResourceText(111), u"last of its block");
}

// The format stores an empty string and an absent one of a present block alike.
TEST(Win32ResourcesTest, EmptyAndAbsentStringsOfAPresentBlockReadEmpty) {
  Win32Resources resources;
  EXPECT_EQ(resources.LoadResourceText(102), u"");
  EXPECT_EQ(resources.LoadResourceText(104), u"");
}

TEST(Win32ResourcesTest, AStringOfAnAbsentBlockIsNotFound) {
  Win32Resources resources;
  try {
    resources.LoadResourceText(5000);
    FAIL() << "string 5000 was found";
  } catch (const HostFailure& failure) {
    EXPECT_EQ(failure.Number(), 326);
    EXPECT_NE(failure.Description().find(u"5000"), Text::npos) << failure.what();
  }
  for (std::int32_t number : {112, -1, 65536, INT32_MAX, INT32_MIN}) {
    EXPECT_TRUE(FailsWith(326, [&] { resources.LoadResourceText(number); })) << number;
  }
}

TEST(Win32ResourcesTest, FindsBytesOfAnotherLanguageWithoutCopying) {
  Win32Resources resources;
  const ByteView small = resources.LoadResourceBytes(101, u"CUSTOM");
  EXPECT_EQ(std::string(small.begin(), small.end()), "small item");
  EXPECT_EQ(resources.LoadResourceBytes(101, u"CUSTOM").data(), small.data());
}

TEST(Win32ResourcesTest, MissingBytesAreNotFound) {
  Win32Resources resources;
  for (std::int32_t number : {102, 0, -101, 65536 + 101}) {
    EXPECT_TRUE(FailsWith(326, [&] { resources.LoadResourceBytes(number, u"CUSTOM"); })) << number;
  }
  EXPECT_TRUE(FailsWith(326, [&] { resources.LoadResourceBytes(101, u"OTHER"); }));
  EXPECT_TRUE(FailsWith(326, [&] { resources.LoadResourceBytes(101, Text(u"CUSTOM\0X", 8)); }));
}

TEST(Win32ResourcesTest, LargeBytesAreTheGeneratedFileViewedInTheImage) {
  const auto expected = ReadWholeFile(kLargePayloadFile);
  ASSERT_TRUE(expected) << "run from the folder that holds large_payload.bin";
  Win32Resources resources;
  const ByteView bytes = resources.LoadResourceBytes(kLargeItem, u"CUSTOM");
  ASSERT_EQ(bytes.size(), expected->size());
  EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), expected->begin()));

  const auto* base = reinterpret_cast<const std::uint8_t*>(GetModuleHandleW(nullptr));
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const std::uint8_t* end = base + nt->OptionalHeader.SizeOfImage;
  EXPECT_GE(bytes.data(), base);
  EXPECT_LE(bytes.data() + bytes.size(), end);
}

// A payload is written whole, in several writes, both from its view in the image and
// from the image's own file; the payload's check, reading either way as the write
// does, hashes the same bytes.
TEST(Win32ResourcesTest, LargeBytesAreWrittenWholeAndHashedAlike) {
  Win32Resources resources;
  const ByteView bytes = resources.LoadResourceBytes(kLargeItem, u"CUSTOM");
  const std::optional<ImageFile> image = ImageFile::Prove(GetModuleHandleW(nullptr));
  ASSERT_TRUE(image) << "the test program's own file was not proven";
  EXPECT_TRUE(image->FileOffsetOf(bytes));
  ScratchFolder folder;
  Win32FileSystem fromView;
  Win32FileSystem fromFile(&*image);
  const Sha256Digest digest = CngSha256().Of(bytes, {});
  for (const ImageFile* from : {static_cast<const ImageFile*>(nullptr), &*image}) {
    std::uint64_t heard = 0;
    EXPECT_EQ(CngSha256(from).Of(bytes, [&](std::uint64_t at) { heard = at; }), digest);
    EXPECT_EQ(heard, bytes.size());
  }
  for (Win32FileSystem* files : {&fromView, &fromFile}) {
    files->WriteWholeFile(TextFromWide(folder.Path()) + u"payload.bin", bytes, {});
    const auto written = ReadWholeFile(folder.Path() + L"payload.bin");
    ASSERT_TRUE(written);
    ASSERT_EQ(written->size(), bytes.size());
    EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), written->begin()));
  }
}

// Only bytes wholly inside the resources have a place in the file.
TEST(Win32ResourcesTest, BytesOutsideTheResourcesHaveNoPlaceInTheImageFile) {
  const auto image = ImageFile::Prove(GetModuleHandleW(nullptr));
  ASSERT_TRUE(image);
  const ByteView bytes = Win32Resources().LoadResourceBytes(kLargeItem, u"CUSTOM");
  const std::uint8_t elsewhere[16] = {};
  EXPECT_FALSE(image->FileOffsetOf(elsewhere));
  EXPECT_FALSE(image->FileOffsetOf(ByteView(bytes.data(), 64u << 20)));
  EXPECT_FALSE(image->FileOffsetOf(ByteView(bytes.data(), 0)));
}

// A file put in the place of a loaded image, after it was loaded, is not its file,
// even when it holds the same bytes.
TEST(Win32ResourcesTest, AnImageWhoseFileWasReplacedIsNotProven) {
  ScratchFolder folder;
  const std::wstring self = ProgramFolder() + L"velbor_win32_tests.exe";
  const std::wstring copy = folder.Path() + L"copy.exe";
  ASSERT_TRUE(CopyFileW(self.c_str(), copy.c_str(), FALSE));
  const HMODULE module = LoadLibraryExW(copy.c_str(), nullptr, DONT_RESOLVE_DLL_REFERENCES);
  ASSERT_NE(module, nullptr) << GetLastError();
  EXPECT_TRUE(ImageFile::Prove(module));
  ASSERT_TRUE(MoveFileW(copy.c_str(), (folder.Path() + L"moved.exe").c_str())) << GetLastError();
  ASSERT_TRUE(CopyFileW(self.c_str(), copy.c_str(), FALSE));
  EXPECT_FALSE(ImageFile::Prove(module));
  FreeLibrary(module);
}

}  // namespace
}  // namespace velbor::testing
