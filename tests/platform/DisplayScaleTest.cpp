// Tests of the display scale and of scaling pictures to device pixels: the rounding that keeps neighbours
// touching at every scale, pointer positions mapped back, and the picture filter's clean pixel widths.
#include "platform/DisplayScale.h"
#include "platform/PictureScale.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <tuple>
#include <vector>

namespace platform {
namespace {

TEST(DisplayScale, EdgesRoundAloneSoNeighboursTouchAndDevicePixelsComeBack) {
    // A resolution, and the restored window's 1000 x 648 design pixels in device pixels.
    for (const auto& [dpi, width, height] :
         {std::tuple{96, 1000, 648}, {120, 1250, 810}, {144, 1500, 972}, {192, 2000, 1296}}) {
        const DisplayScale scale(dpi);
        EXPECT_EQ(scale.ToDevice(ClientBox{0, 0, 1000, 648}), (PixelRect{0, 0, width, height})) << dpi;
        // Boxes from 14 on, each starting where the last ends (tile cells, caption buttons, labels); and a
        // pointer on device pixel p, in design pixels p / scale, maps back to p.
        for (int k = 0; k < 3000; ++k) {
            const double step = std::array{180.0, 37.0, 13.3, 7.5}[k % 4], left = 14 + step * (k / 4);
            ASSERT_EQ(scale.ToDevice(ClientBox{left, 72, step, 5}).right,
                      scale.ToDevice(ClientBox{left + step, 72, step, 5}).left)
                << dpi << ", " << step << " at " << left;
            ASSERT_EQ(scale.ToDevice(scale.ToDesign(k)), k) << dpi;
        }
    }
}

TEST(PictureScale, WholeRatiosReplicateAndOthersKeepEvenWidthsWithSoftEdges) {
    const std::uint32_t red = 0xFFFF0000u, blue = 0xFF0000FFu, purple = 0xFF800080u;
    Bitmap two(2, 1, kBlack), faded(2, 1, kBlack), column(1, 2, kBlack);
    two.pixels = column.pixels = {red, blue};
    faded.pixels = {red, 0x000000FFu};
    // Source, target size, the target's pixels.
    const std::tuple<Bitmap, int, int, std::vector<std::uint32_t>> cases[] = {
        {two, 4, 1, {red, red, blue, blue}},         // 200%: plain replication
        {two, 3, 1, {red, purple, blue}},            // 150%: one pure pixel each, one blended edge
        {two, 5, 1, {red, red, purple, blue, blue}}, // 250%
        {two, 1, 1, {purple}},                       // 50%: the area average
        {faded, 3, 1, {red, 0x80FF0000u, 0u}},       // a clear pixel lends no colour, only its alpha
        {column, 1, 3, {red, purple, blue}},         // along the other axis alike
    };
    for (const auto& [source, width, height, pixels] : cases) {
        EXPECT_EQ(ScalePicture(source, width, height).pixels, pixels) << width << " x " << height;
    }
}

TEST(PictureScale, ACopyIsMadeOncePerPictureAndSizeAndGoesWithItsPicture) {
    ScaledPictures copies;
    const Picture kept = std::make_shared<const Bitmap>(2, 2, kWhite);
    const Bitmap* first = &copies.Get(kept, 4, 4);
    std::vector<Picture> fill;
    // Each fill makes new pictures for the other tiles and drops the last fill's; the kept one stays.
    for (int round = 0; round < 5; ++round) {
        fill.clear();
        for (int tile = 0; tile < 3; ++tile) {
            fill.push_back(std::make_shared<const Bitmap>(2, 2, Rgb{0, 0, static_cast<std::uint8_t>(round)}));
            EXPECT_EQ(copies.Get(fill.back(), 4, 4).At(3, 3), Argb(Rgb{0, 0, static_cast<std::uint8_t>(round)}));
        }
        EXPECT_EQ(&copies.Get(kept, 4, 4), first) << "found again, not made again";
        EXPECT_EQ(copies.Count(), 4u) << "no copy kept of a freed picture";
    }
    EXPECT_EQ(copies.Get(kept, 6, 6).width, 6) << "another size is another copy";
}

} // namespace
} // namespace platform
