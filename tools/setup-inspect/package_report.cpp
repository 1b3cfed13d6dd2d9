#include "tools/setup-inspect/package_report.h"

#include <nlohmann/json.hpp>
#include <utility>

#include "tools/setup-inspect/package_faults.h"

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
std::string ShownText(TextView text) {
  std::string shown;
  std::size_t run = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (SurrogatePairAt(text, i)) {
      ++i;
      continue;
    }
    if (!IsSurrogate(text[i])) continue;
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
  for (const InspectedItem& item : inspection.items) total += item.size.value_or(0);
  return total;
}

std::uint64_t TotalStoredBytes(const PackageFindings& inspection) {
  std::uint64_t total = 0;
  // The items stored together share one stream, counted once.
  const std::uint8_t* stream = nullptr;
  for (const InspectedItem& item : inspection.items) {
    if (!item.stored) continue;
    if (item.stored->storage == Storage::kInStream) {
      if (item.stored->bytes.data() == stream) continue;
      stream = item.stored->bytes.data();
    }
    total += item.stored->bytes.size();
  }
  return total;
}

const char* StorageName(Storage storage) {
  switch (storage) {
    case Storage::kZstd:
      return "zstd";
    case Storage::kInStream:
      return "stream";
    case Storage::kRaw:
      break;
  }
  return "raw";
}

// "stored 1,512 bytes zstd", "stored together, at 2,031 in the stream (zstd)", or
// "stored raw" where the bytes are their own content.
std::string StoredText(const StoredBytes& stored) {
  if (stored.storage == Storage::kRaw) return "stored raw";
  if (stored.storage == Storage::kInStream) {
    return "stored together, at " + GroupedDigits(stored.place.offset) + " in the stream (zstd)";
  }
  return "stored " + Plural(stored.bytes.size(), "byte", "bytes") + " " +
         StorageName(stored.storage);
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
         Plural(TotalBytes(inspection), "byte", "bytes") + " (stored in " +
         GroupedDigits(TotalStoredBytes(inspection)) + "), " +
         Plural(Registrations(inspection), "registration", "registrations") + ", " +
         (inspection.faults.empty() ? std::string("no fault")
                                    : Plural(inspection.faults.size(), "fault", "faults"));
}

std::string ReportText(const PackageFindings& inspection) {
  std::string text = std::string(inspection.is64Bit ? "64-bit" : "32-bit") + " program, image " +
                     GroupedDigits(inspection.imageSize) + " bytes (at most " +
                     GroupedDigits(kLargestStartableImage) + ")\n";
  text +=
      "Items: number, file, size, SHA-256 and the one the program carries, how stored, target "
      "template = folder (meaning), registration\n";
  for (const InspectedItem& item : inspection.items) {
    text += "  " + std::to_string(item.number) + "  " + ShownText(item.file) + "  ";
    if (!item.stored) {
      text += "no bytes";
    } else {
      text += item.size ? Plural(*item.size, "byte", "bytes") + "  " + Digests(item)
                        : std::string("content unreadable");
      text += "  " + StoredText(*item.stored);
    }
    text += "  " + ShownText(item.targetTemplate);
    if (!item.folder.empty())
      text += " = " + ShownText(item.folder) + " (" + ShownText(item.meaning) + ")";
    const char* separator = "  registered: ";
    for (const Text& commandLine : item.commandLines) {
      text += separator + ShownText(commandLine);
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
  // JSON escapes for itself. Names in the package are UTF-16 that may be invalid;
  // what cannot be written as UTF-8 is replaced, by the library, rather than
  // failing the report.
  const auto U8 = [](TextView text) { return Utf8FromText(text); };
  using Json = nlohmann::ordered_json;
  Json items = Json::array();
  for (const InspectedItem& item : inspection.items) {
    Json registration = Json::array();
    for (const Text& commandLine : item.commandLines) registration.push_back(U8(commandLine));
    items.push_back({{"number", item.number},
                     {"file", U8(item.file)},
                     {"size", item.size ? Json(*item.size) : Json()},
                     {"storedSize", item.stored ? Json(item.stored->bytes.size()) : Json()},
                     {"storage", item.stored ? Json(StorageName(item.stored->storage)) : Json()},
                     {"streamOffset", item.stored && item.stored->storage == Storage::kInStream
                                          ? Json(item.stored->place.offset)
                                          : Json()},
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
                         {"totalStoredBytes", TotalStoredBytes(inspection)},
                         {"registrations", Registrations(inspection)},
                         {"summary", SummaryLine(inspection)}};
  return document.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

}  // namespace velbor
