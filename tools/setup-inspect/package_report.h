#pragma once

#include <string>

#include "tools/setup-inspect/package_findings.h"

namespace velbor {

// The inspection for a person: the program, one line per item, then every fault
// with what the customer would see, then the summary line. UTF-8, with control
// characters and lone surrogates shown escaped as JSON shows them.
std::string ReportText(const PackageFindings& inspection);

// Every fault with what the customer would see, two lines each, as the report
// lists them.
std::string ReportFaults(const PackageFindings& inspection);

// The same as one JSON document, for scripts.
std::string ReportJson(const PackageFindings& inspection);

// "1 item, 12,345 bytes, 0 registrations, no fault": what the build prints.
std::string SummaryLine(const PackageFindings& inspection);

}  // namespace velbor
