// A launcher on the headless platform: a 1024 x 768 screen at 15 twips per pixel, the launcher in
// C:\Launcher with its data folder, a fresh application object whose window has its event handlers (the
// exit button counts in `quits`), and a driver that acts as the user and runs the wait timer.
#pragma once

#include "launcher/Form1Events.h"
#include "launcher/Launcher.h"
#include "platform/headless/HeadlessDriver.h"
#include "platform/headless/HeadlessFileSystem.h"
#include "platform/headless/HeadlessSystem.h"

#include <memory>
#include <string>
#include <vector>

namespace testing_support {

struct LauncherScene {
    platform::HeadlessSystem system;
    platform::HeadlessFileSystem files{u"C:\\Launcher"};
    std::unique_ptr<launcher::Launcher> app;
    platform::HeadlessDriver driver{system};
    int quits = 0;

    explicit LauncherScene(platform::ScreenInfo screen = {1024 * 15.0, 768 * 15.0, 15, 15}) {
        system.SetScreen(screen);
        files.AddFolder(u"C:\\Launcher\\data");
        app = std::make_unique<launcher::Launcher>(system, files);
        app->cat.appDrive = u"C:";
        app->cat.screenWidthPx = static_cast<std::int16_t>(screen.widthTwips / screen.twipsPerPixelX);
        launcher::WireForm1(*app, [this] { ++quits; });
        driver.Watch(app->form.SameProgWaitTimer);
    }
    LauncherScene(const LauncherScene&) = delete;

    launcher::Form1& form() { return app->form; }
    catalogue::Catalogue& cat() { return app->cat; }

    // The window in the normal state, at a place and size in twips.
    void NormalWindow(double left, double top, double width, double height) {
        system.SetWindowState(platform::WindowState::Normal);
        system.SetNormalGeometry(left, top, width, height);
    }
    // The program ids in the tags of the shown tile names, slot by slot.
    std::vector<int> ShownIds() {
        std::vector<int> ids;
        for (int k = 0; k < form().progName.Count(); ++k) {
            if (form().progName[k].visible) {
                ids.push_back(std::stoi(platform::ToUtf8(form().progName[k].tag)));
            }
        }
        return ids;
    }
};

} // namespace testing_support
