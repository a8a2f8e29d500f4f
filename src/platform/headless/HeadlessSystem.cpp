#include "platform/headless/HeadlessSystem.h"

#include <cmath>

namespace platform {

HeadlessSystem::HeadlessSystem() {
    screen_ = ScreenInfo{1024 * 15.0, 768 * 15.0, 15, 15};
    // The designed normal size, 1000 x 652 pixels at 15 twips per pixel, where new windows go.
    normal_ = Geometry{1800, 1800, 15000, 9780};
    current_ = Geometry{0, 0, screen_.widthTwips, screen_.heightTwips};
}

void HeadlessSystem::SetWindowState(WindowState state) {
    if (state == state_) {
        return;
    }
    if (state_ == WindowState::Normal) {
        normal_ = current_;
    }
    state_ = state;
    if (state == WindowState::Maximised) {
        current_ = Geometry{0, 0, screen_.widthTwips, screen_.heightTwips};
    } else if (state == WindowState::Normal) {
        current_ = normal_;
    }
}

bool HeadlessSystem::SetEdge(double Geometry::*edge, double twips) {
    // A window has no negative size.
    if (twips < 0 && (edge == &Geometry::width || edge == &Geometry::height)) {
        return false;
    }
    current_.*edge = twips;
    return true;
}

void HeadlessSystem::SetNormalGeometry(double left, double top, double width, double height) {
    normal_ = Geometry{left, top, width, height};
    if (state_ == WindowState::Normal) {
        current_ = normal_;
    }
}

TextSize HeadlessSystem::MeasureText(const Font& font, TextView text) const {
    const double em = font.size * 20.0 / screen_.twipsPerPixelY;
    const double perChar = em * (font.bold ? 0.55 : 0.5);
    return TextSize{std::ceil(perChar * static_cast<double>(text.size())), std::ceil(em * 1.15)};
}

void HeadlessSystem::SetIcon(TextView file, Bitmap icon) {
    icons_[LowerCase(file)] = std::move(icon);
}

std::optional<Bitmap> HeadlessSystem::FileIcon(TextView file, int index) {
    const auto it = icons_.find(LowerCase(TrimEndBlanks(file)));
    if (index != 0 || it == icons_.end()) {
        return std::nullopt;
    }
    return it->second;
}

void HeadlessSystem::SetCurrentDriveAndFolder(Text drive, Text folder) {
    currentDrive_ = std::move(drive);
    currentFolder_ = std::move(folder);
}

bool HeadlessSystem::SetCurrentDrive(TextView drive) {
    folderChanges_.push_back(u"drive:" + Text(drive));
    if (!IsDriveName(drive)) {
        return false;
    }
    currentDrive_ = Text(drive);
    return true;
}

bool HeadlessSystem::SetCurrentFolder(TextView folder) {
    folderChanges_.push_back(u"folder:" + Text(folder));
    if (folder.empty()) {
        return false;
    }
    currentFolder_ = Text(folder);
    return true;
}

bool HeadlessSystem::StartExecutable(TextView path, int windowStyle) {
    starts_.push_back(Start{Text(path), windowStyle, currentFolder_});
    return true;
}

bool HeadlessSystem::ShellOpen(TextView target, int showCommand) {
    opens_.push_back(Open{Text(target), showCommand});
    return true;
}

void HeadlessSystem::ShowModal(Dialog& dialog) {
    ++modalsShown_;
    ++modalDepth_;
    dialog.Open();
    if (!modalActions_.empty()) {
        auto action = std::move(modalActions_.front());
        modalActions_.pop_front();
        action(dialog);
    }
    if (!dialog.closed()) {
        ++modalsLeftOpen_;
        dialog.Close();
    }
    --modalDepth_;
}

int HeadlessSystem::ShowMessageBox(TextView text, TextView title, int style) {
    messageBoxes_.push_back(MessageBoxCall{Text(text), Text(title), style});
    if (messageBoxAnswers_.empty()) {
        return kAnswerNo;
    }
    const int answer = messageBoxAnswers_.front();
    messageBoxAnswers_.pop_front();
    return answer;
}

std::optional<Text> HeadlessSystem::OpenFileDialog(const OpenFileRequest& request) {
    openFileRequests_.push_back(request);
    if (openFileChoices_.empty()) {
        return std::nullopt;
    }
    auto choice = std::move(openFileChoices_.front());
    openFileChoices_.pop_front();
    return choice;
}

} // namespace platform
