#include "web/PageDoctor.h"

#include "link/ConnectionDiagnosis.h"

namespace corvane::web {
namespace {

using emscripten::val;

bool Present(const val& value) { return !value.isUndefined() && !value.isNull(); }

OpenFailure OpenFailureNamed(const std::string& kind) {
    if (kind == "in-use") return OpenFailure::InUse;
    if (kind == "permission-denied") return OpenFailure::PermissionDenied;
    return OpenFailure::NoSuchDevice;
}

}  // namespace

PageDoctor::PageDoctor() : doctor_(port_, clock_, *this) {}

void PageDoctor::SetWakeCallback(val wake) {
    wake_ = std::move(wake);
    doctor_.SetWakeCallback([this] {
        if (Present(wake_)) wake_();
    });
}

void PageDoctor::OpenFailed(const std::string& kind, const std::string& detail) {
    const OpenFailure failure = OpenFailureNamed(kind);
    // A browser names no group to join: the fix names the usual one.
    doctor_.OnOpenFailure({failure, failure == OpenFailure::PermissionDenied ? std::string() : detail});
}

double PageDoctor::NextDeadline() const {
    const std::optional<int64_t> next = doctor_.NextDeadline();
    return next ? static_cast<double>(*next) : -1.0;
}

void PageDoctor::OnDoctorStep(DoctorStep step) {
    if (Present(listener_)) listener_.call<void>("onStep", std::string(DoctorStepText(step)));
}

void PageDoctor::OnDoctorFinding(const DoctorFinding& finding) {
    if (!Present(listener_)) return;
    val reply = val::object();
    reply.set("id", std::string(TextOf(finding.diagnosis).id));
    reply.set("finding", FindingLine(finding));
    reply.set("fix", FixLine(finding));
    listener_.call<void>("onFinding", reply);
}

}  // namespace corvane::web
