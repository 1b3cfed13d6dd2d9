#include "app/item_table.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "host/failure.h"
#include "tests/doubles/scripted_host.h"
#include "tests/support/failures.h"

namespace velbor {
namespace {

using testing::FailureNumberOf;
using testing::Operation;
using testing::ScriptedHost;

TEST(ItemTableTest, DefaultTableHasNoRows) {
  ItemTable table;
  EXPECT_EQ(table.LastIndex(), -1);
  EXPECT_EQ(FailureNumberOf([&] { table.ItemFile(0); }), failure::kSubscriptOutOfRange);
  EXPECT_EQ(FailureNumberOf([&] { table.PathCache(0, 0); }), failure::kSubscriptOutOfRange);
}

TEST(ItemTableTest, EveryElementStartsEmpty) {
  const ItemTable table(2);
  ASSERT_EQ(table.LastIndex(), 2);
  for (std::int32_t i = 0; i <= 2; ++i) {
    EXPECT_EQ(table.ItemFile(i), u"");
    EXPECT_EQ(table.ItemTarget(i), u"");
    for (std::int32_t column = 0; column <= 1; ++column) {
      EXPECT_EQ(table.ItemState(i, column), u"");
      EXPECT_EQ(table.PathCache(i, column), u"");
    }
    EXPECT_FALSE(table.IsDone(i));
  }
}

TEST(ItemTableTest, AccessorsAreBoundsChecked) {
  ItemTable table(1);
  EXPECT_EQ(FailureNumberOf([&] { table.ItemFile(-1); }), failure::kSubscriptOutOfRange);
  EXPECT_EQ(FailureNumberOf([&] { table.ItemTarget(2); }), failure::kSubscriptOutOfRange);
  EXPECT_EQ(FailureNumberOf([&] { table.ItemState(0, 2); }), failure::kSubscriptOutOfRange);
  EXPECT_EQ(FailureNumberOf([&] { table.PathCache(1, -1); }), failure::kSubscriptOutOfRange);
  EXPECT_EQ(FailureNumberOf([&] { table.MarkDone(2); }), failure::kSubscriptOutOfRange);
}

TEST(ItemTableTest, DoneMeansExactlyX) {
  ItemTable table(0);
  table.ItemState(0, 0) = u"x";
  EXPECT_FALSE(table.IsDone(0));
  table.ItemState(0, 0) = u"X ";
  EXPECT_FALSE(table.IsDone(0));
  table.MarkDone(0);
  EXPECT_EQ(table.ItemState(0, 0), u"X");
  EXPECT_TRUE(table.IsDone(0));
}

TEST(ItemTableTest, ColumnsAndTablesAreIndependent) {
  ItemTable table(1);
  table.ItemState(1, 1) = u"R";
  table.PathCache(1, 0) = u"template";
  EXPECT_EQ(table.ItemState(1, 0), u"");
  EXPECT_EQ(table.PathCache(1, 1), u"");
  EXPECT_EQ(table.ItemState(0, 1), u"");
  EXPECT_EQ(table.ItemFile(1), u"");
}

class SizingTest : public ::testing::Test {
 protected:
  // The old table of an earlier press, which a failed sizing must leave whole.
  std::int32_t SizingFailure(const Text& count) {
    host_.Package().SetText(100, count);
    return FailureNumberOf([&] { table_ = ItemTable::SizedFromPackage(host_); });
  }

  void SetUp() override {
    table_ = ItemTable(1);
    table_.ItemFile(1) = u"old.dll";
    table_.MarkDone(1);
    table_.PathCache(0, 0) = u"<APPPATH>Corsenta\\";
    table_.PathCache(0, 1) = u"C:\\Corsenta\\";
  }

  void ExpectOldTableWhole() const {
    ASSERT_EQ(table_.LastIndex(), 1);
    EXPECT_EQ(table_.ItemFile(1), u"old.dll");
    EXPECT_TRUE(table_.IsDone(1));
    EXPECT_EQ(table_.PathCache(0, 1), u"C:\\Corsenta\\");
  }

  ScriptedHost host_;
  ItemTable table_;
};

TEST_F(SizingTest, MakesAWholeNewEmptyTableFromString100) {
  host_.Package().SetText(100, u"3");
  table_ = ItemTable::SizedFromPackage(host_);
  ASSERT_EQ(table_.LastIndex(), 2);
  EXPECT_EQ(table_.ItemFile(1), u"");
  EXPECT_FALSE(table_.IsDone(1));
  EXPECT_EQ(table_.PathCache(0, 0), u"");
  EXPECT_EQ(host_.Operations(), std::vector<Operation>{Operation::kLoadResourceText});
  EXPECT_EQ(host_.Log()[0].subject, u"100");
}

TEST_F(SizingTest, MissingCountIsResourceNotFound) {
  EXPECT_EQ(FailureNumberOf([&] { table_ = ItemTable::SizedFromPackage(host_); }),
            failure::kResourceNotFound);
  ExpectOldTableWhole();
}

TEST_F(SizingTest, CountsBelowOneAreSubscriptOutOfRange) {
  EXPECT_EQ(SizingFailure(u"0"), failure::kSubscriptOutOfRange);
  EXPECT_EQ(SizingFailure(u""), failure::kSubscriptOutOfRange);
  EXPECT_EQ(SizingFailure(u"abc"), failure::kSubscriptOutOfRange);
  EXPECT_EQ(SizingFailure(u"-5"), failure::kSubscriptOutOfRange);
  ExpectOldTableWhole();
}

TEST_F(SizingTest, CountBeyondTheLongRangeIsOverflow) {
  EXPECT_EQ(SizingFailure(u"2147483649"), failure::kOverflow);
  EXPECT_EQ(SizingFailure(u"1E400"), failure::kOverflow);
  ExpectOldTableWhole();
}

TEST_F(SizingTest, CountTooLargeForMemoryIsOutOfMemory) {
  EXPECT_EQ(SizingFailure(u"2147483647"), failure::kOutOfMemory);
  EXPECT_EQ(SizingFailure(u"2147483648"), failure::kOutOfMemory);
  // About 2^31 / 24 rows: more than any 32-bit address space holds, however
  // much memory this machine would hand out.
  EXPECT_EQ(SizingFailure(u"89478486"), failure::kOutOfMemory);
  ExpectOldTableWhole();
}

TEST_F(SizingTest, FailedLoadThroughTheHostLeavesTheOldTable) {
  host_.Package().SetText(100, u"5");
  host_.FailCall(Operation::kLoadResourceText, 1, HostFailure(failure::kOutOfMemory));
  EXPECT_EQ(FailureNumberOf([&] { table_ = ItemTable::SizedFromPackage(host_); }),
            failure::kOutOfMemory);
  ExpectOldTableWhole();
}

}  // namespace
}  // namespace velbor
