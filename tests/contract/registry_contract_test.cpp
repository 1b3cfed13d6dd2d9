// What the registry functions and the registry library do against a registry that
// behaves as Windows does. The same cases run against the registry double natively
// and against the real registry under Wine.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "host/failure.h"
#include "host/registry_api.h"
#include "host/text.h"
#include "registry/reg_last_error.h"
#include "registry/reg_value.h"
#include "registry/registry_library.h"
#include "tests/contract/reg_last_error_check.h"
#include "tests/contract/registry_world.h"
#include "tests/support/bytes.h"
#include "tests/support/failures.h"

namespace velbor::testing {
namespace {

Bytes ValueBytes(std::string_view data) { return {data.begin(), data.end()}; }

constexpr char16_t kNotFound[] = u"La chiave/valore specificata/o non esiste";
constexpr char16_t kUnexpected[] = u"Errore non previsto";

class RegistryContract : public ::testing::Test {
 protected:
  // The key path of `path` below the scratch key.
  static Text Scratch(TextView path = u"") {
    Text keyPath(u"HKEY_CURRENT_USER\\Software\\VelborRegistryTests");
    if (!path.empty()) keyPath.append(u"\\").append(path);
    return keyPath;
  }

  RegistryApi& Api() { return world_->Registry(); }
  const RegLastError& Record() const { return library_.LastError(); }

  // A handle to the scratch key, opened directly.
  RegKey OpenScratch() {
    RegKey key = 0;
    EXPECT_EQ(
        Api().RegOpenKeyExA(reg::kCurrentUser, RegistryWorld::kScratchKey, 0, reg::kKeyRead, key),
        reg::kSuccess);
    return key;
  }

  // The size of `name`'s data as a query through `key` reports it, or the code of a
  // failed query.
  std::int32_t QueriedSize(RegKey key, const std::string& name) {
    std::uint32_t type = 0;
    std::uint32_t size = 0;
    const std::int32_t status = Api().RegQueryValueExA(key, name, type, nullptr, size);
    return status == reg::kSuccess ? static_cast<std::int32_t>(size) : -status;
  }

