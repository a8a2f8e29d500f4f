// Headless system, the test double of platform::System.
// Implements: a fixed screen (1024 x 768 pixels at 15 twips per pixel unless told otherwise), the main
// window's state and geometry with the platform's maximise and restore, deterministic text metrics,
// program icons given by the test, recorded folder changes, program starts and shell opens, a scripted
// answer to "is another instance running", the version numbers, and a recorded end of the process.
#pragma once

#include "platform/System.h"

#include <deque>
#include <functional>
#include <map>
#include <vector>

namespace platform {

class HeadlessSystem : public System {
public:
    HeadlessSystem();

    // ---- System ----
    bool AnotherInstanceRunning() override { return anotherInstance_; }
    Version AppVersion() const override { return version_; }
    ScreenInfo Screen() const override { return screen_; }
    WindowState GetWindowState() const override { return state_; }
    void SetWindowState(WindowState state) override;
    double WindowLeft() const override { return current_.left; }
    double WindowTop() const override { return current_.top; }
    double WindowWidth() const override { return current_.width; }
    double WindowHeight() const override { return current_.height; }
    [[nodiscard]] bool SetWindowLeft(double twips) override { return SetEdge(&Geometry::left, twips); }
    [[nodiscard]] bool SetWindowTop(double twips) override { return SetEdge(&Geometry::top, twips); }
    [[nodiscard]] bool SetWindowWidth(double twips) override { return SetEdge(&Geometry::width, twips); }
    [[nodiscard]] bool SetWindowHeight(double twips) override { return SetEdge(&Geometry::height, twips); }
    double ScaleWidth() const override { return current_.width / screen_.twipsPerPixelX; }
    double ScaleHeight() const override { return current_.height / screen_.twipsPerPixelY; }
    void ShowWindow() override { windowShown_ = true; }
    // Text metrics: every character is 0.5 em wide (0.55 em in bold) and a line is 1.15 em high, where an em
    // is the font size in pixels (points x 20 / twips per pixel); sizes are rounded up to whole pixels.
    TextSize MeasureText(const Font& font, TextView text) const override;
    std::optional<Bitmap> FileIcon(TextView file, int index) override;
    [[nodiscard]] bool SetCurrentDrive(TextView drive) override;
    [[nodiscard]] bool SetCurrentFolder(TextView folder) override;
    [[nodiscard]] bool StartExecutable(TextView path, int windowStyle) override;
    [[nodiscard]] bool ShellOpen(TextView target, int showCommand) override;
    void EndProcess() override { ended_ = true; }
    // Runs the next scripted action inside the dialog; a dialog the script leaves open is closed and counted.
    void ShowModal(Dialog& dialog) override;
    int ShowMessageBox(TextView text, TextView title, int style) override;
    std::optional<Text> OpenFileDialog(const OpenFileRequest& request) override;

    // ---- setting the scene ----
    void SetScreen(ScreenInfo screen) { screen_ = screen; }
    void SetAnotherInstanceRunning(bool running) { anotherInstance_ = running; }
    void SetVersion(Version version) { version_ = version; }
    // The normal-state geometry, in twips, that the next restore gives back.
    void SetNormalGeometry(double left, double top, double width, double height);
    // Gives an executable (by path, compared without regard to case) a first icon.
    void SetIcon(TextView file, Bitmap icon);
    void SetCurrentDriveAndFolder(Text drive, Text folder);

    // What the user does in the next modal dialog, the answer to the next message box (No when none is
    // queued) and the choice in the next file-open dialog (cancel when none is queued).
    void QueueModalAction(std::function<void(Dialog&)> action) { modalActions_.push_back(std::move(action)); }
    void QueueMessageBoxAnswer(int answer) { messageBoxAnswers_.push_back(answer); }
    void QueueOpenFileChoice(std::optional<Text> path) { openFileChoices_.push_back(std::move(path)); }

    // ---- looking at the result ----
    struct MessageBoxCall {
        Text text, title;
        int style = 0;
    };
    const std::vector<MessageBoxCall>& MessageBoxes() const { return messageBoxes_; }
    const std::vector<OpenFileRequest>& OpenFileRequests() const { return openFileRequests_; }
    int ModalsShown() const { return modalsShown_; }
    int ModalsLeftOpen() const { return modalsLeftOpen_; }
    // True while a modal dialog is open: the main window takes no input then.
    bool InModal() const { return modalDepth_ > 0; }
    struct Start {
        Text path;
        int windowStyle = 0;
        Text workingFolder; // the current folder at the time of the start
        bool operator==(const Start&) const = default;
    };
    struct Open {
        Text target;
        int showCommand = 0;
        bool operator==(const Open&) const = default;
    };
    const std::vector<Start>& Starts() const { return starts_; }
    const std::vector<Open>& Opens() const { return opens_; }
    // Every drive and folder change asked for, as "drive:X" or "folder:X", in order.
    const std::vector<Text>& FolderChanges() const { return folderChanges_; }
    const Text& CurrentDrive() const { return currentDrive_; }
    const Text& CurrentFolder() const { return currentFolder_; }
    bool WindowShown() const { return windowShown_; }
    bool Ended() const { return ended_; }

private:
    struct Geometry {
        double left = 0, top = 0, width = 0, height = 0;
    };
    // Sets one edge of the window's place or size, refusing a negative size.
    bool SetEdge(double Geometry::*edge, double twips);
    ScreenInfo screen_;
    Version version_{1, 0, 0};
    bool anotherInstance_ = false;
    WindowState state_ = WindowState::Maximised;
    Geometry current_;
    Geometry normal_;
    bool windowShown_ = false;
    bool ended_ = false;
    std::map<Text, Bitmap> icons_;
    Text currentDrive_ = u"C:";
    Text currentFolder_ = u"C:\\";
    std::vector<Start> starts_;
    std::vector<Open> opens_;
    std::vector<Text> folderChanges_;
    std::deque<std::function<void(Dialog&)>> modalActions_;
    std::deque<int> messageBoxAnswers_;
    std::deque<std::optional<Text>> openFileChoices_;
    std::vector<MessageBoxCall> messageBoxes_;
    std::vector<OpenFileRequest> openFileRequests_;
    int modalsShown_ = 0;
    int modalsLeftOpen_ = 0;
    int modalDepth_ = 0;
};

} // namespace platform
