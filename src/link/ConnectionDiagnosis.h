#pragma once
// What the connection doctor can find, and the words every face shows for
// it: one table, so the desktop, the page and corvane-cli say the same.
#include <span>
#include <string>
#include <string_view>

namespace corvane {

enum class Diagnosis {
    RadioAnswers,
    NoSuchDevice,
    PermissionDenied,
    InUse,
    Silence,
    EchoOnly,
    NoFrame,
    ForeignAnswer,
};

struct DiagnosisText {
    Diagnosis diagnosis;
    std::string_view id;       // stable name for scripts and tests: "in-use"
    std::string_view finding;  // one sentence: what is wrong
    std::string_view fix;      // one or two sentences; "{group}" stands for the device's group
};

// Every diagnosis, in the order of the checks.
std::span<const DiagnosisText> AllDiagnoses();
const DiagnosisText& TextOf(Diagnosis diagnosis);

// What the doctor found on one port.
struct DoctorFinding {
    Diagnosis diagnosis = Diagnosis::Silence;
    // What was seen, for the curious and for support: who holds the port,
    // the bytes that came back. Empty when there is nothing to add.
    std::string detail;
    // PermissionDenied: the group that owns the device, when known.
    std::string group;
};

// The finding as one line: "The port is in use by another program
// (minicom, process 4242)."
std::string FindingLine(const DoctorFinding& finding);
// The fix with the device's group filled in ("dialout" when unknown).
std::string FixLine(const DoctorFinding& finding);

}  // namespace corvane
