// Shared scenes of the unit tests: a launcher in C:\Launcher with its data folder on the headless file
// system and a fresh catalogue that knows its drive, for the catalogue tests; and a small window of
// elements, for the tests of element geometry and of painting.
#pragma once

#include "catalogue/Catalogue.h"
#include "platform/Elements.h"
#include "platform/headless/HeadlessFileSystem.h"

#include <memory>
#include <string>
#include <utility>

namespace testing_support {

inline constexpr char16_t kSettings[] = u"C:\\Launcher\\data\\progdata.xml";
inline constexpr char16_t kProgramCandidates[] = u"C:\\Launcher\\data\\poss paths.xml";
inline constexpr char16_t kVideoCandidates[] = u"C:\\Launcher\\data\\poss vid paths.xml";

struct Scene {
    platform::HeadlessFileSystem files{u"C:\\Launcher"};
    catalogue::Catalogue cat;

    Scene() {
        files.AddFolder(u"C:\\Launcher\\data");
        cat.appDrive = u"C:";
    }
};

// Joins lines with CR LF after each, as the launcher's files are written.
inline std::u16string CrLf(std::initializer_list<std::u16string_view> lines) {
    std::u16string out;
    for (const auto line : lines) {
        out += line;
        out += u"\r\n";
    }
    return out;
}

// Places an element inside its container, in pixels.
inline void Place(platform::Element& e, double left, double top, double width, double height) {
    e.left = left;
    e.top = top;
    e.width = width;
    e.height = height;
}

inline constexpr platform::Rgb kGrey{192, 192, 192}, kRed{255, 0, 0}, kGreen{0, 160, 0}, kBlue{0, 0, 255},
    kNavy{0, 0, 128};

// A 200 x 100 pixel grey window: a navy title box at the top with a self-sizing caption in it, a
// white holder box with a red picture that sticks out of it, a hidden blue picture and a scroll bar, and a
// green shape at the bottom right. The system measures the text; `args` make it.
template <class SystemType>
struct ElementScene {
    SystemType system;
    platform::Window window{u"Scene", kGrey};
    platform::PictureBox title{"title", system}, holder{"holder", system};
    platform::Label caption{"caption", system, true};
    platform::Image picture{"picture"}, hidden{"hidden"};
    platform::ScrollBar bar{"bar"};
    platform::Shape shape{"shape"};

    template <class... Args>
    explicit ElementScene(Args&&... args) : system(std::forward<Args>(args)...) {
        window.Add(title);
        window.Add(holder);
        window.Add(shape);
        Place(title, 0, 0, 200, 30);
        title.backColor = kNavy;
        title.Add(caption);
        Place(caption, 4, 2, 0, 0);
        caption.SetCaption(u"Title");
        Place(holder, 10, 40, 100, 50);
        holder.Add(picture);
        holder.Add(hidden);
        holder.Add(bar);
        Place(picture, -5, 30, 30, 30); // only its part inside the holder is there
        picture.picture = std::make_shared<const platform::Bitmap>(2, 2, kRed);
        Place(hidden, 50, 5, 20, 20);
        hidden.picture = std::make_shared<const platform::Bitmap>(2, 2, kBlue);
        hidden.visible = false;
        Place(bar, 80, 0, 20, 50);
        Place(shape, 150, 70, 40, 25);
        shape.fillColor = kGreen;
    }
};

} // namespace testing_support
