#include "link/SetComparison.h"

#include "image/MemoryImage.h"

namespace corvane {

Result<std::vector<Difference>> CompareSetWithImage(const Workspace& ws, std::span<const uint8_t> image) {
    const Result<MemoryImage> built = BuildImage(ws);
    if (!built) return built.status();
    if (image.size() < kImageLength) return CompareImages(*built, image);
    // Decoded into a scratch set only to apply the read's own checks.
    Workspace scratch;
    if (const Status valid = DecodeImage(image, scratch); !valid) return valid;
    return CompareImages(*built, image);
}

std::string DifferenceCountText(std::size_t count) {
    if (count == 0) return "No differences";
    return std::to_string(count) + (count == 1 ? " difference" : " differences");
}

}  // namespace corvane
