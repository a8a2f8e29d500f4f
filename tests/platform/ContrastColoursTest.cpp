#include "platform/ContrastColours.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <tuple>

namespace platform {
namespace {

// The contrast ratio of two colours (1 to 21), from their relative luminance.
double ContrastRatio(Rgb a, Rgb b) {
    const auto luminance = [](Rgb c) {
        const auto linear = [](std::uint8_t v) {
            const double s = v / 255.0;
            return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * linear(c.r) + 0.7152 * linear(c.g) + 0.0722 * linear(c.b);
    };
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// Every text the two windows draw on its ground, as designed (colour and use of each): the title, names,
// greyed names, the version, the description, the options buttons.
const std::tuple<Rgb, ColourUse, Rgb, ColourUse> kTexts[] = {
    {kWhite, ColourUse::Text, kCaptionNavy, ColourUse::Ground},
    {kBlack, ColourUse::Text, kWhite, ColourUse::Ground},
    {kGreyedText, ColourUse::Text, kWhite, ColourUse::Ground},
    {Rgb{128, 128, 128}, ColourUse::Text, kGreyedText, ColourUse::Ground},
    {Rgb{64, 64, 64}, ColourUse::Text, kGreyedText, ColourUse::Ground},
    {kBlack, ColourUse::ButtonText, kGreyedText, ColourUse::ButtonFace}};

TEST(ContrastColours, OffEveryColourStaysAndOnEachTextTakesItsSystemColourAndReadsOnItsGround) {
    for (const auto& [text, use, ground, groundUse] : kTexts) {
        EXPECT_EQ(SchemeColour(text, use, std::nullopt), text);
        EXPECT_EQ(SchemeColour(ground, groundUse, std::nullopt), ground);
    }
    // The buttons' black text on their grey face: 11.5 to 1, where the system's white button text gave 1.8.
    EXPECT_NEAR(ContrastRatio(kBlack, Rgb{192, 192, 192}), 11.5, 0.1);
    EXPECT_NEAR(ContrastRatio(kWhite, Rgb{192, 192, 192}), 1.8, 0.1);

    // The schemes as Windows ships them: black, white, and a coloured one.
    const SystemColours schemes[] = {
        {{0, 0, 0}, {255, 255, 255}, {63, 242, 63}, {26, 235, 255}, {0, 0, 0}, {0, 0, 0}, {255, 255, 255}, {}},
        {{255, 255, 255}, {0, 0, 0}, {96, 0, 0}, {55, 0, 110}, {255, 255, 255}, {255, 255, 255}, {0, 0, 0}, {}},
        {{0, 0, 0}, {255, 255, 0}, {0, 255, 0}, {0, 128, 0}, {255, 255, 255}, {0, 0, 0}, {255, 255, 0}, {}}};
    for (const SystemColours& scheme : schemes) {
        const Rgb wanted[] = {scheme.captionText, scheme.windowText, scheme.grayText,
                              scheme.windowText,  scheme.windowText, scheme.buttonText};
        for (std::size_t i = 0; i < std::size(kTexts); ++i) {
            const auto& [design, use, groundDesign, groundUse] = kTexts[i];
            const Rgb text = SchemeColour(design, use, scheme);
            EXPECT_EQ(text, wanted[i]) << i;
            EXPECT_GE(ContrastRatio(text, SchemeColour(groundDesign, groundUse, scheme)), 4.5) << i;
        }
    }
}

} // namespace
} // namespace platform
