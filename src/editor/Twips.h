#pragma once
// Sizes of the original layout are kept in twips: 15 twips per pixel at 96 dpi.

namespace corvane {

constexpr int kTwipsPerPixel = 15;
constexpr int TwipsToPixels(int twips) { return twips / kTwipsPerPixel; }

}  // namespace corvane