  std::unique_ptr<RegistryWorld> world_ = MakeRegistryWorld();
  RegistryLibrary library_{world_->Registry()};
};

// The registry functions themselves, as far as the library relies on them.
using RegistryApiContract = RegistryContract;

TEST_F(RegistryApiContract, OpeningTheEmptyNameGivesASecondHandleOfItsOwn) {
  world_->PutValue("", "v", reg::kTypeBinary, {1, 2, 3});
  const RegKey first = OpenScratch();
  RegKey second = 0;
  ASSERT_EQ(Api().RegOpenKeyExA(first, "", 0, reg::kKeyRead, second), reg::kSuccess);
  EXPECT_NE(second, first);
  EXPECT_EQ(Api().RegCloseKey(first), reg::kSuccess);
  EXPECT_EQ(QueriedSize(second, "v"), 3);
  EXPECT_EQ(Api().RegCloseKey(second), reg::kSuccess);
}

TEST_F(RegistryApiContract, APredefinedRootOpenedByTheEmptyNameAnswersItself) {
  RegKey key = 0;
  ASSERT_EQ(Api().RegOpenKeyExA(reg::kCurrentUser, "", 0, reg::kKeyRead, key), reg::kSuccess);
  EXPECT_EQ(key, reg::kCurrentUser);
  EXPECT_EQ(Api().RegCloseKey(reg::kCurrentUser), reg::kSuccess);
}

TEST_F(RegistryApiContract, AnswersTwoForWhatIsMissingAndSixForAHandleNotOpen) {
  const RegKey key = OpenScratch();
  RegKey opened = 0;
  EXPECT_EQ(Api().RegOpenKeyExA(key, "Missing", 0, reg::kKeyRead, opened), reg::kFileNotFound);
  EXPECT_EQ(QueriedSize(key, "missing"), -reg::kFileNotFound);
  EXPECT_EQ(Api().RegCloseKey(key), reg::kSuccess);
  EXPECT_EQ(QueriedSize(key, "missing"), -reg::kInvalidHandle);
  EXPECT_EQ(Api().RegCloseKey(key), reg::kInvalidHandle);
  EXPECT_EQ(Api().RegCloseKey(0), reg::kInvalidHandle);
}

TEST_F(RegistryApiContract, ABufferTooSmallAnswers234WithTheSizeNeeded) {
  world_->PutValue("", "v", reg::kTypeBinary, {1, 2, 3, 4, 5});
  const RegKey key = OpenScratch();
  std::uint32_t type = 0;
  Bytes buffer(4);
  std::uint32_t size = 4;
  EXPECT_EQ(Api().RegQueryValueExA(key, "v", type, buffer.data(), size), reg::kMoreData);
  EXPECT_EQ(size, 5u);
  EXPECT_EQ(type, reg::kTypeBinary);
  EXPECT_EQ(Api().RegCloseKey(key), reg::kSuccess);
}

TEST_F(RegistryApiContract, NamesAreFoundInAnyLetterCase) {
  world_->PutValue("Sub", "Value", reg::kTypeBinary, {1});
  RegKey key = 0;
  ASSERT_EQ(Api().RegOpenKeyExA(reg::kCurrentUser, "SOFTWARE\\velborregistrytests\\sUB", 0,
                                reg::kKeyRead, key),
            reg::kSuccess);
  EXPECT_EQ(QueriedSize(key, "VALUE"), 1);
  EXPECT_EQ(Api().RegCloseKey(key), reg::kSuccess);
}

TEST_F(RegistryApiContract, TextsGoThroughTheAnsiCodePage) {
  EXPECT_EQ(Api().AnsiFromText(u"perch\u00E9 \u20AC"), "perch\xE9 \x80");
  EXPECT_EQ(Api().TextFromAnsi("perch\xE9 \x80"), u"perch\u00E9 \u20AC");
  EXPECT_EQ(Api().AnsiFromText(u"\u65E5"), "?");
  // A byte that the code page leaves undefined stands for the control of its number.
  EXPECT_EQ(Api().TextFromAnsi("\x81"), u"\u0081");
}

using OpenKeyPathContract = RegistryContract;

TEST_F(OpenKeyPathContract, IgnoresBlanksAroundPiecesAndEmptyPieces) {
  world_->PutValue("Sub", "v", reg::kTypeBinary, {1, 2});
  const RegKey key = library_.OpenKeyPath(
      u"  \\ HKEY_CURRENT_USER  \\  Software \\\\ VelborRegistryTests\\\\Sub \\ ", false,
      reg::kKeyRead);
  ASSERT_NE(key, RegistryLibrary::kFailedKey);
  EXPECT_EQ(QueriedSize(key, "v"), 2);
  EXPECT_TRUE(IsClear(Record()));
  EXPECT_EQ(library_.CloseKey(key), 0);
}

TEST_F(OpenKeyPathContract, KnowsTheRootInAnyLetterCaseButOnlyByItsFullName) {
  const RegKey key = library_.OpenKeyPath(u"hkey_current_user\\Software\\VelborRegistryTests",
                                          false, reg::kKeyRead);
  ASSERT_NE(key, RegistryLibrary::kFailedKey);
  EXPECT_EQ(library_.CloseKey(key), 0);

  EXPECT_EQ(library_.OpenKeyPath(u"HKCU\\Software", false, reg::kKeyRead),
            RegistryLibrary::kFailedKey);
  EXPECT_TRUE(RecordIs(Record(), 2, kNotFound));
}

TEST_F(OpenKeyPathContract, ARootAloneGivesAHandleThatTheCallerCloses) {
  const RegKey key = library_.OpenKeyPath(u" HKEY_LOCAL_MACHINE\\", false, reg::kKeyRead);
  EXPECT_NE(key, RegistryLibrary::kFailedKey);
  EXPECT_NE(key, 0);
  EXPECT_EQ(library_.CloseKey(key), 0);
  EXPECT_TRUE(IsClear(Record()));
}

TEST_F(OpenKeyPathContract, APathWithoutPiecesOpensNothing) {
  library_.SetSystemError(5);
  EXPECT_EQ(library_.OpenKeyPath(u"", false, reg::kKeyRead), 0);
  EXPECT_TRUE(IsClear(Record()));
  EXPECT_EQ(library_.OpenKeyPath(u"  \\ \\\\  ", true, reg::kKeyRead), 0);
  EXPECT_TRUE(IsClear(Record()));
}

TEST_F(OpenKeyPathContract, TakesThirtyTwoPiecesButNotThirtyThree) {
  // The root, Software and the scratch key are three pieces.
  std::string levels = "L4";
  Text path = Scratch(u"L4");
  for (int level = 5; level <= 32; ++level) {
    levels.append("\\L").append(std::to_string(level));
    path.append(u"\\L").append(DecimalText(level));
  }
  world_->PutKey(levels);
  const RegKey key = library_.OpenKeyPath(path, false, reg::kKeyRead);
  ASSERT_NE(key, RegistryLibrary::kFailedKey);
  EXPECT_EQ(library_.CloseKey(key), 0);

  EXPECT_EQ(library_.OpenKeyPath(path + u"\\L33", true, reg::kKeyRead),
            RegistryLibrary::kFailedKey);
  EXPECT_TRUE(RecordIs(Record(), 100, u"Il massimo numero di chiavi previste è stato superato"));
  EXPECT_FALSE(world_->HasKey(levels + "\\L33"));
}

TEST_F(OpenKeyPathContract, AMissingKeyFailsWithTwoUnlessCreationIsAsked) {
  EXPECT_EQ(library_.OpenKeyPath(Scratch(u"A\\B"), false, reg::kKeyRead),
            RegistryLibrary::kFailedKey);
  EXPECT_TRUE(RecordIs(Record(), 2, kNotFound));
  EXPECT_FALSE(world_->HasKey("A"));

  const RegKey key = library_.OpenKeyPath(Scratch(u"A\\B"), true, reg::kKeyRead);
  ASSERT_NE(key, RegistryLibrary::kFailedKey);
  EXPECT_TRUE(IsClear(Record()));
  EXPECT_TRUE(world_->HasKey("A\\B"));
  EXPECT_EQ(library_.CloseKey(key), 0);
}

TEST_F(OpenKeyPathContract, ClosingAHandleThatIsNotOpenRecordsThePlatformsCode) {
  const RegKey key = library_.OpenKeyPath(Scratch(), false, reg::kKeyRead);
  ASSERT_EQ(library_.CloseKey(key), 0);
  EXPECT_EQ(library_.CloseKey(key), RegistryLibrary::kFailure);
  EXPECT_TRUE(RecordIs(Record(), reg::kInvalidHandle, kUnexpected));
}

using CreateKeyContract = RegistryContract;

TEST_F(CreateKeyContract, CreatesOneSubkeyOrLeavesAnExistingOneAsItIs) {
  EXPECT_EQ(library_.CreateKey(Scratch(), u"New"), 0);
  EXPECT_TRUE(world_->HasKey("New"));

  world_->PutValue("Old", "v", reg::kTypeBinary, {7});
  EXPECT_EQ(library_.CreateKey(Scratch(), u"OLD"), 0);
  RegValue value;
  EXPECT_EQ(library_.ReadValue(Scratch(u"Old"), u"v", value, ValueKind::kBytes), 0);
  EXPECT_EQ(value, RegValue(RegBytes{7}));
  EXPECT_TRUE(IsClear(Record()));
}

TEST_F(CreateKeyContract, FailsWhenTheParentCannotBeOpened) {
  EXPECT_EQ(library_.CreateKey(Scratch(u"Missing"), u"New"), -1);
  EXPECT_TRUE(RecordIs(Record(), 2, kNotFound));
  EXPECT_FALSE(world_->HasKey("Missing"));
}

// ReadValue with every kind of value, by the form it is asked for.
class ReadValueContract : public RegistryContract {
 protected:
  struct Read {
    std::int32_t status;
    RegValue value;
  };

