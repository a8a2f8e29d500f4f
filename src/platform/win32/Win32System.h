// Win32 system, the Windows backend of platform::System, in three files by job. Win32System.cpp: the
// single-instance rule (a named mutex), the version numbers (the version resource), the screen and its
// resolution, the main window's state and geometry (the HWND of its host, Win32Window; in twips of design
// pixels, mapped to device pixels at that window's display scale), text measuring,
// the current drive and folder, starting programs (CreateProcessW), the shell and the end of the process.
// Win32Icons.cpp: program icons (ExtractIconW, DrawIconEx). Win32Dialogs.cpp: modal windows, message boxes
// and the file-open dialog. Wide-character API only; <windows.h> stays in the .cpp files.
#pragma once

#include "platform/System.h"
#include "platform/win32/Win32Handles.h"
#include "platform/win32/Win32Shared.h"
#include "platform/win32/Win32Window.h"

#include <optional>
#include <string_view>
#include <vector>

namespace platform {

// The name of the single-instance mutex of a launcher in `folder`: in the session's own namespace
// ("Local\"), with a hash of the folder (letters compared without regard to case, as Windows compares
// paths), so that one launcher runs per folder and per session.
Text InstanceMutexName(TextView folder);

// The file-open dialog's filter list from "Description|pattern" pairs joined by "|": each description and
// pattern ended by a NUL character and the list by a second one. A description without its pattern at
// the end is dropped. Empty text when there is no pair.
Text FileDialogFilter(TextView filter);

// The command line for starting an executable with no arguments: its path in double quotes, so that
// blanks in the path cannot split it. Nothing when the path is empty or holds a quote or a NUL character,
// which no file name can contain.
std::optional<Text> QuotedCommandLine(TextView path);

// The ShowWindow command for a program's window style (1 normal with the focus, 2 minimised, 3 maximised,
// 4 normal without the focus, 6 minimised without the focus, 0 hidden); nothing for any other style.
std::optional<int> ShowCommandForStyle(int windowStyle);

// The version numbers in a version resource (VS_VERSIONINFO): the file version's first two fields as major
// and minor, its fourth as the revision. Nothing when the block is not a version resource.
std::optional<Version> ParseVersionResource(std::string_view block);

// The screen as the core sees it at every resolution: 15 twips per design pixel, and its size in twips of
// its size in design pixels (a 1920 x 1080 screen at 144 dpi is 1280 x 720 design pixels).
ScreenInfo ReadScreen(const DisplayScale& scale);

class Win32System final : public System {
public:
    // `appFolder`: the launcher's folder, which names the single-instance mutex. `dpi`: the resolution the
    // system works at until a main window is attached (the screen's unless given).
    explicit Win32System(Text appFolder, int dpi = ReadDpiY());
    Win32System(const Win32System&) = delete;
    Win32System& operator=(const Win32System&) = delete;

    // The host of the main window: its HWND is the truth for the window's state and geometry. Until one is
    // attached the window reads as maximised (its design state) with no size, and refuses new geometry.
    void AttachMainWindow(Win32Window* host) { main_ = host; }
    // The fonts and libraries that every window of the process shares with the system.
    Win32Shared& Shared() { return shared_; }
    // The scale of the main window, which the screen, the window's geometry, measured text and program icons
    // are given at; until one is attached, the system's own. A dialog has a scale of its own.
    const DisplayScale& Scale() const { return main_ != nullptr ? main_->Scale() : scale_; }

    // ---- System ----
    // The first call takes the mutex and keeps it for the life of the process; later calls give the same
    // answer.
    bool AnotherInstanceRunning() override;
    Version AppVersion() const override;
    ScreenInfo Screen() const override { return ReadScreen(Scale()); }
    WindowState GetWindowState() const override;
    void SetWindowState(WindowState state) override;
    double WindowLeft() const override { return Geometry(Edge::Left); }
    double WindowTop() const override { return Geometry(Edge::Top); }
    double WindowWidth() const override { return Geometry(Edge::Width); }
    double WindowHeight() const override { return Geometry(Edge::Height); }
    [[nodiscard]] bool SetWindowLeft(double twips) override { return SetGeometry(Edge::Left, twips); }
    [[nodiscard]] bool SetWindowTop(double twips) override { return SetGeometry(Edge::Top, twips); }
    [[nodiscard]] bool SetWindowWidth(double twips) override { return SetGeometry(Edge::Width, twips); }
    [[nodiscard]] bool SetWindowHeight(double twips) override { return SetGeometry(Edge::Height, twips); }
    double ScaleWidth() const override;
    double ScaleHeight() const override;
    // The first showing uses the window state set so far: maximised, the design state, unless changed.
    void ShowWindow() override;
    TextSize MeasureText(const Font& font, TextView text) const override {
        return shared_.fonts.Measure(font, text, Scale());
    }
    std::optional<Bitmap> FileIcon(TextView file, int index) override;
    [[nodiscard]] bool SetCurrentDrive(TextView drive) override;
    [[nodiscard]] bool SetCurrentFolder(TextView folder) override;
    [[nodiscard]] bool StartExecutable(TextView path, int windowStyle) override;
    [[nodiscard]] bool ShellOpen(TextView target, int showCommand) override;
    [[noreturn]] void EndProcess() override;
    void ShowModal(Dialog& dialog) override;
    int ShowMessageBox(TextView text, TextView title, int style) override;
    std::optional<Text> OpenFileDialog(const OpenFileRequest& request) override;

private:
    enum class Edge { Left, Top, Width, Height };
    HWND__* MainHandle() const;
    // The window that dialogs belong to: the innermost open modal dialog, else the main window.
    HWND__* DialogOwner() const;
    double Geometry(Edge edge) const;
    bool SetGeometry(Edge edge, double twips);

    Text appFolder_;
    KernelHandle mutex_; // the single-instance mutex, held until the process ends
    std::optional<bool> anotherInstance_;
    Win32Shared shared_;
    DisplayScale scale_;
    Win32Window* main_ = nullptr;
    std::vector<HWND__*> modals_; // the open modal dialogs, innermost last
    bool shown_ = false;
    WindowState stateBeforeShown_ = WindowState::Maximised;
};

} // namespace platform
