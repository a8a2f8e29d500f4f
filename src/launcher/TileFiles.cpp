// The grid's files: the catalogue's paths asked of the workers and the installed check on what is kept.
#include "launcher/TileFiles.h"

#include "catalogue/Misc.h"
#include "catalogue/XMLsettingStuff.h"
#include "launcher/Tiles.h"
#include "platform/AnsweredFiles.h"

#include <algorithm>

namespace launcher {

namespace {

// Rehearsals of the load at most: each costs one of the share's slowest calls, and the load's questions
// depend on earlier answers a few levels deep (settings, executables, candidate files, candidates).
constexpr int kRehearsals = 10;

// The executables, players and picture files of every program of the catalogue.
void CataloguePaths(const Launcher& app, std::vector<Text>& lookups, std::vector<Text>& pictures) {
    const int count = std::min<int>(app.cat.progCount, catalogue::kSlotCount);
    for (int id = 0; id < count; ++id) {
        const catalogue::ProgramRecord& p = app.cat.progList[static_cast<std::size_t>(id)];
        if (!catalogue::IsWebAddress(p.path)) {
            lookups.push_back(p.path);
        }
        if (!p.videopath.empty()) {
            lookups.push_back(p.videopath);
        }
        if (!p.picpath.empty()) {
            pictures.push_back(p.picpath);
        }
    }
}

} // namespace

platform::FileLookup KeptLookup(const Launcher& app, TextView path) {
    return app.kept.Lookup(path).value_or(platform::FileLookup{});
}

bool KeptInstalled(const Launcher& app, TextView path) {
    if (catalogue::IsWebAddress(path)) {
        return true;
    }
    const platform::FileLookup lookup = KeptLookup(app, path);
    return lookup.Found() && !lookup.name.empty();
}

void AskTileFiles(Launcher& app) {
    std::vector<Text> lookups;
    std::vector<Text> pictures;
    CataloguePaths(app, lookups, pictures);
    app.kept.Ask(lookups, pictures);
}

bool FillTileFiles(Launcher& app) {
    std::vector<Text> lookups;
    std::vector<Text> pictures;
    CataloguePaths(app, lookups, pictures);
    // What start-up's own load found is kept already.
    std::erase_if(lookups, [&app](const Text& path) { return app.kept.Lookup(path).has_value(); });
    app.kept.Ask(lookups, pictures);
    return app.kept.Await(kSlowLookup);
}

void LoadSideBySide(Launcher& app) {
    platform::AnsweredFiles answered(app.files, app.workers, 2 * kSlowLookup);
    answered.Rehearse(true);
    for (int round = 0; round < kRehearsals; ++round) {
        catalogue::Catalogue rehearsal = app.cat;
        catalogue::LoadCatalogue(rehearsal, answered);
        if (!answered.FetchNoted()) {
            break;
        }
    }
    answered.Rehearse(false);
    catalogue::LoadCatalogue(app.cat, answered);
    // Fresh answers: what the load found is kept as it is.
    for (auto& [path, lookup] : answered.Lookups()) {
        app.kept.Keep(path, std::move(lookup));
    }
    (void)FillTileFiles(app);
}

void ConnectTileFiles(Launcher& app) {
    app.kept.onChange = [&app] {
        if (app.grid.filled) {
            LayoutTiles(app);
        }
    };
    app.form.onActivate = [&app] { AskTileFiles(app); };
}

} // namespace launcher
