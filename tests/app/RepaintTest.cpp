// What the launcher repaints after each thing a user does, as the Win32 window works it out: only the areas
// of elements whose look changed.
#include "app/Main.h"
#include "platform/headless/HeadlessDriver.h"
#include "platform/headless/HeadlessFileSystem.h"
#include "platform/headless/HeadlessSystem.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace app {
namespace {

using platform::ClientBox;
using platform::Element;

struct RepaintScene {
    platform::HeadlessFileSystem files{u"C:\\Launcher"};
    platform::HeadlessSystem system;
    launcher::Launcher app{system, files};
    platform::HeadlessDriver driver{system};

    RepaintScene() {
        system.SetScreen({1024 * 15.0, 768 * 15.0, 15, 15});
        files.AddFolder(u"C:\\Launcher\\data");
        EXPECT_TRUE(Main(app));
        // Every program installed, so that each tile has a description of its own.
        for (const catalogue::ProgramRecord& program : app.cat.progList) {
            if (program.path.size() > 2 && program.path[1] == u':') { // not the web address
                files.AddFile(program.path);
            }
        }
        driver.WatchRepaints(app.form);
    }
    // The element's box in the window, grown by two pixels each way for the press nudge and the focus ring.
    ClientBox Around(const Element& element) const {
        const ClientBox box = platform::BoxInWindow(app.form, element).value();
        return ClientBox{box.left - 2, box.top - 2, box.width + 4, box.height + 4};
    }
};

bool Inside(const ClientBox& inner, const ClientBox& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.left + inner.width <= outer.left + outer.width &&
           inner.top + inner.height <= outer.top + outer.height;
}

TEST(Repaint, EachActionRepaintsOnlyTheElementsWhoseLookItChanged) {
    RepaintScene s;
    launcher::Form1& f = s.app.form;
    s.driver.Move(f.progIcon[0], 5, 5); // the pointer starts on the first tile
    struct Case {
        std::string what;
        std::function<void()> action;
        std::vector<const Element*> within; // nothing: no repaint at all
    };
    const std::vector<Case> cases = {
        // Before the keyboard has a focus to keep in view, which a notch would move to a tile still shown.
        {"a wheel notch", [&] { s.driver.Wheel(f, -platform::kWheelNotch, 500, 300); }, {&f.progHolder}},
        {"a wheel notch back", [&] { s.driver.Wheel(f, platform::kWheelNotch, 500, 300); }, {&f.progHolder}},
        {"a move inside one tile", [&] { s.driver.Move(f.progIcon[0], 20, 12); }, {}},
        {"onto the next tile: its description", [&] { s.driver.Move(f.progIcon[1], 5, 5); }, {&f.progInfo}},
        {"onto its name", [&] { s.driver.Move(f.progName[1], 3, 3); }, {}},
        {"over the title bar", [&] { s.driver.Move(f.topBar, 300, 10); }, {}},
        {"a key moving the focus", [&] { s.driver.Key(f, platform::kKeyTab); }, {&f.progHolder, &f.progInfo}},
        {"pressing the minimise button", [&] { s.driver.Press(f.MinBut, 5, 5); }, {&f.MinBut}},
    };
    for (const Case& c : cases) {
        c.action();
        const platform::Repaint& repaint = s.driver.LastRepaint();
        EXPECT_FALSE(repaint.all) << c.what;
        EXPECT_EQ(repaint.areas.empty(), c.within.empty()) << c.what;
        for (const ClientBox& area : repaint.areas) {
            EXPECT_TRUE(std::any_of(c.within.begin(), c.within.end(),
                                    [&](const Element* e) { return Inside(area, s.Around(*e)); }))
                << c.what << ": " << area.left << "," << area.top << " " << area.width << "x" << area.height;
        }
    }
}

} // namespace
} // namespace app
