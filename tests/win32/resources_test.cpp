#include <cstdint>
#include <string>

#include "gtest/gtest.h"
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

// A payload is written from its view in the image, in several writes.
TEST(Win32ResourcesTest, LargeBytesAreWrittenWhole) {
  Win32Resources resources;
  const ByteView bytes = resources.LoadResourceBytes(kLargeItem, u"CUSTOM");
  ScratchFolder folder;
  Win32FileSystem files;
  files.WriteWholeFile(TextFromWide(folder.Path()) + u"payload.bin", bytes);
  const auto written = ReadWholeFile(folder.Path() + L"payload.bin");
  ASSERT_TRUE(written);
  ASSERT_EQ(written->size(), bytes.size());
  EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), written->begin()));
}

}  // namespace
}  // namespace velbor::testing
