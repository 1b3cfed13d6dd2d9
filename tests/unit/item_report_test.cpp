#include "app/item_report.h"

#include <gtest/gtest.h>

namespace velbor {
namespace {

TEST(ReportItemsTest, ListsEveryItemInIndexOrderWithItsDoneMark) {
  ItemTable table(2);
  table.ItemFile(0) = u"a.dll";
  table.ItemFile(1) = u"b.zip";
  table.MarkDone(1);
  table.ItemState(2, 0) = u"S";  // read but not done; its name never read
  const std::vector<ItemReportLine> report = ReportItems(table);
  ASSERT_EQ(report.size(), 3u);
  EXPECT_EQ(report[0].file, u"a.dll");
  EXPECT_FALSE(report[0].done);
  EXPECT_EQ(report[1].file, u"b.zip");
  EXPECT_TRUE(report[1].done);
  EXPECT_EQ(report[2].file, u"");
  EXPECT_FALSE(report[2].done);
}

TEST(ReportItemsTest, TableWithoutRowsReportsNothing) {
  EXPECT_TRUE(ReportItems(ItemTable()).empty());
}

}  // namespace
}  // namespace velbor
