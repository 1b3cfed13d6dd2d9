#include "app/item_descriptor.h"

#include <algorithm>
#include <limits>
#include <vector>

#include "host/failure.h"
#include "package/package_format.h"

namespace velbor {
namespace {

std::vector<Text> SplitFields(TextView descriptor) {
  std::vector<Text> fields;
  for (std::size_t start = 0;;) {
    const std::size_t separator = descriptor.find(u'|', start);
    fields.emplace_back(descriptor.substr(start, separator - start));
    if (separator == TextView::npos) return fields;
    start = separator + 1;
  }
}

const Text& Field(const std::vector<Text>& fields, std::size_t position) {
  if (position >= fields.size()) throw HostFailure(failure::kSubscriptOutOfRange);
  return fields[position];
}

Text WithBackslashes(Text targetTemplate) {
  std::replace(targetTemplate.begin(), targetTemplate.end(), u'/', u'\\');
  return targetTemplate;
}

}  // namespace

std::int32_t ItemResourceNumber(std::int32_t item) {
  const std::int64_t number = std::int64_t{kFirstItemResource} + item;
  if (number > std::numeric_limits<std::int32_t>::max()) throw HostFailure(failure::kOverflow);
  return static_cast<std::int32_t>(number);
}

void ReadItemDescriptor(Resources& package, ItemTable& table, std::int32_t item) {
  const std::vector<Text> fields = SplitFields(package.LoadResourceText(ItemResourceNumber(item)));
  table.ItemFile(item) = Field(fields, 0);
  table.ItemTarget(item) = WithBackslashes(Field(fields, 1));
  table.ItemState(item, 0) = Field(fields, 2);
  table.ItemState(item, 1) = Field(fields, 3);
}

Text ItemFileNameInPackage(Resources& package, std::int32_t item) {
  const std::int32_t number = ItemResourceNumber(item);
  try {
    return SplitFields(package.LoadResourceText(number)).front();
  } catch (const HostFailure&) {
    return DecimalText(number);
  }
}

}  // namespace velbor
