// Any text in a frequency cell: the exact step count agrees with the integer
// hertz reading and the lenient number, and the image either refuses the
// channel or carries its code.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "image/ImageFrequency.h"
#include "image/MemoryImage.h"
#include "model/Frequency.h"
#include "model/NumberParse.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    using namespace corvane;
    const std::string text(reinterpret_cast<const char*>(data), size);
    const image::FrequencySteps steps = image::ParseFrequencySteps(text);
    if (steps.check == image::StepsCheck::Ok) {
        Check(steps.steps * kChannelRasterHz == FrequencyTextToHertz(text));
        Check(std::fabs(LenientNumber(text) * 160.0 - static_cast<double>(steps.steps)) < 1e-6);
        Check(CheckFrequencyEntry(text) == FrequencyCheck::Ok);
    }

    Workspace ws;
    ws.edition = kEditionKorea;
    ws.channels.SetCell(1, ColRxFreq, text);
    const Result<MemoryImage> built = BuildImage(ws);
    Check(built.ok() == (steps.check == image::StepsCheck::Ok || steps.check == image::StepsCheck::Zero));
    if (built.ok()) {
        const uint16_t code = static_cast<uint16_t>((*built)[66] | ((*built)[67] << 8));
        Check(code == (steps.check == image::StepsCheck::Ok ? image::FrequencyCode(steps.steps) : 0));
        Check((*built)[63] == (code != 0 ? 1 : 0));
    }
    return 0;
}
