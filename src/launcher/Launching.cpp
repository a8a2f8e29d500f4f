#include "launcher/Module1.h"

namespace launcher {

Int16 TileProgramId(const Launcher& /*app*/, Int16 /*k*/) {
    // TODO: not written yet
    return 0;
}

void ShowProgramInfo(Launcher& /*app*/, Int16 /*k*/) {
    // TODO: not written yet
    
}

void LaunchProgram(Launcher& /*app*/, Int16 /*k*/) {
    // TODO: not written yet
    
}

void LaunchVideos(Launcher& /*app*/, Int16 /*k*/) {
    // TODO: not written yet
    
}

void ChangeToProgramFolder(Launcher& /*app*/, TextView /*path*/) {
    // TODO: not written yet
    
}

void progIcon_MouseMove(Launcher& /*app*/, const PointerEvent& /*e*/) {
    // TODO: not written yet
    
}

void progIcon_MouseDown(Launcher& /*app*/, const PointerEvent& /*e*/) {
    // TODO: not written yet
    
}

void progIcon_MouseUp(Launcher& /*app*/, const PointerEvent& /*e*/) {
    // TODO: not written yet
    
}

void progName_MouseMove(Launcher& /*app*/, const PointerEvent& /*e*/) {
    // TODO: not written yet
    
}

void progName_MouseDown(Launcher& /*app*/, const PointerEvent& /*e*/) {
    // TODO: not written yet
    
}

void progName_MouseUp(Launcher& /*app*/, const PointerEvent& /*e*/) {
    // TODO: not written yet
    
}

void prVidBut_MouseMove(Launcher& /*app*/, const PointerEvent& /*e*/) {
    // TODO: not written yet
    
}

void prVidBut_MouseDown(Launcher& /*app*/, const PointerEvent& /*e*/) {
    // TODO: not written yet
    
}

void prVidBut_MouseUp(Launcher& /*app*/, const PointerEvent& /*e*/) {
    // TODO: not written yet
    
}

void SameProgWaitTimer_Timer(Launcher& /*app*/) {
    // TODO: not written yet
    
}

void WireForm1(Launcher& /*app*/) {
    // TODO: not written yet
    
}

} // namespace launcher
