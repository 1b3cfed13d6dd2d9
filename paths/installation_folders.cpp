#include "paths/installation_folders.h"

#include <variant>

#include "host/failure.h"
#include "paths/error_report.h"
#include "registry/reg_value.h"

namespace velbor {
namespace {

constexpr char16_t kWindowsKey[] =
    u"HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion";
constexpr char16_t kVelborKey[] = u"HKEY_LOCAL_MACHINE\\Software\\Velbor\\Installazione";

}  // namespace

Text InstallationFolders::RetrieveCommonPath() {
  return Lookup(kWindowsKey, u"COMMONFILESDIR", u"ModReg - RetrieveCommonPath:");
}

Text InstallationFolders::RetrieveProgramFilesPath() {
  return Lookup(kWindowsKey, u"PROGRAMFILESDIR", u"ModReg - RetrieveProgramFilesPath:");
}

Text InstallationFolders::RetrieveProgramFilesVelborPath() {
  return Lookup(kVelborKey, u"strPath", u"ModReg - RetrieveProgramFilesVelborPath:");
}

Text InstallationFolders::Lookup(const Text& keyPath, const Text& valueName,
                                 TextView reportPrefix) {
  try {
    RegValue value;
    if (registry_.ReadValue(keyPath, valueName, value, ValueKind::kText) != 0) return Text();
    // Left empty when the value has no data.
    const Text* text = std::get_if<Text>(&value);
    return text != nullptr ? *text : Text();
  } catch (const HostFailure& caught) {
    ShowErrorReport(ui_, caught.Info(), reportPrefix);
    return Text();
  }
}

}  // namespace velbor
