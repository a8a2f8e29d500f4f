#include "launcher/Module1.h"

namespace launcher {

void LayoutTiles(Launcher& /*app*/) {
    // TODO: not written yet
    
}

void VScroll_Change(Launcher& /*app*/) {
    // TODO: not written yet
    
}

void VScroll_Scroll(Launcher& /*app*/) {
    // TODO: not written yet
    
}

void DrawTilePicture(Launcher& /*app*/, Int16 /*k*/, Int16 /*id*/) {
    // TODO: not written yet
    
}

bool DrawFileIcon(Launcher& /*app*/, TextView /*file*/, int /*index*/, platform::Bitmap& /*surface*/, int /*x*/, int /*y*/) {
    // TODO: not written yet
    return false;
}

bool MarkNotInstalled(Launcher& /*app*/, Int16 /*k*/, Int16 /*id*/) {
    // TODO: not written yet
    return false;
}

platform::Picture LoadPicture(Launcher& /*app*/, TextView /*path*/) {
    // TODO: not written yet
    return nullptr;
}

} // namespace launcher
