// Tests of the display scale and of scaling pictures to device pixels: the rounding that keeps neighbours
// touching at every scale, pointer positions mapped back, and the picture filter's clean pixel widths.
#include "platform/DisplayScale.h"
#include "platform/PictureScale.h"

#include <gtest/gtest.h>

#include <tuple>

namespace platform {
namespace {

TEST(DisplayScale, EdgesRoundAloneSoNeighboursTouchAndDevicePixelsComeBack) {
    // A resolution, and the maximised-window restore box of 1000 x 648 design pixels in device pixels.
    const std::tuple<int, int, int> scales[] = {{96, 1000, 648}, {120, 1250, 810}, {144, 1500, 972}, {192, 2000, 1296}};
    for (const auto& [dpi, width, height] : scales) {
        const DisplayScale scale(dpi);
        EXPECT_EQ(scale.ToDevice(ClientBox{0, 0, 1000, 648}), (PixelRect{0, 0, width, height})) << dpi;
        // Tile cells of 180 x 120 from 14, 72, and labels of fractional widths, each starting where the last ends.
        for (const double step : {180.0, 120.0, 37.0, 13.3, 7.5}) {
            for (double left = 14; left < 600; left += step) {
                const PixelRect a = scale.ToDevice(ClientBox{left, 72, step, 5});
                const PixelRect b = scale.ToDevice(ClientBox{left + step, 72, step, 5});
                ASSERT_EQ(a.right, b.left) << dpi << " dpi, step " << step << " at " << left;
            }
        }
        for (int device = 0; device < 3000; ++device) {
            // A pointer on device pixel p is in design pixels p / scale, which maps back to p.
            ASSERT_EQ(scale.ToDevice(scale.ToDesign(device)), device) << dpi;
            ASSERT_NEAR(scale.ToDesign(device) * dpi / 96.0, device, 1e-9) << dpi;
        }
    }
}

TEST(PictureScale, WholeRatiosReplicateAndOthersKeepEvenWidthsWithSoftEdges) {
    const std::uint32_t red = 0xFFFF0000u, blue = 0xFF0000FFu, clear = 0x000000FFu;
    Bitmap two(2, 1, kBlack);
    two.pixels = {red, blue};
    Bitmap faded(2, 1, kBlack);
    faded.pixels = {red, clear};
    // Source, target width, the target row.
    const std::tuple<Bitmap, int, std::vector<std::uint32_t>> cases[] = {
        {two, 4, {red, red, blue, blue}},              // 200%: plain replication
        {two, 3, {red, 0xFF800080u, blue}},            // 150%: one pure pixel each, one blended edge
        {two, 5, {red, red, 0xFF800080u, blue, blue}}, // 250%: up to 6, averaged to 5
        {two, 1, {0xFF800080u}},                       // 50%: the area average
        {faded, 3, {red, 0x80FF0000u, 0u}},            // a clear pixel lends no colour, only its alpha
        {Bitmap(), 3, {}},                             // nothing to scale
    };
    for (const auto& [source, width, row] : cases) {
        const Bitmap scaled = ScalePicture(source, width, source.height);
        EXPECT_EQ(scaled.pixels, row) << width;
    }
    // Along the other axis alike: a column of two at 150%.
    Bitmap column(1, 2, kBlack);
    column.pixels = {red, blue};
    EXPECT_EQ(ScalePicture(column, 1, 3).pixels, (std::vector<std::uint32_t>{red, 0xFF800080u, blue}));
}

} // namespace
} // namespace platform
