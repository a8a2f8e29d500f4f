#include "launcher/Module1.h"

namespace launcher {

void LayoutFrame(Launcher& /*app*/, Bool16 /*maximised*/) {
    // TODO: not written yet
    
}

void FitTitleText(Launcher& /*app*/) {
    // TODO: not written yet
    
}

} // namespace launcher
