#include "launcher/Artwork.h"

#include "TestSupport.h"
#include "catalogue/Misc.h"
#include "catalogue/XMLsettingStuff.h"
#include "platform/Text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace launcher {
namespace {

using platform::Bitmap;
using platform::Picture;
using platform::Rgb;

constexpr Rgb kNavy{0, 0, 128};
constexpr Rgb kWindowGrey{192, 192, 192};

std::set<std::uint32_t> ColoursOf(const Bitmap& bitmap) {
    return {bitmap.pixels.begin(), bitmap.pixels.end()};
}

TEST(Artwork, EveryPictureHasItsSizeIsOpaqueAndIsMadeOnce) {
    struct Case {
        const char* what;
        Picture (*make)();
        int width, height;
    };
    const Case cases[] = {
        {"MinimiseButton", artwork::MinimiseButton, 37, 37},
        {"RestoreButton", artwork::RestoreButton, 37, 37},
        {"ExitButton", artwork::ExitButton, 37, 37},
        {"TopStrip", artwork::TopStrip, 6, 6},
        {"SideStrip", artwork::SideStrip, 9, 9},
        {"BottomStrip", artwork::BottomStrip, 18, 6},
        {"Logo", artwork::Logo, 154, 60},
        {"DefaultTile", artwork::DefaultTile, 32, 32},
        {"VideoButton", artwork::VideoButton, 20, 21},
        {"MissingProgram", artwork::MissingProgram, 64, 64},
        {"OptionsBadge", artwork::OptionsBadge, 104, 40},
    };
    for (const auto& c : cases) {
        const Picture picture = c.make();
        ASSERT_NE(picture, nullptr) << c.what;
        EXPECT_EQ(picture->width, c.width) << c.what;
        EXPECT_EQ(picture->height, c.height) << c.what;
        ASSERT_EQ(picture->pixels.size(), static_cast<std::size_t>(c.width * c.height)) << c.what;
        for (const auto pixel : picture->pixels) {
            ASSERT_EQ(pixel >> 24, 0xFFu) << c.what << " has a pixel that is not opaque";
        }
        EXPECT_GE(ColoursOf(*picture).size(), 2u) << c.what << " is a blank square";
        EXPECT_EQ(c.make(), picture) << c.what << " is drawn again on a second call";
    }
}

TEST(Artwork, MissingProgramIsPaleGreyOnWhiteAndTheCaptionButtonsWhiteOnOneBlueFace) {
    const Bitmap& missing = *artwork::MissingProgram();
    ASSERT_EQ(ColoursOf(missing).size(), 2u) << "white and one grey only";
    const Rgb grey = missing.ColourAt(8, 30); // the folder's left side
    EXPECT_TRUE(grey.r == grey.g && grey.g == grey.b && grey.r >= 176 && grey.r < 255) << "a pale grey";
    const Rgb face = artwork::MinimiseButton()->ColourAt(18, 18);
    EXPECT_TRUE(face.b > face.r && face.b > face.g) << "blue, to sit well on the navy title bar";
    // A few points of each shape, and of the ground around it.
    const struct {
        const char* what;
        Picture picture;
        int x, y;
        Rgb colour;
    } spots[] = {
        {"missing: corner", artwork::MissingProgram(), 63, 63, platform::kWhite},
        {"missing: folder's tab", artwork::MissingProgram(), 12, 11, grey},
        {"missing: inside the folder", artwork::MissingProgram(), 14, 40, platform::kWhite},
        {"missing: question mark", artwork::MissingProgram(), 31, 24, grey},
        {"missing: question mark's dot", artwork::MissingProgram(), 31, 43, grey},
        {"minimise: bar", artwork::MinimiseButton(), 18, 25, platform::kWhite},
        {"minimise: above the bar", artwork::MinimiseButton(), 4, 30, face},
        {"restore: title bar", artwork::RestoreButton(), 18, 10, platform::kWhite},
        {"restore: inside the window", artwork::RestoreButton(), 18, 20, face},
        {"exit: the cross's arm", artwork::ExitButton(), 11, 11, platform::kWhite},
        {"exit: between the arms", artwork::ExitButton(), 18, 11, face},
        {"video: sprocket hole", artwork::VideoButton(), 18, 17, platform::kWhite},
        {"video: film between the holes", artwork::VideoButton(), 1, 3, {40, 40, 40}},
    };
    for (const auto& s : spots) {
        EXPECT_EQ(s.picture->ColourAt(s.x, s.y), s.colour) << s.what;
    }
}

TEST(Artwork, StripsAreOneShadeAlongTheDirectionTheyAreStretched) {
    // Each strip as rows along its stretch: the side strip is stretched down, so its columns are compared.
    const auto uniform = [](const Bitmap& b, bool alongX) {
        for (int y = 0; y < b.height; ++y) {
            for (int x = 0; x < b.width; ++x) {
                if (b.At(x, y) != (alongX ? b.At(0, y) : b.At(x, 0))) {
                    return false;
                }
            }
        }
        return true;
    };
    const Bitmap& top = *artwork::TopStrip();
    const Bitmap& side = *artwork::SideStrip();
    const Bitmap& bottom = *artwork::BottomStrip();
    EXPECT_TRUE(uniform(top, true) && uniform(bottom, true) && uniform(side, false));
    EXPECT_EQ(top.ColourAt(0, 5), kNavy) << "the top strip runs into the title bar";
    EXPECT_GT(side.ColourAt(0, 0).r, side.ColourAt(8, 0).r) << "light outside, dark inside";
    EXPECT_GT(bottom.ColourAt(0, 0).r, bottom.ColourAt(0, 5).r) << "light inside, dark outside";
}

TEST(Artwork, LogoCentresTheNameInNavyOnWindowGrey) {
    const Bitmap& logo = *artwork::Logo();
    EXPECT_EQ(logo.ColourAt(153, 59), kWindowGrey);
    int left = logo.width, right = -1;
    for (int y = 0; y < 40; ++y) { // the letters, above the row of squares
        for (int x = 0; x < logo.width; ++x) {
            if (logo.ColourAt(x, y) == kNavy) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
        }
    }
    ASSERT_GE(right, 0) << "no navy letters";
    EXPECT_LE(std::abs(left - (logo.width - 1 - right)), 1) << left << " .. " << right;
}

// The tile pictures that the built-in catalogue names ship in the data folder.
TEST(TileBitmaps, EveryDefaultProgramHasADistinct64By64PictureFile) {
    testing_support::Scene scene;
    catalogue::SetDefaultPictures(scene.cat, scene.files);
    std::set<std::vector<std::uint32_t>> seen;
    for (int id = 0; id < catalogue::kDefaultCount; ++id) {
        const std::string name =
            platform::ToUtf8(catalogue::GetFileName(scene.cat.progList[static_cast<std::size_t>(id)].picpath));
        std::ifstream in(std::string(LAUNCHER_SOURCE_DIR) + "/data/" + name, std::ios::binary);
        ASSERT_TRUE(in.good()) << name << " is missing";
        const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        EXPECT_LE(bytes.size(), 64u * 64u * 3u + 54u) << name;
        const auto bitmap = platform::DecodeBmp(bytes);
        ASSERT_TRUE(bitmap.has_value()) << name;
        EXPECT_EQ(bitmap->width, 64) << name;
        EXPECT_EQ(bitmap->height, 64) << name;
        EXPECT_GE(ColoursOf(*bitmap).size(), 4u) << name << " needs a colour scheme and a motif";
        EXPECT_TRUE(seen.insert(bitmap->pixels).second) << name << " looks the same as another tile";
    }
}

} // namespace
} // namespace launcher
