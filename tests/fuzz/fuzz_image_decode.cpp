// Any bytes: decoding never crashes, a refused image changes nothing, and an
// image built from a decoded workspace decodes and builds back to itself.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "image/ImageLayout.h"
#include "image/MemoryImage.h"

namespace {

using namespace corvane;

constexpr uint16_t kLowestCode = 1664;   // 420 MHz
constexpr uint16_t kCodesInRange = 4801;  // up to 450 MHz
constexpr uint8_t kDigits = 10;

void Check(bool condition) {
    if (!condition) std::abort();
}

// Bends fuzz bytes into an image the builder can send back, so the round
// trip is exercised and not only the refusals.
MemoryImage Sendable(std::span<const uint8_t> data) {
    MemoryImage m{};
    std::copy_n(data.begin(), std::min(data.size(), m.size()), m.begin());
    m[image::kChannelMode] &= 1;
    m[image::kEdition] = (m[image::kEdition] & 1) ? kEditionKorea : kEditionPmrLpd;
    for (int i = 0; i < image::kDtmfDigitCount; ++i) m[image::kDtmfDigits + i] %= kDigits;
    for (int c = 1; c <= image::kAreaChannels; ++c) {
        for (const image::Index base : {image::kRxFrequencies, image::kTxFrequencies}) {
            const image::Index at = image::WordAt(base, c);
            const uint16_t word = image::GetWord(m, at);
            image::PutWord(m, at, word == 0 ? 0 : static_cast<uint16_t>(kLowestCode + word % kCodesInRange));
        }
    }
    return m;
}

void RoundTrip(std::span<const uint8_t> bytes) {
    Workspace ws;
    const Workspace before = ws;
    const Status decoded = DecodeImage(bytes, ws);
    if (!decoded.ok()) {
        Check(ws.settings == before.settings && ws.groups == before.groups && ws.channels == before.channels &&
              ws.edition == before.edition && ws.channelMode == before.channelMode);
        return;
    }
    const Result<MemoryImage> built = BuildImage(ws);
    if (!built.ok()) return;  // decoded values that cannot be sent back
    Workspace again;
    Check(DecodeImage(*built, again).ok());
    // The LPD layout is read back through the standard areas, shifted.
    if (ws.edition == kEditionPmrLpd && ws.settings.BandSelect == kBandLpd) return;
    const Result<MemoryImage> rebuilt = BuildImage(again);
    Check(rebuilt.ok() && *rebuilt == *built);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::span<const uint8_t> rest(data + 1, size - 1);
    if (data[0] & 1) {
        RoundTrip(rest);
    } else {
        const MemoryImage shaped = Sendable(rest);
        RoundTrip(shaped);
    }
    return 0;
}
