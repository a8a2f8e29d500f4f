#include "launcher/Artwork.h"

#include "TestSupport.h"
#include "catalogue/Misc.h"
#include "catalogue/XMLsettingStuff.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <tuple>
#include <vector>

namespace launcher {
namespace {

using platform::Bitmap;

std::set<std::uint32_t> ColoursOf(const Bitmap& bitmap) {
    return {bitmap.pixels.begin(), bitmap.pixels.end()};
}

TEST(Artwork, EveryPictureHasItsSizeIsOpaqueAndIsMadeOnce) {
    // How each picture is made, and its width and height in pixels.
    const std::tuple<platform::Picture (*)(), int, int> cases[] = {
        {artwork::MinimiseButton, 37, 37}, {artwork::RestoreButton, 37, 37}, {artwork::ExitButton, 37, 37},
        {artwork::TopStrip, 6, 6},         {artwork::SideStrip, 9, 9},       {artwork::BottomStrip, 18, 6},
        {artwork::Logo, 154, 60},          {artwork::DefaultTile, 32, 32},   {artwork::VideoButton, 20, 21},
        {artwork::MissingProgram, 64, 64}, {artwork::OptionsBadge, 104, 40}};
    for (const auto& [make, width, height] : cases) {
        const platform::Picture picture = make();
        ASSERT_NE(picture, nullptr);
        SCOPED_TRACE(testing::Message() << width << " x " << height);
        EXPECT_EQ((std::array{picture->width, picture->height}), (std::array{width, height}));
        // Stretched over whatever lies below, a see-through pixel would show it.
        EXPECT_TRUE(
            std::all_of(picture->pixels.begin(), picture->pixels.end(), [](auto p) { return p >> 24 == 0xFF; }));
        EXPECT_GE(ColoursOf(*picture).size(), 2u) << "a blank square";
        EXPECT_EQ(make(), picture) << "drawn again on a second call";
    }
    // A greyed tile must look unavailable: white and one light grey, nothing darker.
    const Bitmap& missing = *artwork::MissingProgram();
    for (const std::uint32_t colour : ColoursOf(missing)) {
        const std::uint32_t r = colour >> 16 & 0xFF, g = colour >> 8 & 0xFF, b = colour & 0xFF;
        EXPECT_TRUE(r == g && g == b && r >= 176) << std::hex << colour;
    }
    EXPECT_EQ(ColoursOf(missing).size(), 2u);
}

// The tile pictures that the built-in catalogue names ship in the data folder.
TEST(TileBitmaps, EveryDefaultProgramHasADistinct64By64PictureFile) {
    testing_support::Scene scene;
    catalogue::SetDefaultPictures(scene.cat, scene.files);
    std::set<std::vector<std::uint32_t>> seen;
    for (int id = 0; id < catalogue::kDefaultCount; ++id) {
        const auto name =
            platform::ToUtf8(catalogue::GetFileName(scene.cat.progList[static_cast<std::size_t>(id)].picpath));
        SCOPED_TRACE(name);
        std::ifstream in(std::string(LAUNCHER_SOURCE_DIR) + "/data/" + name, std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        EXPECT_LE(bytes.size(), 64u * 64u * 3u + 54u);
        const auto bitmap = platform::DecodeBmp(bytes);
        ASSERT_TRUE(bitmap.has_value()) << "missing or not a bitmap";
        EXPECT_EQ((std::array{bitmap->width, bitmap->height}), (std::array{64, 64}));
        EXPECT_GE(ColoursOf(*bitmap).size(), 4u) << "needs a colour scheme and a motif";
        EXPECT_TRUE(seen.insert(bitmap->pixels).second) << "looks the same as another tile";
    }
}

} // namespace
} // namespace launcher
