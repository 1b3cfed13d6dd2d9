// The resource reader and the whole inspection over any file: a cut-short or
// hostile program must give faults to report, never a read outside the file.
#include <cstddef>
#include <cstdint>

#include "inspect/package_inspection.h"
#include "inspect/package_report.h"
#include "inspect/pe_resources.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace velbor;
  try {
    PeResources program(ByteView(data, size));
    const PackageInspection inspection = InspectPackage(program);
    ReportText(inspection);
    ReportJson(inspection);
  } catch (const UnreadableProgram&) {
  }
  return 0;
}
