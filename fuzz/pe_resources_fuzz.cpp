// The resource reader and the whole inspection over any file: a cut-short or
// hostile program must give faults to report, never a read outside the file.
#include <cstddef>
#include <cstdint>

#include "host/posix/openssl_sha256.h"
#include "package/pe_resources.h"
#include "tools/setup-inspect/package_findings.h"
#include "tools/setup-inspect/package_report.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace velbor;
  try {
    PeResources program(ByteView(data, size));
    const PackageFindings inspection = InspectPackage(program, OpenSslSha256());
    ReportText(inspection);
    ReportJson(inspection);
  } catch (const UnreadableProgram&) {
  }
  return 0;
}
