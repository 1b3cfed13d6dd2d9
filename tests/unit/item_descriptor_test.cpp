#include "app/item_descriptor.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>

#include "host/failure.h"
#include "tests/doubles/scripted_host.h"
#include "tests/support/failures.h"

namespace velbor {
namespace {

using testing::FailureNumberOf;
using testing::FailureOf;
using testing::ScriptedHost;

class ItemDescriptorTest : public ::testing::Test {
 protected:
  // Reads item 1's descriptor, string 102; answers the failure number, 0 if none.
  std::int32_t Read(const Text& descriptor) {
    host_.Package().SetText(102, descriptor);
    return FailureNumberOf([&] { ReadItemDescriptor(host_, table_, 1); });
  }

  ScriptedHost host_;
  ItemTable table_{2};
};

TEST_F(ItemDescriptorTest, ReadsTheShippedDescriptor) {
  ASSERT_EQ(Read(u"Brevanti.zip|<APPPATH>Corsenta/|N|"), 0);
  EXPECT_EQ(table_.ItemFile(1), u"Brevanti.zip");
  EXPECT_EQ(table_.ItemTarget(1), u"<APPPATH>Corsenta\\");
  EXPECT_EQ(table_.ItemState(1, 0), u"N");
  EXPECT_EQ(table_.ItemState(1, 1), u"");
  EXPECT_EQ(host_.Log().at(0).subject, u"102");
  EXPECT_EQ(table_.ItemFile(0), u"");  // other rows untouched
  EXPECT_EQ(table_.ItemFile(2), u"");
}

TEST_F(ItemDescriptorTest, TurnsEverySlashOfTheTemplateButNotOfTheFileName) {
  ASSERT_EQ(Read(u"sub/a.dll|<COMMONPATH>Velbor/x//y\\z/|S|R"), 0);
  EXPECT_EQ(table_.ItemFile(1), u"sub/a.dll");
  EXPECT_EQ(table_.ItemTarget(1), u"<COMMONPATH>Velbor\\x\\\\y\\z\\");
  EXPECT_EQ(table_.ItemState(1, 0), u"S");
  EXPECT_EQ(table_.ItemState(1, 1), u"R");
}

TEST_F(ItemDescriptorTest, KeepsFieldsUntrimmedAndIgnoresExtraFields) {
  ASSERT_EQ(Read(u" a.dll | t |s| R |extra|more"), 0);
  EXPECT_EQ(table_.ItemFile(1), u" a.dll ");
  EXPECT_EQ(table_.ItemTarget(1), u" t ");
  EXPECT_EQ(table_.ItemState(1, 0), u"s");
  EXPECT_EQ(table_.ItemState(1, 1), u" R ");
}

TEST_F(ItemDescriptorTest, EmptyFieldsAreFields) {
  ASSERT_EQ(Read(u"|||"), 0);
  EXPECT_EQ(table_.ItemState(1, 1), u"");
}

TEST_F(ItemDescriptorTest, ThreeFieldsFailAfterStoringTheFirstThree) {
  table_.ItemState(1, 1) = u"before";
  EXPECT_EQ(Read(u"a.dll|<APPPATH>Corsenta/|S"), failure::kSubscriptOutOfRange);
  EXPECT_EQ(table_.ItemFile(1), u"a.dll");
  EXPECT_EQ(table_.ItemTarget(1), u"<APPPATH>Corsenta\\");
  EXPECT_EQ(table_.ItemState(1, 0), u"S");
  EXPECT_EQ(table_.ItemState(1, 1), u"before");
}

TEST_F(ItemDescriptorTest, ShorterDescriptorsStoreCorrespondinglyLess) {
  table_.ItemTarget(1) = u"old target";
  table_.ItemState(1, 0) = u"old flag";
  EXPECT_EQ(Read(u"a.dll"), failure::kSubscriptOutOfRange);
  EXPECT_EQ(table_.ItemFile(1), u"a.dll");
  EXPECT_EQ(table_.ItemTarget(1), u"old target");

  EXPECT_EQ(Read(u"b.dll|t/u"), failure::kSubscriptOutOfRange);
  EXPECT_EQ(table_.ItemFile(1), u"b.dll");
  EXPECT_EQ(table_.ItemTarget(1), u"t\\u");
  EXPECT_EQ(table_.ItemState(1, 0), u"old flag");
}

TEST_F(ItemDescriptorTest, MissingDescriptorStoresNothing) {
  table_.ItemFile(0) = u"kept";
  const std::optional<HostFailure> failure =
      FailureOf([&] { ReadItemDescriptor(host_, table_, 0); });
  ASSERT_TRUE(failure);
  EXPECT_EQ(failure->Number(), failure::kResourceNotFound);
  EXPECT_EQ(failure->Description(), u"Resource with identifier '101' not found");
  EXPECT_EQ(table_.ItemFile(0), u"kept");
}

TEST_F(ItemDescriptorTest, ItemOutsideTheTableIsSubscriptOutOfRange) {
  host_.Package().SetText(104, u"a|b|c|d");
  EXPECT_EQ(FailureNumberOf([&] { ReadItemDescriptor(host_, table_, 3); }),
            failure::kSubscriptOutOfRange);
}

TEST(ItemResourceNumberTest, CountsFrom101WithoutOverflowing) {
  EXPECT_EQ(ItemResourceNumber(0), 101);
  EXPECT_EQ(ItemResourceNumber(2147483546), 2147483647);
  EXPECT_EQ(FailureNumberOf([] { ItemResourceNumber(2147483547); }), failure::kOverflow);
}

}  // namespace
}  // namespace velbor
