#include "app/package_check/package_report.h"

#include <nlohmann/json.hpp>
#include <utility>

namespace velbor {
namespace {

std::string U8(TextView text) { return Utf8FromText(text); }

std::string Plural(std::uint64_t count, const char* one, const char* many) {
  return GroupedDigits(count) + " " + (count == 1 ? one : many);
}

std::uint64_t TotalBytes(const PackageFindings& inspection) {
  std::uint64_t total = 0;
  for (const InspectedItem& item : inspection.items) total += item.bytes ? item.bytes->size() : 0;
  return total;
}

std::size_t Registrations(const PackageFindings& inspection) {
  std::size_t count = 0;
  for (const InspectedItem& item : inspection.items) count += item.commandLines.empty() ? 0 : 1;
  return count;
}

std::string Digests(const InspectedItem& item) {
  return (item.digest ? HexText(*item.digest) : std::string()) + "  carried " +
         (item.carried ? HexText(*item.carried) : std::string("none"));
}

std::string Subject(std::int32_t number) {
  return number == 0 ? "package" : std::to_string(number);
}

}  // namespace

std::string SummaryLine(const PackageFindings& inspection) {
  return Plural(inspection.items.size(), "item", "items") + ", " +
         Plural(TotalBytes(inspection), "byte", "bytes") + ", " +
         Plural(Registrations(inspection), "registration", "registrations") + ", " +
         (inspection.faults.empty() ? std::string("no fault")
                                    : Plural(inspection.faults.size(), "fault", "faults"));
}

std::string ReportText(const PackageFindings& inspection) {
  std::string text = std::string(inspection.is64Bit ? "64-bit" : "32-bit") + " program, image " +
                     GroupedDigits(inspection.imageSize) + " bytes (at most " +
                     GroupedDigits(kLargestStartableImage) + ")\n";
  text +=
      "Items: number, file, size, SHA-256 and the one the program carries, target template = "
      "folder (meaning), registration\n";
  for (const InspectedItem& item : inspection.items) {
    text += "  " + std::to_string(item.number) + "  " + U8(item.file) + "  ";
    text += item.bytes ? Plural(item.bytes->size(), "byte", "bytes") + "  " + Digests(item)
                       : std::string("no bytes");
    text += "  " + U8(item.targetTemplate);
    if (!item.folder.empty()) text += " = " + U8(item.folder) + " (" + U8(item.meaning) + ")";
    const char* separator = "  registered: ";
    for (const Text& commandLine : item.commandLines) {
      text += separator + U8(commandLine);
      separator = "; then ";
    }
    text += item.commandLines.empty() ? "  not registered\n" : "\n";
  }
  text += inspection.faults.empty() ? "Faults: none\n" : "Faults, and what the customer sees:\n";
  for (const PackageFault& fault : inspection.faults) {
    text += "  " + Subject(fault.number) + ": " + fault.fault + "\n";
    text += "      the customer sees: " + fault.customerSees + "\n";
  }
  return text + SummaryLine(inspection) + "\n";
}

std::string ReportJson(const PackageFindings& inspection) {
  // Names in the package are UTF-16 that may be invalid; what cannot be written as
  // UTF-8 is replaced, by the library, rather than failing the report.
  using Json = nlohmann::ordered_json;
  Json items = Json::array();
  for (const InspectedItem& item : inspection.items) {
    Json registration = Json::array();
    for (const Text& commandLine : item.commandLines) registration.push_back(U8(commandLine));
    items.push_back({{"number", item.number},
                     {"file", U8(item.file)},
                     {"size", item.bytes ? Json(item.bytes->size()) : Json()},
                     {"sha256", item.digest ? Json(HexText(*item.digest)) : Json()},
                     {"carriedSha256", item.carried ? Json(HexText(*item.carried)) : Json()},
                     {"template", U8(item.targetTemplate)},
                     {"folder", U8(item.folder)},
                     {"meaning", U8(item.meaning)},
                     {"registration", std::move(registration)}});
  }
  Json faults = Json::array();
  for (const PackageFault& fault : inspection.faults) {
    faults.push_back(
        {{"number", fault.number}, {"fault", fault.fault}, {"customerSees", fault.customerSees}});
  }
  const Json document = {{"bits", inspection.is64Bit ? 64 : 32},
                         {"imageSize", inspection.imageSize},
                         {"imageSizeLimit", kLargestStartableImage},
                         {"items", std::move(items)},
                         {"faults", std::move(faults)},
                         {"totalBytes", TotalBytes(inspection)},
                         {"registrations", Registrations(inspection)},
                         {"summary", SummaryLine(inspection)}};
  return document.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

}  // namespace velbor
