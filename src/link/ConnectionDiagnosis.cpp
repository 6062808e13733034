#include "link/ConnectionDiagnosis.h"

#include <array>

namespace corvane {
namespace {

constexpr std::string_view kGroupMark = "{group}";
constexpr std::string_view kDefaultGroup = "dialout";

constexpr std::array kDiagnoses = {
    DiagnosisText{Diagnosis::RadioAnswers, "radio-answers", "The radio answers.",
                  "Nothing to fix: Down and Up work on this port."},
    DiagnosisText{Diagnosis::NoSuchDevice, "no-device", "There is no such device.",
                  "Plug the programming cable in, or choose the port it is on; a cable just plugged in takes a few "
                  "seconds to appear."},
    DiagnosisText{Diagnosis::PermissionDenied, "permission-denied", "Permission denied: your user may not open the port.",
                  "Add your user to the serial ports' group (sudo usermod -aG {group} $USER), then log out and "
                  "in again. The package's udev rule also opens the usual cables (FTDI, Prolific, WCH, Silicon Labs) "
                  "to whoever sits at the computer: unplug the cable and plug it in again."},
    DiagnosisText{Diagnosis::InUse, "in-use", "The port is in use by another program.",
                  "Close the other program (a terminal, another programmer, a modem manager) or choose another "
                  "port, then try again."},
    DiagnosisText{Diagnosis::Silence, "silence", "Nothing comes back: the radio does not answer.",
                  "Switch the radio on and push the cable's plug fully into the radio (it needs a firm push); "
                  "check that this is the port the cable is on."},
    DiagnosisText{Diagnosis::EchoOnly, "echo-only", "Only what is sent comes back: no radio answers.",
                  "The cable's TX and RX are joined, or the cable echoes and the radio behind it is off or not "
                  "reached: switch the radio on and seat the plug fully; if that does not help, the cable does not "
                  "suit this radio."},
    DiagnosisText{Diagnosis::NoFrame, "no-frame", "Bytes come back, but they form no frame.",
                  "The line runs at another speed or picks up noise: use the cable made for this radio (it talks "
                  "at 2400 baud) and keep it away from other equipment, then try again."},
    DiagnosisText{Diagnosis::ForeignAnswer, "foreign-answer", "An answer comes back, but not this radio's.",
                  "Another radio or device answers on this port: connect this radio, or choose the port its "
                  "cable is on."},
};

}  // namespace

std::span<const DiagnosisText> AllDiagnoses() { return kDiagnoses; }

const DiagnosisText& TextOf(Diagnosis diagnosis) {
    for (const DiagnosisText& text : kDiagnoses) {
        if (text.diagnosis == diagnosis) return text;
    }
    return kDiagnoses.front();
}

std::string FindingLine(const DoctorFinding& finding) {
    std::string line(TextOf(finding.diagnosis).finding);
    if (finding.detail.empty()) return line;
    line.pop_back();  // the full stop goes after the detail
    return line + " (" + finding.detail + ").";
}

std::string FixLine(const DoctorFinding& finding) {
    std::string line(TextOf(finding.diagnosis).fix);
    const std::string group = finding.group.empty() ? std::string(kDefaultGroup) : finding.group;
    for (std::size_t at = line.find(kGroupMark); at != std::string::npos; at = line.find(kGroupMark, at)) {
        line.replace(at, kGroupMark.size(), group);
        at += group.size();
    }
    return line;
}

}  // namespace corvane
