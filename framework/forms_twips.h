// Form layouts are given in twips; the screen is measured at 15 twips per
// pixel.
#pragma once

namespace forms {

constexpr int kTwipsPerPixel = 15;

// Rounds to the nearest pixel so adjacent controls keep their gaps.
constexpr int TwipsToPixels(int twips) {
    return twips >= 0 ? (twips + kTwipsPerPixel / 2) / kTwipsPerPixel
                      : -((-twips + kTwipsPerPixel / 2) / kTwipsPerPixel);
}

}  // namespace forms
