// A launcher on the headless platform: a 1024 x 768 screen at 15 twips per pixel, the launcher in
// C:\Launcher with its data folder, and a fresh application object.
#pragma once

#include "launcher/Launcher.h"
#include "platform/headless/HeadlessFileSystem.h"
#include "platform/headless/HeadlessSystem.h"

#include <memory>

namespace testing_support {

struct LauncherScene {
    platform::HeadlessSystem system;
    platform::HeadlessFileSystem files{u"C:\\Launcher"};
    std::unique_ptr<launcher::Launcher> app;

    explicit LauncherScene(platform::ScreenInfo screen = {1024 * 15.0, 768 * 15.0, 15, 15}) {
        system.SetScreen(screen);
        files.AddFolder(u"C:\\Launcher\\data");
        app = std::make_unique<launcher::Launcher>(system, files);
        app->cat.appDrive = u"C:";
        app->cat.screenWidthPx = static_cast<std::int16_t>(screen.widthTwips / screen.twipsPerPixelX);
    }

    launcher::Form1& form() { return app->form; }
    catalogue::Catalogue& cat() { return app->cat; }
};

} // namespace testing_support
