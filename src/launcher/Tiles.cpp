// The tile grid and the tile pictures.
//
// LayoutTiles rebuilds the whole grid from the catalogue, the scroll value and the size of progHolder on
// every call: it walks the display order from the first position of the scrolled-to row, gives each listed
// program the next tile slot (picture, name and video button sharing one index), hides the slots it did
// not use and decides whether the scroll bar shows. Slots are created on demand and never destroyed here,
// so a fill during a thumb drag only moves, captions and shows elements that already exist.
//
// All positions are pixels inside progHolder. The cell step (cellWidth x cellHeight, 180 x 120) and the
// gaps (2 and 8) are pixels at any resolution; element sizes come from the elements themselves.
#include "launcher/Tiles.h"

#include "catalogue/Misc.h"
#include "launcher/TileFiles.h"
#include "launcher/TileRecord.h"

#include <algorithm>
#include <memory>

namespace launcher {

namespace {

using catalogue::Floor16;
using catalogue::kSlotCount;
using catalogue::Nearest;
using platform::LookupStatus;
using platform::TextView;

// A tile name in its normal colour; a greyed name is kGreyedName.
constexpr platform::Rgb kTileName{0, 0, 0};

// Gaps in pixels: the video button sits this far right of the picture, the name this far below it.
constexpr double kVideoGap = 2;
constexpr double kNameGap = 8;

// The icon path copies this square (pixels at any resolution) from dumIcon to dumberIcon.
constexpr int kIconSize = 32;

// The centre of a row's first cell: half a cell in from the holder's left edge.
Int16 FirstCellX(Int16 cellWidth) {
    return Nearest(cellWidth / 2.0).value_or(0);
}

// Whether a cell centred at cellX would not fit the row, so that it starts the next one: its centre lies
// beyond the holder's full width (scroll bar included) less half a cell.
bool StartsNewRow(const Launcher& app, double cellX) {
    return app.form.progHolder.width - app.cat.cellWidth / 2.0 < cellX;
}

bool ValidId(int id) {
    return id >= 0 && id < kSlotCount;
}

// The 16-bit sum, or nothing when it does not fit (the step is then skipped and the value kept).
std::optional<Int16> Sum16(Int16 a, Int16 b) {
    return Floor16(static_cast<double>(a) + b);
}

// Whether a listed program is installed, as the walk tests it; nothing when the lookup itself failed
// (a drive that is not ready), which must be told apart from a program that is simply missing.
std::optional<bool> InstalledForWalk(const Launcher& app, TextView path) {
    if (catalogue::IsWebAddress(path)) {
        return true;
    }
    const platform::FileLookup lookup = KeptLookup(app, path);
    if (lookup.status == LookupStatus::Failed) {
        return std::nullopt;
    }
    return lookup.Found() && !lookup.name.empty();
}

// The video button's visibility for a videopath; nothing when the lookup failed and the button is to keep
// the visibility it had. An empty videopath is never looked up: it names no player.
std::optional<bool> VideoButtonShown(const Launcher& app, TextView videopath) {
    if (videopath.empty()) {
        return false;
    }
    const platform::FileLookup lookup = KeptLookup(app, videopath);
    if (lookup.status == LookupStatus::Failed) {
        return std::nullopt;
    }
    return lookup.Found() && !lookup.name.empty();
}

// Makes sure slot k exists in all three arrays: name first, then picture, then video button, each a
// hidden copy of its element 0. Each array is grown on its own so that they can never fall out of step.
void EnsureSlot(Form1& form, int k) {
    while (form.progName.Count() <= k) {
        form.progName.Append();
    }
    while (form.progIcon.Count() <= k) {
        form.progIcon.Append();
    }
    while (form.prVidBut.Count() <= k) {
        form.prVidBut.Append();
    }
}

// Places and fills slot k for program id in the cell whose centre is (cellX, cellY).
void FillSlot(Launcher& app, Int16 k, Int16 id) {
    Form1& form = app.form;
    const catalogue::ProgramRecord& p = app.cat.progList[static_cast<std::size_t>(id)];
    const double cellX = app.values.cellX;
    const double cellY = app.values.cellY;

    platform::Label& name = form.progName[k];
    name.SetCaption(p.name);
    name.foreColor = kTileName; // undoes the greying of an earlier fill
    name.tag = platform::DecimalText(id);

    // The picture is centred on the cell centre.
    platform::Image& icon = form.progIcon[k];
    icon.visible = true;
    icon.left = cellX - icon.width / 2;
    icon.top = cellY - icon.height / 2;

    // The video button's middle is level with the picture's middle, kVideoGap pixels to its right.
    platform::Image& video = form.prVidBut[k];
    video.left = icon.left + icon.width + kVideoGap;
    video.top = icon.top + icon.height / 2 - video.height * 0.5;
    if (const std::optional<bool> shown = VideoButtonShown(app, p.videopath)) {
        video.visible = *shown;
    }
    if (platform::Container* holder = video.container()) {
        holder->ZOrderFront(video);
    }

    DrawTilePicture(app, k, id);

    // The name is centred under the picture at the width its new caption gave it, rounded down to a
    // whole pixel.
    name.visible = true;
    if (const std::optional<Int16> left = Floor16(cellX - name.width / 2)) {
        name.left = *left;
    }
    name.top = icon.top + icon.height + kNameGap;

    (void)MarkNotInstalled(app, k, id);
}

} // namespace

bool ListedAt(const Launcher& app, int pos) {
    const catalogue::Catalogue& cat = app.cat;
    if (pos < 0 || pos >= std::min<int>(cat.progCount, kSlotCount)) {
        return false; // past the end of the display order
    }
    const Int16 id = cat.order[static_cast<std::size_t>(pos)];
    if (!ValidId(id)) {
        return false;
    }
    const catalogue::ProgramRecord& p = cat.progList[static_cast<std::size_t>(id)];
    if (p.show == catalogue::kFalse) {
        return false;
    }
    const std::optional<bool> installed = InstalledForWalk(app, p.path);
    if (!installed || (!*installed && cat.showall == catalogue::kFalse)) {
        return false; // not listed, or the installed test could not be made at all
    }
    return true;
}

bool HasVideoButton(const Launcher& app, Int16 id) {
    if (!ValidId(id)) {
        return false;
    }
    const catalogue::ProgramRecord& p = app.cat.progList[static_cast<std::size_t>(id)];
    // As a fill shows it: a player that exists, on a tile that is not greyed.
    return VideoButtonShown(app, p.videopath).value_or(false) && KeptInstalled(app, p.path);
}

int TilesPerRow(const Launcher& app) {
    // Cells as the fill steps them; the first tile of a row is always placed.
    const Int16 cellWidth = app.cat.cellWidth;
    double cellX = FirstCellX(cellWidth);
    int tiles = 1;
    for (; tiles < kSlotCount; ++tiles) {
        cellX += cellWidth;
        if (StartsNewRow(app, cellX)) {
            break;
        }
    }
    return tiles;
}

void LayoutTiles(Launcher& app) {
    Form1& form = app.form;
    const catalogue::Catalogue& cat = app.cat;
    ModuleValues& v = app.values;

    v.cellX = FirstCellX(cat.cellWidth);
    v.cellY = Nearest(cat.cellHeight / 2.0).value_or(0);
    Int16 k = 0;

    // The bound is read once. The display order has kSlotCount positions, so a larger count is never
    // walked past them.
    const int count = std::min<int>(cat.progCount, kSlotCount);
    // The scroll value counts whole rows; the offset counts display positions, listed or not. A scroll
    // bar whose range is reversed (everything fits on one page) can hold a negative value: the grid then
    // starts at the first position, as at the top, rather than reading before the display order.
    const int offset = std::max(0, static_cast<int>(form.VScroll.value()) * v.gridColumns);

    // The record of this fill: every listed position, and the position each filled slot shows.
    GridRecord record;
    record.tilesPerRow = TilesPerRow(app);
    record.filled = true;
    for (int pos = 0; pos < count; ++pos) {
        if (ListedAt(app, pos)) {
            record.listed.push_back(pos);
            record.listedVideo.push_back(HasVideoButton(app, cat.order[static_cast<std::size_t>(pos)]));
        }
    }

    for (int i = 0; i < count; ++i) {
        const int pos = i + offset;
        if (!std::binary_search(record.listed.begin(), record.listed.end(), pos)) {
            continue; // not listed, or past the end of the display order
        }
        const Int16 id = cat.order[static_cast<std::size_t>(pos)];

        EnsureSlot(form, k);
        FillSlot(app, k, id);
        record.positionBySlot.push_back(pos);
        record.inView.push_back(form.progIcon[k].top < form.progHolder.height);
        ++k;

        // Next cell; when it would not fit the row (tested against the holder's full width, scroll bar
        // included), the first cell of the next row. The first tile of a row is always placed.
        if (const std::optional<Int16> next = Sum16(v.cellX, cat.cellWidth)) {
            v.cellX = *next;
        }
        if (StartsNewRow(app, v.cellX)) {
            v.cellX = FirstCellX(cat.cellWidth);
            if (const std::optional<Int16> next = Sum16(v.cellY, cat.cellHeight)) {
                v.cellY = *next;
            }
        }
    }

    // Slots this fill did not use are hidden and keep their place, caption, tag, picture and colour.
    for (int j = k; j < form.progName.Count() || j < form.progIcon.Count() || j < form.prVidBut.Count(); ++j) {
        if (j < form.progIcon.Count()) {
            form.progIcon[j].visible = false;
        }
        if (j < form.progName.Count()) {
            form.progName[j].visible = false;
        }
        if (j < form.prVidBut.Count()) {
            form.prVidBut[j].visible = false;
        }
    }

    // The scroll bar shows while the highest slot that exists, shown or not, reaches below the holder.
    const platform::Label& last = form.progName[form.progName.Count() - 1];
    form.VScroll.visible = last.top + last.height > form.progHolder.height;

    // The keyboard focus stays with its display position: the ring goes to whichever slot shows it now.
    app.grid = std::move(record);
    ShowFocus(app);
}

void VScroll_Change(Launcher& app) {
    LayoutTiles(app);
    app.form.focused = &app.form.progHolder;
}

void VScroll_Scroll(Launcher& app) {
    VScroll_Change(app);
}

void DrawTilePicture(Launcher& app, Int16 k, Int16 id) {
    Form1& form = app.form;
    if (k < 0 || k >= form.progIcon.Count() || !ValidId(id)) {
        return;
    }
    const catalogue::ProgramRecord& p = app.cat.progList[static_cast<std::size_t>(id)];
    platform::Image& icon = form.progIcon[k];

    if (!p.picpath.empty()) {
        // The picture decoded once for the file, the same object at every fill.
        if (platform::Picture picture = app.kept.PictureOf(p.picpath).value_or(nullptr)) {
            icon.picture = std::move(picture);
            return;
        }
        // A picture file that is missing or cannot be decoded: the program's own icon, as for a program
        // without one. Keeping the slot's old picture would show, after a scroll, another program's.
    }
    // The icon drawn once for the executable, while its look-up stays the same.
    if (platform::Picture kept = app.kept.IconOf(p.path)) {
        icon.picture = std::move(kept);
        return;
    }

    // The icon path: the executable's first icon on dumIcon's white ground, copied 32 x 32 pixels to
    // dumberIcon, whose persistent image becomes the tile's picture (shown stretched by progIcon).
    form.dumStuff.visible = true;
    form.dumStuff.left = form.progHolder.left;
    form.dumStuff.top = form.progHolder.top;
    form.dumIcon.Cls();
    const std::optional<platform::Bitmap> fileIcon = app.system.FileIcon(p.path, 0);
    if (fileIcon) {
        platform::DrawOver(form.dumIcon.surface(), *fileIcon, 0, 0); // no icon: the square stays white
    }
    platform::CopyBlock(form.dumberIcon.surface(), 0, 0, form.dumIcon.surface(), 0, 0, kIconSize, kIconSize);
    icon.picture = nullptr;
    icon.picture = form.dumberIcon.image();
    form.dumStuff.visible = false;
    if (fileIcon && fileIcon->detail) {
        // The system's rendering of the icon at the screen's resolution, on the same white ground, for the
        // backend to draw from rather than enlarge the 32 x 32 pixels.
        platform::Bitmap detail(fileIcon->detail->width, fileIcon->detail->height, platform::kWhite);
        platform::DrawOver(detail, *fileIcon->detail, 0, 0);
        auto picture = std::make_shared<platform::Bitmap>(*icon.picture);
        picture->detail = std::make_shared<const platform::Bitmap>(std::move(detail));
        icon.picture = std::move(picture);
    }
    app.kept.KeepIcon(p.path, icon.picture);
}

bool MarkNotInstalled(Launcher& app, Int16 k, Int16 id) {
    Form1& form = app.form;
    if (k < 0 || k >= form.progName.Count() || k >= form.progIcon.Count() || k >= form.prVidBut.Count() ||
        !ValidId(id)) {
        return false;
    }
    // A failed lookup counts as missing too, so such a tile is greyed like a missing program.
    if (KeptInstalled(app, app.cat.progList[static_cast<std::size_t>(id)].path)) {
        return false;
    }
    form.prVidBut[k].visible = false;
    form.progName[k].foreColor = kGreyedName;
    form.progIcon[k].picture = form.dumFader.image();
    return true;
}

} // namespace launcher
