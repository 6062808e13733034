#include "link/DeviceAccess.h"

#include <cctype>

#include "link/ConnectionDiagnosis.h"

namespace corvane {
namespace {

std::string LowerFirst(std::string text) {
    if (!text.empty()) text[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(text[0])));
    return text;
}

}  // namespace

std::string DescribeOpenFailure(const std::string& device, const OpenProblem& problem, const std::string& reason) {
    const std::string opening = "cannot open " + device + ": ";
    DoctorFinding finding;
    switch (problem.failure) {
        case OpenFailure::NoSuchDevice: finding.diagnosis = Diagnosis::NoSuchDevice; break;
        case OpenFailure::PermissionDenied:
            finding.diagnosis = Diagnosis::PermissionDenied;
            finding.group = problem.detail;
            break;
        case OpenFailure::InUse:
            finding.diagnosis = Diagnosis::InUse;
            finding.detail = problem.detail;
            break;
        case OpenFailure::None:
        case OpenFailure::Other: return opening + reason;
    }
    return opening + LowerFirst(FindingLine(finding)) + ' ' + FixLine(finding);
}

}  // namespace corvane
