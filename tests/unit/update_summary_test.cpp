#include "app/update_summary.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <utility>

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

TEST(UpdateSummaryTest, ListsDoneAndPendingItemsInIndexOrder) {
  EXPECT_EQ(UpdateSummary(TableOf(
                {{u"a.dll", false}, {u"b.dll", true}, {u"c.dll", false}, {u"d.dll", true}})),
            u"Elenco file aggiornati: b.dll, d.dll\r\n\r\n"
            u"Elenco file NON aggiornati: a.dll, c.dll\r\n\r\n");
}

TEST(UpdateSummaryTest, LeavesOutAListWithNothingInIt) {
  EXPECT_EQ(UpdateSummary(TableOf({{u"a.dll", true}})), u"Elenco file aggiornati: a.dll\r\n\r\n");
  EXPECT_EQ(UpdateSummary(TableOf({{u"a.dll", false}, {u"b.dll", false}})),
            u"Elenco file NON aggiornati: a.dll, b.dll\r\n\r\n");
  EXPECT_EQ(UpdateSummary(ItemTable()), u"");
}

TEST(UpdateSummaryTest, ItemsNotReadYetKeepTheirPlaceWithoutAName) {
  EXPECT_EQ(UpdateSummary(TableOf({{u"a.dll", true}, {u"b.dll", false}, {u"", false}})),
            u"Elenco file aggiornati: a.dll\r\n\r\nElenco file NON aggiornati: b.dll, \r\n\r\n");
  EXPECT_EQ(UpdateSummary(TableOf({{u"a.dll", true}, {u"", false}})),
            u"Elenco file aggiornati: a.dll\r\n\r\n");
}

}  // namespace
}  // namespace velbor
