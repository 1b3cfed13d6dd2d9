#include "app/item_folder.h"

#include <gtest/gtest.h>

#include <vector>

#include "app/item_descriptor.h"
#include "host/failure.h"
#include "tests/doubles/scripted_host.h"
#include "tests/support/failures.h"

namespace velbor {
namespace {

using testing::FailureNumberOf;
using testing::ScriptedHost;

// A resolver that answers "<n>\" for the n-th template it is asked about and
// remembers what it was asked.
class CountingResolver {
 public:
  TemplateResolver Resolver() {
    return [this](const Text& targetTemplate) {
      asked.push_back(targetTemplate);
      return DecimalText(static_cast<std::int64_t>(asked.size())) + u"\\";
    };
  }

  std::vector<Text> asked;
};

class CachedItemFolderTest : public ::testing::Test {
 protected:
  Text FolderOf(std::int32_t item) { return CachedItemFolder(table_, item, resolver_.Resolver()); }

  ItemTable table_{3};
  CountingResolver resolver_;
};

TEST_F(CachedItemFolderTest, ResolvesEachTemplateOnceInTheFirstFreeSlot) {
  table_.ItemTarget(0) = u"<APPPATH>Corsenta\\";
  table_.ItemTarget(1) = u"<APPPATH>Tavrelio\\";
  table_.ItemTarget(2) = u"<APPPATH>Corsenta\\";
  EXPECT_EQ(FolderOf(0), u"1\\");
  EXPECT_EQ(FolderOf(1), u"2\\");
  EXPECT_EQ(FolderOf(2), u"1\\");
  EXPECT_EQ(FolderOf(0), u"1\\");
  EXPECT_EQ(resolver_.asked, (std::vector<Text>{u"<APPPATH>Corsenta\\", u"<APPPATH>Tavrelio\\"}));
  EXPECT_EQ(table_.PathCache(0, 0), u"<APPPATH>Corsenta\\");
  EXPECT_EQ(table_.PathCache(0, 1), u"1\\");
  EXPECT_EQ(table_.PathCache(1, 0), u"<APPPATH>Tavrelio\\");
  EXPECT_EQ(table_.PathCache(2, 0), u"");
}

TEST_F(CachedItemFolderTest, TemplatesDifferingOnlyInSlashShareASlot) {
  ScriptedHost host;
  host.Package().SetText(101, u"a.dll|<APPPATH>Corsenta/lib/|N|");
  host.Package().SetText(102, u"b.dll|<APPPATH>Corsenta\\lib\\|N|");
  ReadItemDescriptor(host, table_, 0);
  ReadItemDescriptor(host, table_, 1);
  EXPECT_EQ(FolderOf(0), u"1\\");
  EXPECT_EQ(FolderOf(1), u"1\\");
  EXPECT_EQ(resolver_.asked.size(), 1u);
}

TEST_F(CachedItemFolderTest, SlotsCompareLetterCase) {
  table_.ItemTarget(0) = u"<APPPATH>Corsenta\\";
  table_.ItemTarget(1) = u"<apppath>Corsenta\\";
  EXPECT_EQ(FolderOf(0), u"1\\");
  EXPECT_EQ(FolderOf(1), u"2\\");
  EXPECT_EQ(table_.PathCache(1, 0), u"<apppath>Corsenta\\");
}

TEST_F(CachedItemFolderTest, EmptyAnswerIsRememberedLikeAnyOther) {
  table_.ItemTarget(0) = u"<UNKNOWN>";
  const TemplateResolver answersEmpty = [this](const Text& targetTemplate) {
    resolver_.asked.push_back(targetTemplate);
    return Text();
  };
  EXPECT_EQ(CachedItemFolder(table_, 0, answersEmpty), u"");
  EXPECT_EQ(CachedItemFolder(table_, 0, answersEmpty), u"");
  EXPECT_EQ(resolver_.asked.size(), 1u);
}

TEST_F(CachedItemFolderTest, EmptyTemplateLeavesItsSlotFreeForTheNext) {
  table_.ItemTarget(1) = u"<APPPATH>Corsenta\\";
  EXPECT_EQ(FolderOf(0), u"1\\");
  EXPECT_EQ(FolderOf(0), u"2\\");  // resolved again at every attempt
  EXPECT_EQ(table_.PathCache(0, 1), u"2\\");
  EXPECT_EQ(FolderOf(1), u"3\\");  // takes the same slot and replaces its folder
  EXPECT_EQ(table_.PathCache(0, 0), u"<APPPATH>Corsenta\\");
  EXPECT_EQ(table_.PathCache(0, 1), u"3\\");
  EXPECT_EQ(FolderOf(0), u"4\\");  // now in slot 1
  EXPECT_EQ(table_.PathCache(1, 1), u"4\\");
}

TEST_F(CachedItemFolderTest, SlotIsTakenBeforeResolving) {
  table_.ItemTarget(0) = u"T";
  const TemplateResolver looksAtTheSlot = [this](const Text&) { return table_.PathCache(0, 0); };
  EXPECT_EQ(CachedItemFolder(table_, 0, looksAtTheSlot), u"T");
}

TEST_F(CachedItemFolderTest, FailingResolverLeavesTheSlotFree) {
  table_.ItemTarget(0) = u"T";
  const TemplateResolver fails = [](const Text&) -> Text { throw HostFailure(failure::kDiskFull); };
  EXPECT_EQ(FailureNumberOf([&] { CachedItemFolder(table_, 0, fails); }), failure::kDiskFull);
  EXPECT_EQ(table_.PathCache(0, 0), u"");
  EXPECT_EQ(FolderOf(0), u"1\\");
}

TEST_F(CachedItemFolderTest, FullCacheFailsInsteadOfAnsweringAnotherFolder) {
  for (std::int32_t slot = 0; slot <= 3; ++slot) table_.PathCache(slot, 0) = u"other";
  table_.ItemTarget(0) = u"T";
  EXPECT_EQ(FailureNumberOf([&] { FolderOf(0); }), failure::kSubscriptOutOfRange);
  EXPECT_TRUE(resolver_.asked.empty());
}

TEST_F(CachedItemFolderTest, ItemOutsideTheTableIsSubscriptOutOfRange) {
  EXPECT_EQ(FailureNumberOf([&] { FolderOf(4); }), failure::kSubscriptOutOfRange);
}

}  // namespace
}  // namespace velbor
