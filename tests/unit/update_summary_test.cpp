#include "app/update_summary.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <utility>

#include "tests/doubles/scripted_host.h"

namespace velbor {
namespace {

ItemTable TableOf(std::initializer_list<std::pair<Text, bool>> items) {
  ItemTable table(static_cast<std::int32_t>(items.size()) - 1);
  std::int32_t item = 0;
  for (const auto& [file, done] : items) {
    table.ItemFile(item) = file;
    if (done) table.MarkDone(item);
    ++item;
  }
  return table;
}

class UpdateSummaryTest : public ::testing::Test {
 protected:
  Text Summary(const ItemTable& table) { return UpdateSummary(table, package_); }

  testing::ScriptedHost package_;
};

TEST_F(UpdateSummaryTest, ListsDoneAndPendingItemsInIndexOrder) {
  EXPECT_EQ(
      Summary(TableOf({{u"a.dll", false}, {u"b.dll", true}, {u"c.dll", false}, {u"d.dll", true}})),
      u"Elenco file aggiornati: b.dll, d.dll\r\n\r\n"
      u"Elenco file NON aggiornati: a.dll, c.dll\r\n\r\n");
}

TEST_F(UpdateSummaryTest, LeavesOutAListWithNothingInIt) {
  EXPECT_EQ(Summary(TableOf({{u"a.dll", true}})), u"Elenco file aggiornati: a.dll\r\n\r\n");
  EXPECT_EQ(Summary(TableOf({{u"a.dll", false}, {u"b.dll", false}})),
            u"Elenco file NON aggiornati: a.dll, b.dll\r\n\r\n");
  EXPECT_EQ(Summary(ItemTable()), u"");
}

// An item that no pass has read is named from its descriptor, or by its resource
// number when it has none.
TEST_F(UpdateSummaryTest, ItemsNotReadYetAreNamedFromThePackage) {
  package_.Package().SetText(103, u"c.dll|<APPPATH>Corsenta/|S|");
  EXPECT_EQ(Summary(TableOf({{u"a.dll", true}, {u"b.dll", false}, {u"", false}, {u"", false}})),
            u"Elenco file aggiornati: a.dll\r\n\r\n"
            u"Elenco file NON aggiornati: b.dll, c.dll, 104\r\n\r\n");
}

}  // namespace
}  // namespace velbor
