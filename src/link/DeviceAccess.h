#pragma once
// Saying why a serial device could not be opened.
#include <string>

namespace corvane {

// The name of the group owning the file, "" when it cannot be found.
std::string OwningGroup(const std::string& path);

// "cannot open DEVICE: REASON"; when access was refused, with a hint naming
// the group that owns the device (dialout on Debian).
std::string DescribeOpenFailure(const std::string& device, const std::string& reason, bool permissionDenied);

}  // namespace corvane
