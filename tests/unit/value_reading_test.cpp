// ReadValue against the registry double: its two queries, the key it closes on
// every path, and what it records, also where only the double can fail.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/failure.h"
#include "host/registry_api.h"
#include "registry/reg_value.h"
#include "registry/registry_library.h"
#include "tests/contract/reg_last_error_check.h"
#include "tests/doubles/fake_registry.h"
#include "tests/support/failures.h"
#include "tests/unit/registry_call_log.h"

namespace velbor {
namespace {

using testing::CallLines;
using testing::FailureNumberOf;
using testing::FakeRegistry;
using testing::IsClear;
using testing::RecordIs;
using Function = FakeRegistry::Function;
using Lines = std::vector<std::string>;

constexpr char16_t kKeyPath[] = u"HKEY_LOCAL_MACHINE\\Software\\Velbor\\Installazione";
constexpr char kKey[] = "Software\\Velbor\\Installazione";

class ValueReadingTest : public ::testing::Test {
 protected:
  ValueReadingTest() { PutPath("C:\\Velbor\\"); }

  void PutPath(const std::string& text) {
    std::vector<std::uint8_t> data(text.begin(), text.end());
    data.push_back(0);
    registry_.PutValue(reg::kLocalMachine, kKey, "strPath", reg::kTypeSz, data);
  }

  std::int32_t Read(ValueKind kind = ValueKind::kText) {
    return library_.ReadValue(kKeyPath, u"strPath", value_, kind);
  }

  const RegLastError& Record() const { return library_.LastError(); }

  // The calls from the size query on, after the walk that opened the key.
  Lines CallsAfterTheWalk() const {
    Lines lines = CallLines(registry_.Log());
    lines.erase(lines.begin(), lines.begin() + 7);
    return lines;
  }

