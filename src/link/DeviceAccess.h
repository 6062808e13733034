#pragma once
// Saying why a serial device could not be opened, in the connection
// doctor's words where the platform knows the cause.
#include <string>

#include "link/SerialPort.h"

namespace corvane {

// "cannot open DEVICE: the port is in use by another program (minicom,
// process 42). Close the other program ..."; for a cause the platform could
// not tell, "cannot open DEVICE: REASON".
std::string DescribeOpenFailure(const std::string& device, const OpenProblem& problem, const std::string& reason);

}  // namespace corvane
