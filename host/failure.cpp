#include "host/failure.h"

#include <utility>

#include "host/application_title.h"

namespace velbor {

Text StandardDescription(std::int32_t number) {
  switch (number) {
    case failure::kInvalidArgument:
      return u"Invalid procedure call or argument";
    case failure::kOverflow:
      return u"Overflow";
    case failure::kOutOfMemory:
      return u"Out of memory";
    case failure::kSubscriptOutOfRange:
      return u"Subscript out of range";
    case failure::kBadFileName:
      return u"Bad file name or number";
    case failure::kFileNotFound:
      return u"File not found";
    case failure::kDiskFull:
      return u"Disk full";
    case failure::kPermissionDenied:
      return u"Permission denied";
    case failure::kPathFileAccess:
      return u"Path/File access error";
    case failure::kPathNotFound:
      return u"Path not found";
    case failure::kInvalidFileFormat:
      return u"Invalid file format";
    default:
      return u"Application-defined or object-defined error";
  }
}

HostFailure::HostFailure(std::int32_t number) : HostFailure(number, StandardDescription(number)) {}

HostFailure::HostFailure(std::int32_t number, Text description)
    : info_{number, std::move(description), kApplicationTitle, 0},
      what_("Error " + std::to_string(number) + " (" + Utf8FromText(info_.description) + ")") {}

HostFailure HostFailure::ResourceNotFound(std::int32_t resourceNumber) {
  return HostFailure(failure::kResourceNotFound,
                     u"Resource with identifier '" + DecimalText(resourceNumber) + u"' not found");
}

Text ProcedureFailureText(const HostFailure& caught, TextView procedure) {
  Text text(u"Error ");
  text += DecimalText(caught.Number());
  text += u" (";
  text += caught.Description();
  text += u") in procedure ";
  text += procedure;
  return text;
}

HostFailure HostFailure::InUse() {
  HostFailure inUse(failure::kPermissionDenied);
  inUse.inUse_ = true;
  return inUse;
}

}  // namespace velbor
