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

TEST(Artwork, MissingProgramIsAPaleGreyFolderAndQuestionMarkOnWhite) {
    const Bitmap& picture = *artwork::MissingProgram();
    const std::set<std::uint32_t> colours = ColoursOf(picture);
    ASSERT_EQ(colours.size(), 2u) << "white and one grey only";
    const auto other = std::find_if(colours.begin(), colours.end(),
                                    [](std::uint32_t c) { return c != platform::Argb(platform::kWhite); });
    ASSERT_NE(other, colours.end());
    const Rgb grey{static_cast<std::uint8_t>(*other >> 16), static_cast<std::uint8_t>(*other >> 8),
                   static_cast<std::uint8_t>(*other)};
    EXPECT_EQ(grey.r, grey.g);
    EXPECT_EQ(grey.g, grey.b);
    EXPECT_GE(grey.r, 176) << "pale";
    EXPECT_LT(grey.r, 255);

    struct Spot {
        const char* what;
        int x, y;
        bool grey;
    };
    const Spot spots[] = {
        {"corner", 0, 0, false},
        {"corner", 63, 63, false},
        {"folder's left side", 8, 30, true},
        {"folder's right side", 55, 30, true},
        {"folder's bottom", 30, 52, true},
        {"folder's tab", 12, 11, true},
        {"above the tab", 12, 8, false},
        {"inside the folder", 14, 40, false},
        {"question mark's top", 31, 24, true},
        {"question mark's dot", 31, 43, true},
        {"between the hook and the dot", 31, 40, false},
    };
    for (const auto& s : spots) {
        EXPECT_EQ(picture.ColourAt(s.x, s.y), s.grey ? grey : platform::kWhite) << s.what;
    }
}

TEST(Artwork, CaptionButtonsShowABarAWindowAndACrossInWhite) {
    const Bitmap& minimise = *artwork::MinimiseButton();
    const Bitmap& restore = *artwork::RestoreButton();
    const Bitmap& exit = *artwork::ExitButton();
    const Rgb face = minimise.ColourAt(18, 18);
    for (const Bitmap* button : {&minimise, &restore, &exit}) {
        // The faces are blue, so that they sit well on the navy title bar, and the same on all three.
        EXPECT_EQ(button->ColourAt(4, 30), face);
        EXPECT_GT(face.b, face.r);
        EXPECT_GT(face.b, face.g);
    }
    struct Spot {
        const char* what;
        const Bitmap* button;
        int x, y;
        bool white;
    };
    const Spot spots[] = {
        {"minimise bar", &minimise, 18, 25, true},
        {"above the bar", &minimise, 18, 12, false},
        {"restore's title bar", &restore, 18, 10, true},
        {"restore's window inside", &restore, 18, 20, false},
        {"restore's left side", &restore, 9, 20, true},
        {"restore's bottom", &restore, 18, 27, true},
        {"the cross's middle", &exit, 18, 18, true},
        {"the cross's arms", &exit, 11, 11, true},
        {"", &exit, 25, 11, true},
        {"between the arms", &exit, 18, 11, false},
    };
    for (const auto& s : spots) {
        EXPECT_EQ(s.button->ColourAt(s.x, s.y) == platform::kWhite, s.white) << s.what;
    }
}

TEST(Artwork, StripsAreOneShadeAlongTheDirectionTheyAreStretched) {
    const Bitmap& top = *artwork::TopStrip();
    const Bitmap& side = *artwork::SideStrip();
    const Bitmap& bottom = *artwork::BottomStrip();
    for (int y = 0; y < top.height; ++y) {
        for (int x = 0; x < top.width; ++x) {
            EXPECT_EQ(top.At(x, y), top.At(0, y)) << "top strip row " << y;
        }
    }
    for (int y = 0; y < bottom.height; ++y) {
        for (int x = 0; x < bottom.width; ++x) {
            EXPECT_EQ(bottom.At(x, y), bottom.At(0, y)) << "bottom strip row " << y;
        }
    }
    for (int x = 0; x < side.width; ++x) {
        for (int y = 0; y < side.height; ++y) {
            EXPECT_EQ(side.At(x, y), side.At(x, 0)) << "side strip column " << x;
        }
    }
    EXPECT_EQ(top.ColourAt(0, 5), kNavy) << "the top strip runs into the title bar";
    EXPECT_GT(side.ColourAt(0, 0).r, side.ColourAt(8, 0).r) << "light outside, dark inside";
    EXPECT_GT(bottom.ColourAt(0, 0).r, bottom.ColourAt(0, 5).r) << "light inside, dark outside";
}

TEST(Artwork, LogoWritesTheNameInNavyOnWindowGrey) {
    const Bitmap& logo = *artwork::Logo();
    EXPECT_EQ(logo.ColourAt(0, 0), kWindowGrey);
    EXPECT_EQ(logo.ColourAt(153, 59), kWindowGrey);
    // The navy letters are centred across the logo.
    int left = logo.width, right = -1;
    for (int y = 0; y < logo.height; ++y) {
        for (int x = 0; x < logo.width; ++x) {
            if (logo.ColourAt(x, y) == kNavy && y < 40) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
        }
    }
    ASSERT_GE(right, 0) << "no navy letters";
    EXPECT_LE(std::abs(left - (logo.width - 1 - right)), 1) << left << " .. " << right;
    // The 'T' at the start: a full crossbar, grey beneath its ends, a stem in the middle.
    EXPECT_EQ(logo.ColourAt(left, 7), kNavy);
    EXPECT_EQ(logo.ColourAt(left + 14, 7), kNavy);
    EXPECT_EQ(logo.ColourAt(left, 15), kWindowGrey);
    EXPECT_EQ(logo.ColourAt(left + 7, 25), kNavy);
}

TEST(Artwork, VideoButtonIsAFilmStripWithSprocketHoles) {
    const Bitmap& film = *artwork::VideoButton();
    for (int y : {1, 5, 9, 13, 17}) {
        EXPECT_EQ(film.ColourAt(1, y), platform::kWhite) << "left hole at " << y;
        EXPECT_EQ(film.ColourAt(18, y), platform::kWhite) << "right hole at " << y;
        EXPECT_NE(film.ColourAt(1, y + 2), platform::kWhite) << "film between holes at " << y + 2;
    }
    EXPECT_NE(film.ColourAt(9, 5), film.ColourAt(9, 10)) << "two frames with film between them";
    EXPECT_EQ(film.ColourAt(9, 5), film.ColourAt(9, 15));
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