  Read ReadAs(const std::string& name, ValueKind kind) {
    Read read{0, RegValue()};
    read.status = library_.ReadValue(Scratch(), Text(name.begin(), name.end()), read.value, kind);
    return read;
  }

  // Puts the value and checks its three renderings and its rendering by type.
  void ExpectRenderings(std::uint32_t type, const Bytes& data, const Text& text,
                        const RegBytes& bytes, double number, const RegValue& byType) {
    world_->PutValue("", "value", type, data);
    EXPECT_EQ(ReadAs("value", ValueKind::kText).value, RegValue(text));
    EXPECT_EQ(ReadAs("value", ValueKind::kBytes).value, RegValue(bytes));
    EXPECT_EQ(ReadAs("value", ValueKind::kNumber).value, RegValue(number));
    EXPECT_EQ(ReadAs("value", ValueKind{5}).value, byType);
    EXPECT_EQ(ReadAs("value", ValueKind{-1}).value, byType);
    EXPECT_TRUE(IsClear(Record()));
  }
};

TEST_F(ReadValueContract, TextLosesOnlyItsVeryLastNul) {
  {
    SCOPED_TRACE("REG_SZ with its NUL");
    ExpectRenderings(reg::kTypeSz, ValueBytes({"abc\0", 4}), u"abc", {0x61, 0x62, 0x63}, 0,
                     Text(u"abc"));
  }
  {
    SCOPED_TRACE("REG_SZ without its NUL");
    ExpectRenderings(reg::kTypeSz, ValueBytes("abc"), u"abc", {0x61, 0x62, 0x63}, 0, Text(u"abc"));
  }
  {
    SCOPED_TRACE("REG_SZ of its NUL alone");
    ExpectRenderings(reg::kTypeSz, {0}, u"", {0}, 0, Text());
  }
  {
    SCOPED_TRACE("REG_MULTI_SZ");
    ExpectRenderings(reg::kTypeMultiSz, ValueBytes({"a\0bc\0\0", 6}), Text(u"a\0bc\0", 5),
                     ValueBytes({"a\0bc\0", 5}), 0, Text(u"a\0bc\0", 5));
  }
  {
    SCOPED_TRACE("REG_EXPAND_SZ");
    ExpectRenderings(reg::kTypeExpandSz, ValueBytes({"%TEMP%\\x\0", 9}), u"%TEMP%\\x",
                     ValueBytes("%TEMP%\\x"), 0, Text(u"%TEMP%\\x"));
  }
}

TEST_F(ReadValueContract, TextIsDecodedFromTheAnsiCodePageAndBytesKeptAsStored) {
  ExpectRenderings(reg::kTypeSz, ValueBytes({"perch\xE9 \x80\0", 8}), u"perch\u00E9 \u20AC",
                   ValueBytes("perch\xE9 \x80"), 0, Text(u"perch\u00E9 \u20AC"));
}

TEST_F(ReadValueContract, DwordIsAnUnsignedNumberAndHexadecimalMostSignificantFirst) {
  {
    SCOPED_TRACE("2A 00 00 00");
    ExpectRenderings(reg::kTypeDword, {0x2A, 0, 0, 0}, u"0000002A", {0x2A, 0, 0, 0}, 42, 42.0);
  }
  {
    SCOPED_TRACE("FF FF FF FF");
    ExpectRenderings(reg::kTypeDword, {0xFF, 0xFF, 0xFF, 0xFF}, u"FFFFFFFF",
                     {0xFF, 0xFF, 0xFF, 0xFF}, 4294967295.0, 4294967295.0);
  }
  {
    SCOPED_TRACE("two bytes");
    ExpectRenderings(reg::kTypeDword, {0x34, 0x12}, u"1234", {0x34, 0x12}, 0x1234, 4660.0);
  }
  {
    SCOPED_TRACE("eight bytes");
    const double number = std::ldexp(1.0, 48) + 1;
    ExpectRenderings(reg::kTypeDword, {1, 0, 0, 0, 0, 0, 1, 0}, u"0001000000000001",
                     {1, 0, 0, 0, 0, 0, 1, 0}, number, number);
  }
}

TEST_F(ReadValueContract, DwordOfOddLengthFailsWithInvalidArgumentAndChangesNothing) {
  world_->PutValue("", "odd", reg::kTypeDword, {0x2A, 0, 0});
  RegValue value(Text(u"kept"));
  EXPECT_TRUE(FailsWith(failure::kInvalidArgument,
                        [&] { library_.ReadValue(Scratch(), u"odd", value, ValueKind::kText); }));
  EXPECT_EQ(value, RegValue(Text(u"kept")));
  EXPECT_TRUE(IsClear(Record()));
}

TEST_F(ReadValueContract, DwordTooLargeForANumberFailsWithOverflow) {
  Bytes data(130, 0);
  data[0] = 7;
  world_->PutValue("", "zeros above", reg::kTypeDword, data);
  EXPECT_EQ(ReadAs("zeros above", ValueKind::kNumber).value, RegValue(7.0));

  data.back() = 1;
  world_->PutValue("", "too large", reg::kTypeDword, data);
  RegValue value;
  EXPECT_TRUE(FailsWith(failure::kOverflow, [&] {
    library_.ReadValue(Scratch(), u"too large", value, ValueKind::kText);
  }));
  EXPECT_EQ(value, RegValue());
}

TEST_F(ReadValueContract, BinaryIsHexadecimalWithoutLeadingZerosOneSpaceApart) {
  ExpectRenderings(reg::kTypeBinary, {0x0A, 0x00, 0xFF}, u"A 0 FF", {0x0A, 0x00, 0xFF}, 0,
                   RegBytes{0x0A, 0x00, 0xFF});
}

TEST_F(ReadValueContract, ReadsTheDefaultValueByTheEmptyNameAndOthersInAnyCase) {
  world_->PutValue("", "", reg::kTypeSz, ValueBytes({"default\0", 8}));
  world_->PutValue("", "strPath", reg::kTypeSz, ValueBytes({"C:\\Velbor\\\0", 11}));
  EXPECT_EQ(ReadAs("", ValueKind::kText).value, RegValue(Text(u"default")));
  EXPECT_EQ(ReadAs("STRPATH", ValueKind::kText).value, RegValue(Text(u"C:\\Velbor\\")));
}

TEST_F(ReadValueContract, AValueWithoutDataLeavesTheHolderAsItWas) {
  world_->PutValue("", "empty", reg::kTypeBinary, {});
  RegValue value(Text(u"kept"));
  EXPECT_EQ(library_.ReadValue(Scratch(), u"empty", value, ValueKind::kText), 0);
  EXPECT_EQ(value, RegValue(Text(u"kept")));
  EXPECT_TRUE(IsClear(Record()));
}

TEST_F(ReadValueContract, WhatIsMissingFailsWithTwoAndLeavesTheHolderAsItWas) {
  RegValue value(Text(u"kept"));
  EXPECT_EQ(library_.ReadValue(Scratch(), u"missing", value, ValueKind::kText), -1);
  EXPECT_TRUE(RecordIs(Record(), 2, kNotFound));
  EXPECT_EQ(library_.ReadValue(Scratch(u"Missing"), u"v", value, ValueKind::kText), -1);
  EXPECT_TRUE(RecordIs(Record(), 2, kNotFound));
  EXPECT_EQ(value, RegValue(Text(u"kept")));
}

TEST_F(ReadValueContract, AnEmptyKeyPathFailsOnTheQueryWithTheInvalidHandleCode) {
  RegValue value;
  EXPECT_EQ(library_.ReadValue(u" \\ ", u"v", value, ValueKind::kText), -1);
  EXPECT_TRUE(RecordIs(Record(), reg::kInvalidHandle, kUnexpected));
  EXPECT_EQ(value, RegValue());
}

}  // namespace
}  // namespace velbor::testing
