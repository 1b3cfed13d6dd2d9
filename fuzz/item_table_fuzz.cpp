// The item table of one press. Input lines: the count (string 100), then one
// descriptor per item for up to kMaxItems items (a missing line leaves the string
// out of the package), then the resolver's answers, taken in turn (the empty text
// once they run out). Every item's folder is asked for twice, in index order.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <map>

#include "app/item_count.h"
#include "app/item_descriptor.h"
#include "app/item_folder.h"
#include "app/item_table.h"
#include "fuzz/fuzz_input.h"
#include "host/failure.h"
#include "package/package_format.h"
#include "tests/doubles/scripted_host.h"

namespace {

using namespace velbor;

// Larger tables cost only memory, which the fuzzer would count as a finding.
constexpr std::int32_t kMaxLastIndex = 255;
constexpr std::int32_t kMaxItems = 8;

bool SizeIsBounded(const Text& count) {
  try {
    return LastIndexFromCount(count) <= kMaxLastIndex;
  } catch (const HostFailure&) {
    return true;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  testing::FuzzInput input(data, size);
  testing::ScriptedHost host;
  const Text count = input.NextLine();
  if (!SizeIsBounded(count)) return 0;
  host.Package().SetText(kItemCountResource, count);
  for (std::int32_t item = 0; item < kMaxItems && !input.AtEnd(); ++item) {
    host.Package().SetText(kFirstItemResource + item, input.NextLine());
  }
  std::deque<Text> answers;
  while (!input.AtEnd()) answers.push_back(input.NextLine());

  ItemTable table;
  try {
    table = ItemTable::SizedFromPackage(host);
  } catch (const HostFailure&) {
    return 0;
  }

  // A template resolved once keeps its folder until the table is sized again.
  std::map<Text, Text> firstFolders;
  const TemplateResolver resolve = [&answers](const Text&) {
    if (answers.empty()) return Text();
    Text answer = answers.front();
    answers.pop_front();
    return answer;
  };
  const std::int32_t last = std::min(table.LastIndex() + 1, kMaxItems);
  for (int round = 0; round < 2; ++round) {
    for (std::int32_t item = 0; item <= last; ++item) {
      try {
        ReadItemDescriptor(host, table, item);
        const Text folder = CachedItemFolder(table, item, resolve);
        const Text& target = table.ItemTarget(item);
        if (target.empty()) continue;
        const auto [known, isNew] = firstFolders.try_emplace(target, folder);
        testing::Expect(isNew || known->second == folder, "a cached template keeps its folder");
      } catch (const HostFailure&) {
      }
    }
  }
  return 0;
}
