#include "app/update_summary.h"

#include "app/item_report.h"

namespace velbor {
namespace {

constexpr char16_t kLineBreak[] = u"\r\n";

// Names joined by ", ".
class NameList {
 public:
  void Add(const Text& name) {
    if (started_) joined_ += u", ";
    joined_ += name;
    started_ = true;
  }
  const Text& Joined() const { return joined_; }

 private:
  Text joined_;
  bool started_ = false;
};

}  // namespace

Text UpdateSummary(const ItemTable& table, Resources& package) {
  NameList updated;
  NameList notUpdated;
  std::int32_t item = 0;
  for (const ItemReportLine& line : ReportItems(table, package)) {
    if (line.done) {
      updated.Add(line.file);
    } else if (const Text& holders = table.Holders(item); holders.empty()) {
      notUpdated.Add(line.file);
    } else {
      notUpdated.Add(line.file + u" (" + holders + u")");
    }
    ++item;
  }

  Text summary;
  if (!updated.Joined().empty()) {
    summary += u"Elenco file aggiornati: ";
    summary += updated.Joined();
    summary += kLineBreak;
  }
  if (!updated.Joined().empty() && !notUpdated.Joined().empty()) summary += kLineBreak;
  if (!notUpdated.Joined().empty()) {
    summary += u"Elenco file NON aggiornati: ";
    summary += notUpdated.Joined();
    summary += kLineBreak;
  }
  if (!summary.empty()) summary += kLineBreak;
  return summary;
}

}  // namespace velbor
