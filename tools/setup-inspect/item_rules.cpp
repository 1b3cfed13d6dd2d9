#include "tools/setup-inspect/item_rules.h"

#include <algorithm>
#include <map>
#include <utility>

#include "app/item_bytes.h"
#include "app/item_descriptor.h"
#include "app/item_file_name.h"
#include "app/item_registration.h"
#include "host/failure.h"
#include "package/package_format.h"
#include "tools/setup-inspect/item_digests.h"
#include "tools/setup-inspect/package_faults.h"

namespace velbor {
namespace {

// "the maker's folder + Corsenta\, proven by Corsenta.exe", from the marker file the
// resolution looked for and the folder it gave.
Text Meaning(const Text& markerPath, const Text& folder) {
  const std::size_t separator = markerPath.find_last_of(u'\\');
  const Text proven = markerPath.substr(0, separator + 1);
  Text meaning;
  for (const auto& [placeholder, name] :
       {std::pair<TextView, TextView>{kMakerFolderPlaceholder, u"the maker's folder"},
        {kCommonFilesPlaceholder, u"the common files folder"},
        {kProgramFilesPlaceholder, u"the program files folder"}}) {
    if (proven.starts_with(placeholder)) {
      meaning = Text(name) + u" + " + proven.substr(placeholder.size() + 1);
    }
  }
  meaning += u", proven by ";
  meaning += markerPath.substr(separator + 1);
  if (folder.starts_with(proven) && folder.size() > proven.size()) {
    meaning += u", then ";
    meaning += folder.substr(proven.size());
    meaning += u" (which must exist)";
  }
  return meaning;
}

// The folder the item's template gives, with what it means.
void ResolveFolder(PackageFindings& inspection, DryRunInstaller& installer,
                   InspectedItem& inspected) {
  DryRunHost& host = installer.Host();
  host.Forget();
  inspected.folder = installer.Resolver().GeneraPathDll(inspected.targetTemplate);
  if (inspected.folder.empty()) {
    inspection.faults.push_back(
        fault::UnknownTemplate(inspected.number, inspected.targetTemplate, fault::FirstBox(host)));
  } else if (!host.LookedFor().empty()) {
    inspected.meaning = Meaning(host.LookedFor().back(), inspected.folder);
  }
}

// Whether the item's file stays in its folder, as the installer demands.
bool CheckFileName(PackageFindings& inspection, const InspectedItem& inspected) {
  const bool confined = IsConfinedFileName(inspected.file);
  if (!confined) {
    inspection.faults.push_back(fault::UnconfinedFileName(inspected.number, inspected.file));
  }
  return confined;
}

void CheckBytes(PackageFindings& inspection, DryRunInstaller& installer, InspectedItem& inspected,
                std::int32_t item) {
  try {
    inspected.stored = LoadItemBytes(installer.Program(), inspected.number);
    CheckDigests(inspection, inspected, installer.Program(), item, installer.Digests());
  } catch (const HostFailure&) {
    inspection.faults.push_back(fault::MissingBytes(inspected.number, inspected.file));
  }
}

// The command lines that register the item's file, in the order they start.
std::vector<Text> RegistrationLines(DryRunHost& host, const InspectedItem& inspected,
                                    const Text& kind) {
  host.Forget();
  try {
    StartRegistration(host, inspected.folder, inspected.file, kind, nullptr);
  } catch (const HostFailure&) {
    // The dry-run host starts every tool and answers the usual Windows folder,
    // so nothing fails here.
  }
  return host.CommandLines();
}

// The file an item writes, as Windows compares names: separators alike, ASCII
// letters in either case.
Text WrittenPath(const InspectedItem& item) {
  Text path = item.folder + item.file;
  std::replace(path.begin(), path.end(), u'/', u'\\');
  return AsciiUpperCased(path);
}

}  // namespace

std::int32_t MissingDescriptor(Resources& program, std::int32_t item) {
  try {
    return program.LoadResourceText(ItemResourceNumber(item)).empty()
               ? failure::kSubscriptOutOfRange
               : 0;
  } catch (const HostFailure& caught) {
    return caught.Number();
  }
}

std::int32_t ReportMissingDescriptors(PackageFindings& inspection, Resources& program,
                                      std::int32_t item, std::int32_t lastIndex) {
  const std::int32_t missing = MissingDescriptor(program, item);
  std::int32_t last = item;
  while (last < lastIndex && MissingDescriptor(program, last + 1) == missing) ++last;
  inspection.faults.push_back(fault::MissingDescriptors(item, last, lastIndex + 1, missing));
  return last;
}

void InspectItem(PackageFindings& inspection, DryRunInstaller& installer, ItemTable& table,
                 std::int32_t item) {
  const std::int32_t number = ItemResourceNumber(item);
  try {
    ReadItemDescriptor(installer.Program(), table, item);
  } catch (const HostFailure&) {
    inspection.faults.push_back(
        fault::ShortDescriptor(number, installer.Program().LoadResourceText(number)));
    return;
  }
  InspectedItem inspected{
      number, table.ItemFile(item), table.ItemTarget(item), {}, {}, {}, {}, {}, {}, {}};
  ResolveFolder(inspection, installer, inspected);
  const bool confined = CheckFileName(inspection, inspected);
  CheckBytes(inspection, installer, inspected, item);
  if (!inspected.folder.empty() && confined && table.ItemState(item, 0) == kRegisterFlag) {
    inspected.commandLines =
        RegistrationLines(installer.Host(), inspected, table.ItemState(item, 1));
  }
  inspection.items.push_back(std::move(inspected));
}

void CheckSameFiles(PackageFindings& inspection) {
  std::map<Text, std::int32_t> writers;
  for (const InspectedItem& item : inspection.items) {
    if (item.folder.empty()) continue;
    const auto [first, isNew] = writers.try_emplace(WrittenPath(item), item.number);
    if (!isNew) {
      inspection.faults.push_back(
          fault::SameFile(item.number, item.folder + item.file, first->second));
    }
  }
}

}  // namespace velbor
