// Native child controls: SCROLLBAR and BUTTON child windows made for control elements and kept in step
// with them.
#include "platform/win32/Win32Controls.h"

#include "platform/win32/Win32Paint.h"

#include <windows.h>

#include <algorithm>
#include <functional>
#include <vector>

namespace platform {
namespace {

// Child control ids start here; the id only has to be unique among the window's children.
constexpr int kFirstControlId = 100;

} // namespace

void ChildControls::Sync(HWND parent) {
    if (parent == nullptr) {
        return;
    }
    // Every control element of the tree, in z-order; controls of elements that left the tree go.
    std::vector<const Element*> found;
    const std::function<void(const Container&)> collect = [&](const Container& container) {
        for (const Element* child : container.children()) {
            if (IsControl(*child)) {
                found.push_back(child);
            } else if (const auto* pictureBox = dynamic_cast<const PictureBox*>(child)) {
                collect(*pictureBox);
            }
        }
    };
    collect(*window_);
    std::erase_if(controls_, [&found](const auto& entry) {
        return std::find(found.begin(), found.end(), entry.first) == found.end();
    });
    for (const Element* element : found) {
        SyncControl(parent, *element, controls_[element]);
    }
}

void ChildControls::SyncControl(HWND parent, const Element& element, Control& control) {
    const bool shown = Shown(element);
    if (!control.hwnd.Valid()) {
        if (!shown) {
            return; // made when it first shows: a start whose scroll bar is not needed makes none
        }
        // Registered before the first control is made, so that the controls take the system's look.
        static_cast<void>(shared_->libraries.CommonControls());
        const int id = kFirstControlId + static_cast<int>(controls_.size());
        const wchar_t* controlClass = element.kind() == Element::Kind::ScrollBar ? L"SCROLLBAR" : L"BUTTON";
        DWORD style = WS_CHILD;
        switch (element.kind()) {
        case Element::Kind::ScrollBar:
            style |= SBS_VERT;
            break;
        case Element::Kind::CheckBox:
            style |= WS_TABSTOP | BS_AUTOCHECKBOX;
            break;
        default:
            style |= WS_TABSTOP | BS_OWNERDRAW;
            break;
        }
        control.hwnd = WindowHandle(CreateWindowExW(0, controlClass, L"", style, 0, 0, 0, 0, parent,
                                                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                                    GetModuleHandleW(nullptr), nullptr));
        if (!control.hwnd.Valid()) {
            return;
        }
    }
    HWND hwnd = control.hwnd.Get();

    const PixelRect rect = scale_->ToDevice(BoxInWindow(*window_, element).value_or(ClientBox{}));
    const int width = std::max<int>(0, rect.right - rect.left);
    const int height = std::max<int>(0, rect.bottom - rect.top);
    if (rect.left != control.left || rect.top != control.top || width != control.width || height != control.height) {
        SetWindowPos(hwnd, nullptr, rect.left, rect.top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
        control.left = rect.left;
        control.top = rect.top;
        control.width = width;
        control.height = height;
    }

    if (const auto* bar = dynamic_cast<const ScrollBar*>(&element)) {
        const ScrollMapping mapping = MapScrollBar(*bar);
        if (mapping != control.scroll) {
            SCROLLINFO info{};
            info.cbSize = sizeof(info);
            info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
            info.nMin = 0;
            info.nMax = mapping.maximum;
            info.nPage = static_cast<UINT>(mapping.page);
            info.nPos = mapping.position;
            SetScrollInfo(hwnd, SB_CTL, &info, TRUE);
            control.scroll = mapping;
        }
    } else {
        const Font* font = nullptr;
        std::wstring caption;
        if (const auto* box = dynamic_cast<const CheckBox*>(&element)) {
            font = &box->font;
            caption = Wide(box->caption);
            if (box->value != control.value) {
                SendMessageW(hwnd, BM_SETCHECK, box->value == 1 ? BST_CHECKED : BST_UNCHECKED, 0);
                control.value = box->value;
            }
        } else if (const auto* button = dynamic_cast<const Button*>(&element)) {
            font = &button->font;
            caption = Wide(button->caption);
        }
        if (font != nullptr) {
            HFONT handle = shared_->fonts.Get(*font, *scale_);
            if (handle != control.font) {
                SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(handle), TRUE);
                control.font = handle;
            }
        }
        if (caption != control.caption) {
            SetWindowTextW(hwnd, caption.c_str());
            control.caption = caption;
        }
    }

    if (shown != control.shown) {
        ShowWindow(hwnd, shown ? SW_SHOWNA : SW_HIDE);
        control.shown = shown;
    }
}

Element* ChildControls::ElementOf(HWND control) const {
    for (const auto& [element, state] : controls_) {
        if (state.hwnd.Get() == control && Contains(*window_, element)) {
            return const_cast<Element*>(element);
        }
    }
    return nullptr;
}

HWND ChildControls::ShownControl(const Element* element) const {
    const auto found = controls_.find(element);
    return found != controls_.end() && found->second.shown ? found->second.hwnd.Get() : nullptr;
}

HBRUSH ChildControls::Ground(HWND control, HDC dc) {
    const Element* element = ElementOf(control);
    if (const auto* box = dynamic_cast<const CheckBox*>(element)) {
        const Rgb ground = SchemeColour(box->backColor, ColourUse::Ground, shared_->highContrast);
        SetBkColor(dc, ColourRef(ground));
        return Brush(ground);
    }
    if (element != nullptr) {
        // Push buttons: the corners around the button take the window's colour.
        return Brush(SchemeColour(window_->backColor, ColourUse::Ground, shared_->highContrast));
    }
    return nullptr;
}

void ChildControls::DrawButton(HWND control, HDC dc, int width, int height, bool pressed, bool focused) {
    const auto* button = dynamic_cast<const Button*>(ElementOf(control));
    if (button == nullptr || dc == nullptr) {
        return;
    }
    RECT rect{0, 0, width, height};
    // Text that reads on the face in every scheme: the design's black on its grey, or the system's button
    // colours under high contrast.
    if (HBRUSH face = Brush(SchemeColour(window_->backColor, ColourUse::ButtonFace, shared_->highContrast))) {
        FillRect(dc, &rect, face);
    }
    DrawEdge(dc, &rect, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    const std::wstring caption = Wide(button->caption);
    RECT text = rect;
    if (pressed) {
        OffsetRect(&text, 1, 1); // the caption sinks with the button
    }
    const SavedDc saved(dc);
    const Selection font(dc, shared_->fonts.Get(button->font, *scale_));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ColourRef(SchemeColour(kBlack, ColourUse::ButtonText, shared_->highContrast)));
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &text,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    if (focused) {
        const int inset = scale_->ToDevice(4);
        InflateRect(&rect, -inset, -inset);
        DrawFocusRect(dc, &rect);
    }
}

HBRUSH ChildControls::Brush(Rgb colour) {
    const std::uint32_t key = ColourRef(colour);
    if (const auto found = brushes_.find(key); found != brushes_.end()) {
        return found->second.Get();
    }
    BrushHandle brush(CreateSolidBrush(key));
    HBRUSH handle = brush.Get();
    if (brush.Valid()) {
        brushes_.emplace(key, std::move(brush));
    }
    return handle;
}

void ChildControls::Forget() {
    for (auto& [element, control] : controls_) {
        static_cast<void>(control.hwnd.Release());
    }
    controls_.clear();
}

} // namespace platform
