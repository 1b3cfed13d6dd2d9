#include "app/package_check/package_report.h"

#include <cstdio>

#include "app/package_check/sha256.h"

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

std::string Digest(const InspectedItem& item) { return item.bytes ? Sha256Hex(*item.bytes) : ""; }

std::string Subject(std::int32_t number) {
  return number == 0 ? "package" : std::to_string(number);
}

std::string Json(std::string_view text) {
  std::string json = "\"";
  for (const char c : text) {
    if (c == '"' || c == '\\') {
      json += '\\';
      json += c;
    } else if (static_cast<unsigned char>(c) < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
      json += escaped;
    } else {
      json += c;
    }
  }
  return json + "\"";
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
  text += "Items: number, file, size, SHA-256, target template = folder (meaning), registration\n";
  for (const InspectedItem& item : inspection.items) {
    text += "  " + std::to_string(item.number) + "  " + U8(item.file) + "  ";
    text += item.bytes ? Plural(item.bytes->size(), "byte", "bytes") + "  " + Digest(item)
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
  std::string json = "{\n  \"bits\": " + std::string(inspection.is64Bit ? "64" : "32") +
                     ",\n  \"imageSize\": " + std::to_string(inspection.imageSize) +
                     ",\n  \"imageSizeLimit\": " + std::to_string(kLargestStartableImage) +
                     ",\n  \"items\": [";
  const char* separator = "\n";
  for (const InspectedItem& item : inspection.items) {
    json += separator;
    separator = ",\n";
    json += "    {\"number\": " + std::to_string(item.number) +
            ", \"file\": " + Json(U8(item.file)) +
            ", \"size\": " + (item.bytes ? std::to_string(item.bytes->size()) : "null") +
            ", \"sha256\": " + (item.bytes ? Json(Digest(item)) : "null") +
            ", \"template\": " + Json(U8(item.targetTemplate)) +
            ", \"folder\": " + Json(U8(item.folder)) + ", \"meaning\": " + Json(U8(item.meaning)) +
            ", \"registration\": [";
    const char* commandSeparator = "";
    for (const Text& commandLine : item.commandLines) {
      json += commandSeparator + Json(U8(commandLine));
      commandSeparator = ", ";
    }
    json += "]}";
  }
  json += "\n  ],\n  \"faults\": [";
  separator = "\n";
  for (const PackageFault& fault : inspection.faults) {
    json += separator;
    separator = ",\n";
    json += "    {\"number\": " + std::to_string(fault.number) +
            ", \"fault\": " + Json(fault.fault) +
            ", \"customerSees\": " + Json(fault.customerSees) + "}";
  }
  json += "\n  ],\n  \"totalBytes\": " + std::to_string(TotalBytes(inspection)) +
          ",\n  \"registrations\": " + std::to_string(Registrations(inspection)) +
          ",\n  \"summary\": " + Json(SummaryLine(inspection)) + "\n}\n";
  return json;
}

}  // namespace velbor
