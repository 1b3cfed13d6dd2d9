#include "app/item_report.h"

#include <gtest/gtest.h>

#include "tests/doubles/scripted_host.h"

namespace velbor {
namespace {

TEST(ReportItemsTest, ListsEveryItemInIndexOrderWithItsDoneMark) {
  ItemTable table(2);
  table.ItemFile(0) = u"a.dll";
  table.ItemFile(1) = u"b.zip";
  table.MarkDone(1);
  table.ItemState(2, 0) = u"S";  // read but not done; its name never read
  testing::ScriptedHost package;
  package.Package().SetText(103, u"c.dll|<APPPATH>Corsenta/|S|");
  const std::vector<ItemReportLine> report = ReportItems(table, package);
  ASSERT_EQ(report.size(), 3u);
  EXPECT_EQ(report[0].file, u"a.dll");
  EXPECT_FALSE(report[0].done);
  EXPECT_EQ(report[1].file, u"b.zip");
  EXPECT_TRUE(report[1].done);
  EXPECT_EQ(report[2].file, u"c.dll");
  EXPECT_FALSE(report[2].done);
}

TEST(ReportItemsTest, TableWithoutRowsReportsNothing) {
  testing::ScriptedHost package;
  EXPECT_TRUE(ReportItems(ItemTable(), package).empty());
}

}  // namespace
}  // namespace velbor
