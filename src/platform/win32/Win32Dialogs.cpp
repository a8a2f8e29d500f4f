// The dialogs of the Win32 system: modal windows of elements (the options dialog), message boxes and the
// file-open dialog (GetOpenFileNameW, through the common dialogs library loaded at its first use).
#include "platform/win32/Win32System.h"

#include <windows.h>

#include <commdlg.h>

#include <vector>

namespace platform {

Text FileDialogFilter(TextView filter) {
    std::vector<TextView> pieces;
    std::size_t start = 0;
    for (;;) {
        const std::size_t bar = filter.find(u'|', start);
        pieces.push_back(filter.substr(start, bar == TextView::npos ? TextView::npos : bar - start));
        if (bar == TextView::npos) {
            break;
        }
        start = bar + 1;
    }
    Text list;
    for (std::size_t i = 0; i + 1 < pieces.size(); i += 2) {
        list += pieces[i];
        list += u'\0';
        list += pieces[i + 1];
        list += u'\0';
    }
    if (!list.empty()) {
        list += u'\0';
    }
    return list;
}

void Win32System::ShowModal(Dialog& dialog) {
    HWND owner = DialogOwner();
    dialog.Open();
    const ScreenInfo screen = Screen();
    Win32Window host(dialog, Win32Window::Role::Dialog, owner, dialog.clientWidth, dialog.clientHeight,
                     screen.twipsPerPixelX, screen.twipsPerPixelY, shared_);
    if (!host.Create()) {
        dialog.Close(); // a dialog that cannot be shown is closed as if cancelled
        return;
    }
    // Modal: the owner takes no input while the dialog is open.
    if (owner != nullptr) {
        EnableWindow(owner, FALSE);
    }
    modals_.push_back(host.Handle());
    host.Show(SW_SHOW);
    if (!RunModalLoop([&dialog] { return dialog.closed(); })) {
        dialog.Close(); // the process is ending
    }
    modals_.pop_back();
    // The owner is enabled again before the dialog goes, so that it becomes the active window.
    if (owner != nullptr) {
        EnableWindow(owner, TRUE);
        SetActiveWindow(owner);
    }
    if (Win32Window* ownerHost = Win32Window::FromHandle(owner)) {
        ownerHost->Refresh(); // what the dialog changed shows at once
    }
}

int Win32System::ShowMessageBox(TextView text, TextView title, int style) {
    const std::wstring wideText = Wide(text);
    const std::wstring wideTitle = Wide(title);
    return MessageBoxW(DialogOwner(), wideText.c_str(), wideTitle.c_str(), static_cast<UINT>(style));
}

std::optional<Text> Win32System::OpenFileDialog(const OpenFileRequest& request) {
    const Text filter = FileDialogFilter(request.filter);
    const std::wstring wideFilter = Wide(filter);
    const std::wstring title = Wide(request.title);
    // Room for the longest path Windows allows.
    std::vector<wchar_t> file(32768, L'\0');
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = DialogOwner();
    dialog.lpstrFilter = filter.empty() ? nullptr : wideFilter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrTitle = title.empty() ? nullptr : title.c_str();
    // Flags that would need a hook, a template or a list of several files are not the caller's to ask for:
    // nothing here provides them.
    constexpr DWORD kRefused = OFN_ENABLEHOOK | OFN_ENABLETEMPLATE | OFN_ENABLETEMPLATEHANDLE | OFN_ALLOWMULTISELECT;
    dialog.Flags = static_cast<DWORD>(request.flags) & ~kRefused;
    if (!shared_.libraries.ShowOpenDialog(dialog)) {
        return std::nullopt; // cancelled, or the dialog failed
    }
    const std::wstring chosen(file.data());
    if (chosen.empty()) {
        return std::nullopt;
    }
    return Text(chosen.begin(), chosen.end());
}

} // namespace platform
