#pragma once

#include <array>
#include <cstdint>
#include <utility>
#include <vector>

#include "app/nothrow_allocator.h"
#include "host/resources.h"
#include "host/text.h"

namespace velbor {

// What the window keeps of the package for one press of the start button: per item
// its file name, target template and state (registration flag and kind, or the done
// marker), and the folder cache, one slot per distinct template met. Every element
// starts as the empty text. Items and slots are numbered 0..LastIndex(); an index or
// column outside the bounds is failure 9.
class ItemTable {
 public:
  // No rows: the table of a window whose start button has not been pressed.
  ItemTable() = default;

  // Rows 0..lastIndex, all empty. Failure 9 when lastIndex is below 0, failure 7
  // when the rows cannot be allocated.
  explicit ItemTable(std::int32_t lastIndex);

  // A new table sized from the package's item count (string 100). It is built
  // whole before it is returned, so a failure (326, 6, 9 or 7) leaves the
  // caller's table untouched: assign the result only on success.
  static ItemTable SizedFromPackage(Resources& package);

  // -1 for a table without rows.
  std::int32_t LastIndex() const noexcept { return static_cast<std::int32_t>(rows_.size()) - 1; }

  Text& ItemFile(std::int32_t item) { return Row(item).file; }
  const Text& ItemFile(std::int32_t item) const { return Row(item).file; }
  Text& ItemTarget(std::int32_t item) { return Row(item).target; }
  const Text& ItemTarget(std::int32_t item) const { return Row(item).target; }

  // Column 0: the registration flag, or "X" once the item is done. Column 1: the
  // registration kind.
  Text& ItemState(std::int32_t item, std::int32_t column) { return Cell(Row(item).state, column); }
  const Text& ItemState(std::int32_t item, std::int32_t column) const {
    return Cell(Row(item).state, column);
  }

  // Column 0: the template of the slot, empty while the slot is free. Column 1:
  // the folder that the template resolved to.
  Text& PathCache(std::int32_t slot, std::int32_t column) { return Cell(Row(slot).cache, column); }
  const Text& PathCache(std::int32_t slot, std::int32_t column) const {
    return Cell(Row(slot).cache, column);
  }

  bool IsDone(std::int32_t item) const;
  void MarkDone(std::int32_t item);

  // Who held item `item`'s file when its last write failed, as HoldersText names
  // them; the empty text when nobody was named.
  const Text& Holders(std::int32_t item) const { return Row(item).holders; }
  void SetHolders(std::int32_t item, Text holders) { Row(item).holders = std::move(holders); }

 private:
  using Pair = std::array<Text, 2>;

  // Item i and cache slot i share a row only because both run over 0..LastIndex.
  struct TableRow {
    Text file;
    Text target;
    Pair state;
    Pair cache;
    Text holders;
  };
  using Rows = std::vector<TableRow, NothrowAllocator<TableRow>>;

  static Rows MakeRows(std::int32_t lastIndex);

  TableRow& Row(std::int32_t index);
  const TableRow& Row(std::int32_t index) const;
  static Text& Cell(Pair& pair, std::int32_t column);
  static const Text& Cell(const Pair& pair, std::int32_t column);

  Rows rows_;
};

}  // namespace velbor
