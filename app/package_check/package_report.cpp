#include "app/package_check/package_report.h"

#include <cstdio>

#include "app/package_check/sha256.h"

namespace velbor {
namespace {

// UTF-8 with what a terminal would act on shown as JSON writes it: C0 and C1
// control characters and DEL as \u00XX, so a hostile name cannot retitle,
// recolour or drive the terminal of whoever inspects it.
std::string Printable(std::string_view utf8) {
  std::string shown;
  shown.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    auto c = static_cast<unsigned char>(utf8[i]);
    const bool c1 = c == 0xC2 && i + 1 < utf8.size() &&
                    static_cast<unsigned char>(utf8[i + 1]) >= 0x80 &&
                    static_cast<unsigned char>(utf8[i + 1]) <= 0x9F;
    if (c < 0x20 || c == 0x7F || c1) {
      if (c1) c = static_cast<unsigned char>(utf8[++i]);
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
      shown += escaped;
    } else {
      shown += static_cast<char>(c);
    }
  }
  return shown;
}

// A text for the report: printable, and a lone surrogate, which has no UTF-8
// form, shown as \uXXXX rather than lost.
std::string U8(TextView text) {
  std::string shown;
  std::size_t run = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const bool high = text[i] >= 0xD800 && text[i] <= 0xDBFF;
    const bool paired =
        high && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF;
    if (paired) {
      ++i;
      continue;
    }
    if (text[i] < 0xD800 || text[i] > 0xDFFF) continue;
    shown += Printable(Utf8FromText(text.substr(run, i - run)));
    char escaped[8];
    std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(text[i]));
    shown += escaped;
    run = i + 1;
  }
  return shown + Printable(Utf8FromText(text.substr(run)));
}

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
  return text + ReportFaults(inspection) + SummaryLine(inspection) + "\n";
}

std::string ReportFaults(const PackageFindings& inspection) {
  std::string text;
  for (const PackageFault& fault : inspection.faults) {
    text += "  " + Subject(fault.number) + ": " + Printable(fault.fault) + "\n";
    text += "      the customer sees: " + Printable(fault.customerSees) + "\n";
  }
  return text;
}

std::string ReportJson(const PackageFindings& inspection) {
  // JSON escapes for itself.
  const auto U8 = [](TextView text) { return Utf8FromText(text); };
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
