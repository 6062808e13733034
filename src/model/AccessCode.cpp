#include "model/AccessCode.h"

#include "model/Edition.h"

namespace corvane {

std::optional<int16_t> EditionForAccessCode(std::string_view code) {
    if (code == "qzv" || code == "QZV") return kEditionPmrLpd;
    if (code == "wbn" || code == "WBN") return kEditionKorea;
    return std::nullopt;
}

std::string FrameCaption(int16_t edition) {
    const std::string title(kProgramTitle);
    if (edition == kEditionPmrLpd) return title + " - Kestrel : PMR + LPD";
    if (edition == kEditionKorea) return title + " - Kestrel : Korea";
    return title;
}

}  // namespace corvane
