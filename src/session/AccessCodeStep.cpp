#include "session/AccessCodeStep.h"

#include <optional>
#include <utility>

#include "model/AccessCode.h"
#include "store/WorkingSet.h"

namespace corvane {

AccessWindowLoad AccessCodeStep::Load() {
    const Result<StartReport> prepared = PrepareWorkingSet(ws_.programFolder, StartMode::ReadOnly);
    if (!prepared) {
        startRefused_ = true;
        return {true, prepared.message()};
    }
    return {false, LoadConfigBeforeAccessCode(ws_).message()};
}

AccessEntry AccessCodeStep::Enter(std::string_view code) {
    if (code.empty()) return {};
    const std::optional<int16_t> edition = EditionForAccessCode(code);
    if (!edition) return {AccessOutcome::Refused, std::string(kInvalidAccessCodeText)};
    const Result<AcceptedCode> accepted = AcceptAccessCode(ws_, *edition);
    if (!accepted) {
        startRefused_ = true;
        return {AccessOutcome::StartRefused, accepted.message()};
    }
    startNotice_ = accepted->notice;
    return {AccessOutcome::Accepted, accepted->configSaved.message()};
}

std::string AccessCodeStep::TakeStartNotice() { return std::exchange(startNotice_, std::string()); }

}  // namespace corvane
