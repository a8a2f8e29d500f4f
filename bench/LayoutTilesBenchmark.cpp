// How long one fill of the tile grid takes: the grid is rebuilt at every step of a scroll-bar thumb drag, so
// a fill has to stay well inside one frame.
//
// The scene: the full catalogue of 51 programs, all shown, show-all on, every executable present with a
// 32 x 32 icon and every help-video player present. Even ids have a 64 x 64 picture file in the data folder
// (loaded from the file at every fill), odd ids have none and take the icon path. The tile area is the size
// of a maximised window on a 1024 x 768 screen, 1024 x 768 pixels, so 5 tiles a row and 11 rows.
#include "launcher/Tiles.h"
#include "platform/headless/HeadlessFileSystem.h"
#include "platform/headless/HeadlessSystem.h"

#include <benchmark/benchmark.h>

#include <cmath>

namespace {

using launcher::Int16;
using platform::DecimalText;
using platform::Text;

constexpr int kPrograms = 51;

struct Scene {
    platform::HeadlessSystem system;
    platform::HeadlessFileSystem files{u"C:\\Launcher"};
    launcher::Launcher app{system, files};

    Scene() {
        app.form.progHolder.width = 1024;
        app.form.progHolder.height = 768;
        app.values.gridColumns = static_cast<Int16>(std::floor(1024.0 / app.cat.cellWidth));
        app.cat.progCount = kPrograms;
        app.cat.showall = catalogue::kTrue;

        platform::Bitmap icon(32, 32, platform::Rgb{0, 0, 160});
        platform::Bitmap picture(64, 64, platform::Rgb{40, 120, 40});
        const std::string pictureBytes = platform::EncodeBmp(picture);
        for (int id = 0; id < kPrograms; ++id) {
            const Text folder = u"C:\\Program Files\\Suite\\Program " + DecimalText(id);
            catalogue::ProgramRecord& p = app.cat.progList[static_cast<std::size_t>(id)];
            p.name = u"Program number " + DecimalText(id);
            p.path = folder + u"\\program.exe";
            p.videopath = folder + u"\\Videos\\player.exe";
            p.show = catalogue::kTrue;
            app.cat.order[static_cast<std::size_t>(id)] = static_cast<Int16>(id);
            files.AddFile(p.path);
            files.AddFile(p.videopath);
            system.SetIcon(p.path, icon);
            if (id % 2 == 0) {
                p.picpath = u"C:\\Launcher\\data\\program" + DecimalText(id) + u".bmp";
                files.AddFile(p.picpath, pictureBytes);
            }
        }
    }
};

// A steady fill: the slots already exist, as they do from the second fill on.
void BM_LayoutTiles(benchmark::State& state) {
    Scene scene;
    launcher::LayoutTiles(scene.app);
    for (auto _ : state) {
        launcher::LayoutTiles(scene.app);
        // The headless file system records every lookup and read; keep the record from growing.
        scene.files.ClearRecords();
        benchmark::DoNotOptimize(scene.app.form.progName[0].tag.data());
    }
    state.SetItemsProcessed(state.iterations() * kPrograms);
}
BENCHMARK(BM_LayoutTiles)->Unit(benchmark::kMicrosecond);

// A thumb drag up and down the whole range, one fill per step, through the scroll event.
void BM_ThumbDrag(benchmark::State& state) {
    Scene scene;
    launcher::Launcher& app = scene.app;
    app.form.VScroll.SetMax(10);
    app.form.VScroll.onScroll = [&app] { launcher::VScroll_Scroll(app); };
    launcher::LayoutTiles(app);
    int step = 0;
    for (auto _ : state) {
        const int phase = step++ % 20;
        app.form.VScroll.Scroll(static_cast<Int16>(phase < 10 ? phase : 20 - phase));
        scene.files.ClearRecords();
    }
}
BENCHMARK(BM_ThumbDrag)->Unit(benchmark::kMicrosecond);

} // namespace
