#include "app/item_table.h"

#include <new>
#include <stdexcept>
#include <utility>

#include "app/item_count.h"
#include "host/failure.h"
#include "package/package_format.h"

namespace velbor {
namespace {

constexpr char16_t kDoneMarker[] = u"X";

}  // namespace

ItemTable::ItemTable(std::int32_t lastIndex) : rows_(MakeRows(lastIndex)) {}

ItemTable ItemTable::SizedFromPackage(Resources& package) {
  return ItemTable(LastIndexFromCount(package.LoadResourceText(kItemCountResource)));
}

ItemTable::Rows ItemTable::MakeRows(std::int32_t lastIndex) {
  if (lastIndex < 0) throw HostFailure(failure::kSubscriptOutOfRange);
  // The one place where the table's storage is made, so the one place where its
  // exhaustion becomes the host's out-of-memory failure.
  try {
    return Rows(static_cast<std::size_t>(lastIndex) + 1);
  } catch (const std::bad_alloc&) {
    throw HostFailure(failure::kOutOfMemory);
  } catch (const std::length_error&) {
    throw HostFailure(failure::kOutOfMemory);
  }
}

bool ItemTable::IsDone(std::int32_t item) const { return ItemState(item, 0) == kDoneMarker; }

void ItemTable::MarkDone(std::int32_t item) {
  // Through a Text: assigning the literal itself draws a false -Wrestrict from GCC 12
  // at -O3.
  ItemState(item, 0) = Text(kDoneMarker);
}

ItemTable::TableRow& ItemTable::Row(std::int32_t index) {
  return const_cast<TableRow&>(std::as_const(*this).Row(index));
}

const ItemTable::TableRow& ItemTable::Row(std::int32_t index) const {
  if (index < 0 || index > LastIndex()) throw HostFailure(failure::kSubscriptOutOfRange);
  return rows_[static_cast<std::size_t>(index)];
}

Text& ItemTable::Cell(Pair& pair, std::int32_t column) {
  return const_cast<Text&>(Cell(std::as_const(pair), column));
}

const Text& ItemTable::Cell(const Pair& pair, std::int32_t column) {
  if (column < 0 || column > 1) throw HostFailure(failure::kSubscriptOutOfRange);
  return pair[static_cast<std::size_t>(column)];
}

}  // namespace velbor
