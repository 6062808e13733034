#include "image/ImageCompare.h"

#include <algorithm>

#include "image/ImageDiff.h"

namespace corvane {

std::vector<std::string> DifferingFields(std::span<const uint8_t> sent, std::span<const uint8_t> readBack) {
    std::vector<std::string> names;
    for (const Difference& difference : CompareImages(sent, readBack)) names.push_back(DifferenceName(difference));
    return names;
}

std::string VerifyFailedText(const std::vector<std::string>& fields) {
    std::string text = "Verify failed: ";
    const std::size_t shown = std::min(fields.size(), kVerifyFieldsShown);
    for (std::size_t i = 0; i < shown; ++i) {
        if (i > 0) text += ", ";
        text += fields[i];
    }
    if (fields.size() > shown) text += ", ... (" + std::to_string(fields.size() - shown) + " more)";
    return text;
}

}  // namespace corvane
