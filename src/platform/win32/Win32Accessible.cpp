// Active Accessibility for a window that draws its own parts.
// Implements: the IAccessible of the client area (its children are the window's accessible parts, simple
// elements numbered from 1 in the order the core lists them: name, description, role, state, place on the
// screen, default action, hit test, navigation among siblings), the WM_GETOBJECT answer through oleacc's
// LresultFromObject, and the focus event. The parts are asked for afresh at every question, so the answers
// follow the window. GUIDs are spelled out: with static linking the import library's IID_IAccessible is a
// thunk, not the GUID.
#include "platform/win32/Win32Accessible.h"

#include "platform/ElementGeometry.h"
#include "platform/win32/Win32Handles.h"
#include "platform/win32/Win32Paint.h"

#include <windows.h>

#include <oleacc.h>

#include <algorithm>
#include <string>
#include <vector>

namespace platform {
namespace {

constexpr GUID kIidUnknown{0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr GUID kIidDispatch{0x00020400, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr GUID kIidAccessible{0x618736E0, 0x3C3D, 0x11CF, {0x81, 0x0C, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};

constexpr HRESULT kNotConnected = static_cast<HRESULT>(0x80040004L); // OLE_E_NOCONNECTION

VARIANT Empty() {
    VARIANT v;
    ZeroMemory(&v, sizeof(v));
    v.vt = VT_EMPTY;
    return v;
}

VARIANT ChildVariant(long id) {
    VARIANT v = Empty();
    v.vt = VT_I4;
    v.lVal = id;
    return v;
}

} // namespace

// The client area's accessible object. Reference counted by its readers; the window's Win32Accessibility
// holds one reference and disconnects it when the window goes.
class AccessibleClient final : public IAccessible {
public:
    AccessibleClient(const Window& window, HWND hwnd, const DisplayScale& scale, Win32Accessibility& owner)
        : window_(&window), hwnd_(hwnd), scale_(&scale), owner_(&owner) {}

    void Disconnect() {
        window_ = nullptr;
        owner_ = nullptr;
    }

    // ---- IUnknown ----
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        if (object == nullptr) {
            return E_POINTER;
        }
        if (IsEqualGUID(riid, kIidUnknown) || IsEqualGUID(riid, kIidDispatch) || IsEqualGUID(riid, kIidAccessible)) {
            *object = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&references_)); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = InterlockedDecrement(&references_);
        if (left == 0) {
            delete this;
        }
        return static_cast<ULONG>(left);
    }

    // ---- IDispatch: readers use the IAccessible methods directly ----
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (count != nullptr) {
            *count = 0;
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        return E_NOTIMPL;
    }

    // ---- IAccessible ----
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        if (parent == nullptr) {
            return E_POINTER;
        }
        *parent = nullptr;
        if (owner_ == nullptr) {
            return kNotConnected;
        }
        // The window's own object (its frame), as the system makes it.
        return owner_->Libraries().FrameAccessible(hwnd_, kIidDispatch, reinterpret_cast<void**>(parent));
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
        if (count == nullptr) {
            return E_POINTER;
        }
        *count = static_cast<long>(Parts().size());
        return window_ != nullptr ? S_OK : kNotConnected;
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override {
        if (object == nullptr) {
            return E_POINTER;
        }
        *object = nullptr;
        // The parts are simple elements, answered through this object with their ids.
        return Part(child) != nullptr ? S_FALSE : E_INVALIDARG;
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        return Answer(child, name,
                      [this](const AccessibleItem* part) { return part != nullptr ? part->name : window_->caption; });
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        return Answer(child, value, [](const AccessibleItem* part) { return part != nullptr ? part->value : Text(); });
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override {
        return Answer(child, description,
                      [](const AccessibleItem* part) { return part != nullptr ? part->description : Text(); });
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        if (role == nullptr) {
            return E_POINTER;
        }
        *role = Empty();
        if (!Known(child)) {
            return E_INVALIDARG;
        }
        const AccessibleItem* part = Part(child);
        long value = ROLE_SYSTEM_CLIENT;
        if (part != nullptr) {
            switch (part->role) {
            case AccessibleItem::Role::PushButton:
                value = ROLE_SYSTEM_PUSHBUTTON;
                break;
            case AccessibleItem::Role::StaticText:
                value = ROLE_SYSTEM_STATICTEXT;
                break;
            case AccessibleItem::Role::CheckBox:
                value = ROLE_SYSTEM_CHECKBUTTON;
                break;
            case AccessibleItem::Role::List:
                value = ROLE_SYSTEM_LIST;
                break;
            case AccessibleItem::Role::ScrollBar:
                value = ROLE_SYSTEM_SCROLLBAR;
                break;
            }
        }
        *role = ChildVariant(value);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        if (state == nullptr) {
            return E_POINTER;
        }
        *state = Empty();
        if (!Known(child)) {
            return E_INVALIDARG;
        }
        long value = 0;
        if (const AccessibleItem* part = Part(child)) {
            value |= part->focusable ? STATE_SYSTEM_FOCUSABLE : 0;
            value |= part->focused && GetFocus() == hwnd_ ? STATE_SYSTEM_FOCUSED : 0;
            value |= part->unavailable ? STATE_SYSTEM_UNAVAILABLE : 0;
            value |= part->checked ? STATE_SYSTEM_CHECKED : 0;
            value |= part->offscreen ? STATE_SYSTEM_OFFSCREEN : 0;
        } else {
            value = STATE_SYSTEM_FOCUSABLE | (GetFocus() == hwnd_ ? STATE_SYSTEM_FOCUSED : 0);
        }
        *state = ChildVariant(value);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
        return Answer(child, help, [](const AccessibleItem* part) { return part != nullptr ? part->help : Text(); });
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT, long* topic) override {
        if (topic != nullptr) {
            *topic = 0;
        }
        return Nothing(file);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT, BSTR* shortcut) override { return Nothing(shortcut); }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
        if (focus == nullptr) {
            return E_POINTER;
        }
        *focus = Empty();
        if (window_ == nullptr) {
            return kNotConnected;
        }
        if (GetFocus() != hwnd_) {
            return S_FALSE;
        }
        *focus = ChildVariant(FocusedAccessibleChild(*window_)); // 0: the client area itself
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
        if (selection != nullptr) {
            *selection = Empty();
        }
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        return Answer(child, action,
                      [](const AccessibleItem* part) { return part != nullptr ? part->defaultAction : Text(); });
    }
    HRESULT STDMETHODCALLTYPE accSelect(long, VARIANT) override { return DISP_E_MEMBERNOTFOUND; }
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height, VARIANT child) override {
        if (left == nullptr || top == nullptr || width == nullptr || height == nullptr) {
            return E_POINTER;
        }
        *left = *top = *width = *height = 0;
        if (!Known(child)) {
            return E_INVALIDARG;
        }
        RECT rect{};
        if (const AccessibleItem* part = Part(child)) {
            rect = PartRect(*part);
        } else {
            GetClientRect(hwnd_, &rect);
        }
        POINT corner{rect.left, rect.top};
        ClientToScreen(hwnd_, &corner);
        *left = corner.x;
        *top = corner.y;
        *width = rect.right - rect.left;
        *height = rect.bottom - rect.top;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
        if (end == nullptr) {
            return E_POINTER;
        }
        *end = Empty();
        const long count = static_cast<long>(Parts().size());
        const long from = start.vt == VT_I4 ? start.lVal : -1;
        long to = 0;
        if (from == CHILDID_SELF && direction == NAVDIR_FIRSTCHILD) {
            to = 1;
        } else if (from == CHILDID_SELF && direction == NAVDIR_LASTCHILD) {
            to = count;
        } else if (from > 0 && (direction == NAVDIR_NEXT || direction == NAVDIR_DOWN || direction == NAVDIR_RIGHT)) {
            to = from + 1;
        } else if (from > 0 && (direction == NAVDIR_PREVIOUS || direction == NAVDIR_UP || direction == NAVDIR_LEFT)) {
            to = from - 1;
        }
        if (to < 1 || to > count) {
            return S_FALSE;
        }
        *end = ChildVariant(to);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override {
        if (child == nullptr) {
            return E_POINTER;
        }
        *child = Empty();
        POINT point{x, y};
        RECT client{};
        if (window_ == nullptr || !ScreenToClient(hwnd_, &point) || !GetClientRect(hwnd_, &client) ||
            !PtInRect(&client, point)) {
            return S_FALSE;
        }
        const std::vector<AccessibleItem> parts = Parts();
        long id = CHILDID_SELF;
        for (std::size_t i = 0; i < parts.size(); ++i) {
            const RECT rect = PartRect(parts[i]);
            if (PtInRect(&rect, point)) {
                id = static_cast<long>(i + 1);
            }
        }
        *child = ChildVariant(id);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        const AccessibleItem* part = Part(child);
        if (part == nullptr || !part->doDefaultAction) {
            return part == nullptr && window_ == nullptr ? kNotConnected : DISP_E_MEMBERNOTFOUND;
        }
        // Run from the window's own messages: the action may start a program or end the launcher, which must
        // not happen inside the reader's call.
        PostMessageW(hwnd_, kAccessibleActionMessage, static_cast<WPARAM>(child.lVal), 0);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

private:
    std::vector<AccessibleItem> Parts() const {
        if (window_ == nullptr || !window_->accessibleChildren) {
            return {};
        }
        return window_->accessibleChildren();
    }

    // Whether `child` names the client area itself or one of its parts.
    bool Known(const VARIANT& child) {
        return window_ != nullptr && child.vt == VT_I4 &&
               (child.lVal == CHILDID_SELF || (child.lVal > 0 && child.lVal <= static_cast<long>(Parts().size())));
    }

    // The part `child` names, kept until the next question; nothing for the client area or an unknown id.
    const AccessibleItem* Part(const VARIANT& child) {
        parts_ = Parts();
        if (child.vt != VT_I4 || child.lVal < 1 || child.lVal > static_cast<long>(parts_.size())) {
            return nullptr;
        }
        return &parts_[static_cast<std::size_t>(child.lVal - 1)];
    }

    RECT PartRect(const AccessibleItem& part) const {
        RECT rect{};
        for (const Element* element : {part.element, part.element2}) {
            if (element == nullptr || !Shown(*element)) {
                continue;
            }
            if (const std::optional<ClientBox> box = BoxInWindow(*window_, *element)) {
                const PixelRect pixels = scale_->ToDevice(*box);
                const RECT one{pixels.left, pixels.top, pixels.right, pixels.bottom};
                RECT both{};
                UnionRect(&both, &rect, &one);
                rect = both;
            }
        }
        return rect;
    }

    template <class Read>
    HRESULT Answer(const VARIANT& child, BSTR* out, Read read) {
        if (out == nullptr) {
            return E_POINTER;
        }
        *out = nullptr;
        if (!Known(child)) {
            return window_ == nullptr ? kNotConnected : E_INVALIDARG;
        }
        const std::wstring text = Wide(read(Part(child)));
        if (text.empty()) {
            return S_FALSE;
        }
        *out = owner_->Libraries().AllocateString(text.c_str());
        return *out != nullptr ? S_OK : E_OUTOFMEMORY;
    }

    static HRESULT Nothing(BSTR* out) {
        if (out != nullptr) {
            *out = nullptr;
        }
        return DISP_E_MEMBERNOTFOUND;
    }

    LONG references_ = 1;
    const Window* window_;
    HWND hwnd_;
    const DisplayScale* scale_; // the window's, which maps design pixels to the screen's
    Win32Accessibility* owner_;
    std::vector<AccessibleItem> parts_;
};

Win32Accessibility::Win32Accessibility(const Window& window, HWND hwnd, const DisplayScale& scale,
                                       SystemLibraries& libraries)
    : client_(new AccessibleClient(window, hwnd, scale, *this)), libraries_(&libraries) {}

Win32Accessibility::~Win32Accessibility() {
    client_->Disconnect();
    client_->Release();
}

std::intptr_t Win32Accessibility::Answer(std::uintptr_t wParam) {
    return libraries_->AccessibleAnswer(kIidAccessible, wParam, static_cast<IAccessible*>(client_));
}

long FocusedAccessibleChild(const Window& window) {
    if (!window.accessibleChildren) {
        return 0;
    }
    const std::vector<AccessibleItem> parts = window.accessibleChildren();
    const auto focused = std::find_if(parts.begin(), parts.end(), [](const AccessibleItem& p) { return p.focused; });
    return focused == parts.end() ? 0 : static_cast<long>(focused - parts.begin()) + 1;
}

void NotifyAccessibleFocus(HWND hwnd, long childId) {
    NotifyWinEvent(EVENT_OBJECT_FOCUS, hwnd, OBJID_CLIENT, childId);
}

void NotifyAccessibleNameChange(HWND hwnd, long childId) {
    NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, hwnd, OBJID_CLIENT, childId);
}

void RunAccessibleAction(const Window& window, long childId) {
    if (!window.accessibleChildren || childId < 1) {
        return;
    }
    const std::vector<AccessibleItem> parts = window.accessibleChildren();
    if (childId <= static_cast<long>(parts.size())) {
        const auto action = parts[static_cast<std::size_t>(childId - 1)].doDefaultAction;
        if (action) {
            action();
        }
    }
}

} // namespace platform