  FakeRegistry registry_;
  RegistryLibrary library_{registry_};
  RegValue value_{Text(u"kept")};
};

TEST_F(ValueReadingTest, QueriesTheSizeThenTheDataAndClosesTheKey) {
  EXPECT_EQ(Read(), 0);
  EXPECT_EQ(value_, RegValue(Text(u"C:\\Velbor\\")));
  EXPECT_EQ(CallsAfterTheWalk(),
            (Lines{"query #4 strPath for size", "query #4 strPath with buffer", "close #4"}));
  EXPECT_EQ(registry_.Log()[0].access, reg::kKeyRead);
  EXPECT_EQ(registry_.OpenHandleCount(), 0);
  EXPECT_TRUE(IsClear(Record()));
}

TEST_F(ValueReadingTest, AValueThatGrowsBetweenTheQueriesFailsWith234) {
  registry_.AfterNextQuery([this] { PutPath("D:\\A much longer folder\\"); });
  EXPECT_EQ(Read(), -1);
  EXPECT_TRUE(RecordIs(Record(), 234, u"Errore non previsto"));
  EXPECT_EQ(value_, RegValue(Text(u"kept")));
  EXPECT_EQ(registry_.OpenHandleCount(), 0);
}

TEST_F(ValueReadingTest, AValueThatGrowsFromNothingFailsToo) {
  registry_.PutValue(reg::kLocalMachine, kKey, "strPath", reg::kTypeSz, {});
  registry_.AfterNextQuery([this] { PutPath("C:\\"); });
  EXPECT_EQ(Read(), -1);
  EXPECT_EQ(Record().Number, 234);
  EXPECT_EQ(value_, RegValue(Text(u"kept")));
}

TEST_F(ValueReadingTest, TheDataQueryDecidesTypeAndSize) {
  registry_.AfterNextQuery([this] {
    registry_.PutValue(reg::kLocalMachine, kKey, "strPath", reg::kTypeDword, {0x2A, 0});
  });
  EXPECT_EQ(Read(ValueKind{5}), 0);
  EXPECT_EQ(value_, RegValue(42.0));
}

// 234 from the size query is no failure; here it reported no size, so the data
// query has an empty buffer.
TEST_F(ValueReadingTest, ASizeQueryAnswering234GoesOnToTheDataQuery) {
  registry_.FailCall(Function::kQuery, 1, reg::kMoreData);
  Read();
  EXPECT_EQ(CallsAfterTheWalk(), (Lines{"query #4 strPath for size = 234",
                                        "query #4 strPath with buffer = 234", "close #4"}));
}

TEST_F(ValueReadingTest, FailedQueriesRecordTheirCodeAndCloseTheKey) {
  for (const int query : {1, 2}) {
    SCOPED_TRACE(query);
    FakeRegistry registry;
    registry.PutValue(reg::kLocalMachine, kKey, "strPath", reg::kTypeSz, {'C', 0});
    registry.FailCall(Function::kQuery, query, 5);
    RegistryLibrary library(registry);
    EXPECT_EQ(library.ReadValue(kKeyPath, u"strPath", value_, ValueKind::kText), -1);
    EXPECT_TRUE(RecordIs(library.LastError(), 5, u"Accesso negato al registro"));
    EXPECT_EQ(registry.OpenHandleCount(), 0);
    EXPECT_EQ(value_, RegValue(Text(u"kept")));
  }
}

TEST_F(ValueReadingTest, AKeyThatCannotBeOpenedHasNothingToClose) {
  registry_.FailCall(Function::kOpen, 3, 5);
  EXPECT_EQ(Read(), -1);
  EXPECT_TRUE(RecordIs(Record(), 5, u"Accesso negato al registro"));
  EXPECT_EQ(registry_.OpenHandleCount(), 0);
  for (const FakeRegistry::Call& call : registry_.Log()) {
    EXPECT_NE(call.function, Function::kQuery);
  }
}

// A failed close is recorded last, whatever came before it.
TEST_F(ValueReadingTest, AFailedCloseReplacesTheRecordButNotTheStatus) {
  registry_.FailCall(Function::kClose, 4, 1009);  // after the walk's three
  EXPECT_EQ(Read(), 0);
  EXPECT_EQ(value_, RegValue(Text(u"C:\\Velbor\\")));
  EXPECT_TRUE(RecordIs(Record(), 1009, SystemErrorMessage(1009)));

  registry_.FailCall(Function::kClose, 4, 1013);
  EXPECT_EQ(library_.ReadValue(kKeyPath, u"missing", value_, ValueKind::kText), -1);
  EXPECT_TRUE(RecordIs(Record(), 1013, SystemErrorMessage(1013)));
}

TEST_F(ValueReadingTest, AConversionFailureLeavesAfterTheKeyIsClosed) {
  registry_.PutValue(reg::kLocalMachine, kKey, "strPath", reg::kTypeDword, {1, 2, 3});
  EXPECT_EQ(FailureNumberOf([this] { Read(); }), failure::kInvalidArgument);
  EXPECT_EQ(CallLines(registry_.Log()).back(), "close #4");
  EXPECT_EQ(registry_.OpenHandleCount(), 0);
  EXPECT_EQ(value_, RegValue(Text(u"kept")));
}

TEST_F(ValueReadingTest, ClearsAnEarlierRecordOnSuccess) {
  library_.SetSystemError(5);
  EXPECT_EQ(Read(), 0);
  EXPECT_TRUE(IsClear(Record()));
}

TEST_F(ValueReadingTest, NamesGoThroughTheAnsiCodePage) {
  registry_.PutValue(reg::kLocalMachine, kKey, "perch\xE9", reg::kTypeSz, {'x', 0});
  EXPECT_EQ(library_.ReadValue(kKeyPath, u"PERCH\u00C9", value_, ValueKind::kText), 0);
  EXPECT_EQ(value_, RegValue(Text(u"x")));
  EXPECT_EQ(registry_.Log()[7].name, "PERCH\xC9");
}

}  // namespace
}  // namespace velbor
