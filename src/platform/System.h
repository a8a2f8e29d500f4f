// What the launcher window needs of the operating system besides files: the application and the screen,
// the main window's state and geometry, text measuring, program icons, starting programs, the shell, and
// ending the process. The window elements themselves are in Elements.h.
#pragma once

#include "platform/Elements.h"
#include "platform/Picture.h"
#include "platform/Text.h"

#include <optional>

namespace platform {

struct Version {
    int major = 0, minor = 0, revision = 0;
};

struct ScreenInfo {
    double widthTwips = 0, heightTwips = 0;
    double twipsPerPixelX = 15, twipsPerPixelY = 15;
};

enum class WindowState { Normal = 0, Minimised = 1, Maximised = 2 };

// Window styles for starting a program, and shell show commands.
inline constexpr int kNormalFocus = 1; // a normal window that takes the focus
inline constexpr int kShowMaximised = 3;

// Message box styles and answers.
inline constexpr int kYesNoExclamation = 52; // Yes and No buttons, the exclamation icon, Yes the default
inline constexpr int kAnswerYes = 6;
inline constexpr int kAnswerNo = 7;

struct OpenFileRequest {
    Text title;
    Text filter;    // "Description|pattern" pairs joined by "|", such as "Programs|*.exe"
    long flags = 0; // 4 hide the read-only box, 4096 the file must exist, 2097152 long names
};

// Whether the text names a drive as SetCurrentDrive takes it: a letter and a colon.
inline bool IsDriveName(TextView drive) {
    return drive.size() == 2 && drive[1] == u':' &&
           ((drive[0] >= u'A' && drive[0] <= u'Z') || (drive[0] >= u'a' && drive[0] <= u'z'));
}

class System : public TextMeasurer {
public:
    // ---- application and screen ----
    virtual bool AnotherInstanceRunning() = 0;
    virtual Version AppVersion() const = 0;
    virtual ScreenInfo Screen() const = 0;

    // ---- the main window: position and size in twips, client size in pixels ----
    virtual WindowState GetWindowState() const = 0;
    virtual void SetWindowState(WindowState state) = 0;
    virtual double WindowLeft() const = 0;
    virtual double WindowTop() const = 0;
    virtual double WindowWidth() const = 0;
    virtual double WindowHeight() const = 0;
    // False when the value was refused; the window keeps the old one.
    [[nodiscard]] virtual bool SetWindowLeft(double twips) = 0;
    [[nodiscard]] virtual bool SetWindowTop(double twips) = 0;
    [[nodiscard]] virtual bool SetWindowWidth(double twips) = 0;
    [[nodiscard]] virtual bool SetWindowHeight(double twips) = 0;
    // The client area; without a platform frame it is the whole window.
    virtual double ScaleWidth() const = 0;
    virtual double ScaleHeight() const = 0;
    virtual void ShowWindow() = 0;

    // ---- pictures ----
    // The icon-th icon of an executable or icon file at 32 x 32 pixels with its alpha, or nothing.
    virtual std::optional<Bitmap> FileIcon(TextView file, int index) = 0;

    // ---- processes and the shell ----
    // The current drive ("X:", which goes to that drive's own current folder) and the current folder.
    [[nodiscard]] virtual bool SetCurrentDrive(TextView drive) = 0;
    [[nodiscard]] virtual bool SetCurrentFolder(TextView folder) = 0;
    // Starts an executable by its full path, no arguments, in the current folder: the program inherits it,
    // and the backend chooses no folder of its own. To start a program in its own folder, the caller
    // changes the current drive and folder first.
    [[nodiscard]] virtual bool StartExecutable(TextView path, int windowStyle) = 0;
    // Asks the shell to "open" a web address or document.
    [[nodiscard]] virtual bool ShellOpen(TextView target, int showCommand) = 0;
    // Ends the process at once, closing every window without any close handling. The headless system
    // records the call and returns.
    virtual void EndProcess() = 0;

    // ---- dialogs ----
    // Shows the dialog modally (centred on the screen, fixed size, no taskbar entry) and returns when
    // dialog.Close() has been called; the main window takes no input meanwhile.
    virtual void ShowModal(Dialog& dialog) = 0;
    // A message box with the given style (buttons and icon, as the system numbers them); the button pressed
    // (6 for Yes, 7 for No).
    virtual int ShowMessageBox(TextView text, TextView title, int style) = 0;
    // The file-open dialog: the chosen file's full path, or nothing when the user cancelled or the dialog
    // failed.
    virtual std::optional<Text> OpenFileDialog(const OpenFileRequest& request) = 0;
};

} // namespace platform
