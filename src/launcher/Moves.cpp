#include "launcher/Module1.h"

namespace launcher {

void topBar_MouseDown(Launcher& /*app*/, const PointerEvent& /*e*/) {
    // TODO: not written yet
    
}

void topBar_MouseMove(Launcher& /*app*/, const PointerEvent& /*e*/) {
    // TODO: not written yet
    
}

void topSmoother_MouseDown(Launcher& /*app*/, const PointerEvent& /*e*/) {
    // TODO: not written yet
    
}

void topSmoother_MouseMove(Launcher& /*app*/, const PointerEvent& /*e*/) {
    // TODO: not written yet
    
}

void topText_MouseDown(Launcher& /*app*/, const PointerEvent& /*e*/) {
    // TODO: not written yet
    
}

void topText_MouseMove(Launcher& /*app*/, const PointerEvent& /*e*/) {
    // TODO: not written yet
    
}

void rightBorder_MouseDown(Launcher& /*app*/, const PointerEvent& /*e*/) {
    // TODO: not written yet
    
}

void rightBorder_MouseMove(Launcher& /*app*/, const PointerEvent& /*e*/) {
    // TODO: not written yet
    
}

void rightBorder_MouseUp(Launcher& /*app*/, const PointerEvent& /*e*/) {
    // TODO: not written yet
    
}

void botBar_MouseDown(Launcher& /*app*/, const PointerEvent& /*e*/) {
    // TODO: not written yet
    
}

void botBar_MouseMove(Launcher& /*app*/, const PointerEvent& /*e*/) {
    // TODO: not written yet
    
}

void botBar_MouseUp(Launcher& /*app*/, const PointerEvent& /*e*/) {
    // TODO: not written yet
    
}

void leftBorder_MouseDown(Launcher& /*app*/, const PointerEvent& /*e*/) {
    // TODO: not written yet
    
}

void leftBorder_MouseMove(Launcher& /*app*/, const PointerEvent& /*e*/) {
    // TODO: not written yet
    
}

void leftBorder_MouseUp(Launcher& /*app*/, const PointerEvent& /*e*/) {
    // TODO: not written yet
    
}

void PressButton(Launcher& /*app*/, platform::Element& /*element*/) {
    // TODO: not written yet
    
}

void ReleaseButton(Launcher& /*app*/, platform::Element& /*element*/) {
    // TODO: not written yet
    
}

void PressButton2(Launcher& /*app*/, platform::Element& /*element*/) {
    // TODO: not written yet
    
}

void ReleaseButton2(Launcher& /*app*/, platform::Element& /*element*/) {
    // TODO: not written yet
    
}

void MaximiseWindow(Launcher& /*app*/) {
    // TODO: not written yet
    
}

void RestoreWindow(Launcher& /*app*/) {
    // TODO: not written yet
    
}

void MinBut_MouseDown(Launcher& /*app*/, const PointerEvent& /*e*/) {
    // TODO: not written yet
    
}

void MinBut_MouseUp(Launcher& /*app*/, const PointerEvent& /*e*/) {
    // TODO: not written yet
    
}

void restoreBut_MouseDown(Launcher& /*app*/, const PointerEvent& /*e*/) {
    // TODO: not written yet
    
}

void restoreBut_MouseUp(Launcher& /*app*/, const PointerEvent& /*e*/) {
    // TODO: not written yet
    
}

void ExitBut_MouseDown(Launcher& /*app*/, const PointerEvent& /*e*/) {
    // TODO: not written yet
    
}

void ExitBut_MouseUp(Launcher& /*app*/, const PointerEvent& /*e*/) {
    // TODO: not written yet
    
}

} // namespace launcher
