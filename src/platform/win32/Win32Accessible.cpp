// Active Accessibility for a window that draws its own parts.
// Implements: the IAccessible of the client area (its children are the window's accessible parts, simple
// elements known by the ids the core gives them, in the order it lists them: name, description, role,
// state, place on the screen, default action, hit test, navigation among siblings), the IEnumVARIANT that
// lists those ids, the WM_GETOBJECT answer through oleacc's LresultFromObject, and the focus event. The parts are asked
// for afresh at every question, so the answers follow the window. GUIDs are spelled out: with static linking the import
// library's IID_IAccessible is a thunk, not the GUID.
#include "platform/win32/Win32Accessible.h"

#include "platform/ElementGeometry.h"
#include "platform/win32/Win32Handles.h"
#include "platform/win32/Win32Paint.h"

#include <windows.h>

#include <oleacc.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

namespace platform {
namespace {

constexpr GUID kIidUnknown{0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr GUID kIidDispatch{0x00020400, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr GUID kIidEnumVariant{0x00020404, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
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

// Where the part of child id `id` stands in the list; nothing for an id of no part.
std::optional<std::size_t> IndexOf(const std::vector<AccessibleItem>& parts, long id) {
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (IdOf(parts, i) == id) {
            return i;
        }
    }
    return std::nullopt;
}

// The reference count of the COM objects here: made with one reference, deleted at the last release.
template <class Object, class Interface>
class Counted : public Interface {
public:
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&references_)); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = InterlockedDecrement(&references_);
        if (left == 0) {
            delete static_cast<Object*>(this);
        }
        return static_cast<ULONG>(left);
    }

private:
    LONG references_ = 1;
};

// The child ids of the parts, in order, for readers that list the children (AccessibleChildren): the ids are
// not 1 to the count, so they are listed rather than guessed.
class ChildIds final : public Counted<ChildIds, IEnumVARIANT> {
public:
    ChildIds(std::vector<long> ids, std::size_t next) : ids_(std::move(ids)), next_(next) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        if (object == nullptr) {
            return E_POINTER;
        }
        if (IsEqualGUID(riid, kIidUnknown) || IsEqualGUID(riid, kIidEnumVariant)) {
            *object = static_cast<IEnumVARIANT*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    HRESULT STDMETHODCALLTYPE Next(ULONG count, VARIANT* out, ULONG* fetched) override {
        if (out == nullptr) {
            return E_POINTER;
        }
        ULONG given = 0;
        for (; given < count && next_ < ids_.size(); ++given) {
            out[given] = ChildVariant(ids_[next_++]);
        }
        if (fetched != nullptr) {
            *fetched = given;
        }
        return given == count ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override {
        const std::size_t left = ids_.size() - next_;
        next_ += std::min<std::size_t>(count, left);
        return count <= left ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Reset() override {
        next_ = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Clone(IEnumVARIANT** copy) override {
        if (copy == nullptr) {
            return E_POINTER;
        }
        *copy = new ChildIds(ids_, next_);
        return S_OK;
    }

private:
    std::vector<long> ids_;
    std::size_t next_;
};

} // namespace

// The client area's accessible object. Reference counted by its readers; the window's Win32Accessibility
// holds one reference and disconnects it when the window goes.
class AccessibleClient final : public Counted<AccessibleClient, IAccessible> {
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
        if (IsEqualGUID(riid, kIidEnumVariant) && window_ != nullptr) {
            const std::vector<AccessibleItem> parts = Parts();
            std::vector<long> ids;
            for (std::size_t i = 0; i < parts.size(); ++i) {
                ids.push_back(IdOf(parts, i));
            }
            *object = static_cast<IEnumVARIANT*>(new ChildIds(std::move(ids), 0));
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
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
        // Ids are not counted: a part's neighbours are found by its place in the list.
        const std::vector<AccessibleItem> parts = Parts();
        const bool self = start.vt == VT_I4 && start.lVal == CHILDID_SELF;
        const std::optional<std::size_t> from = start.vt == VT_I4 && !self ? IndexOf(parts, start.lVal) : std::nullopt;
        std::optional<std::size_t> to;
        if (self && !parts.empty() && direction == NAVDIR_FIRSTCHILD) {
            to = 0;
        } else if (self && !parts.empty() && direction == NAVDIR_LASTCHILD) {
            to = parts.size() - 1;
        } else if (from && (direction == NAVDIR_NEXT || direction == NAVDIR_DOWN || direction == NAVDIR_RIGHT)) {
            to = *from + 1;
        } else if (from && *from > 0 &&
                   (direction == NAVDIR_PREVIOUS || direction == NAVDIR_UP || direction == NAVDIR_LEFT)) {
            to = *from - 1;
        }
        if (!to || *to >= parts.size()) {
            return S_FALSE;
        }
        *end = ChildVariant(IdOf(parts, *to));
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
                id = IdOf(parts, i);
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
               (child.lVal == CHILDID_SELF || (child.lVal > 0 && IndexOf(Parts(), child.lVal).has_value()));
    }

    // The part `child` names, kept until the next question; nothing for the client area or an unknown id.
    const AccessibleItem* Part(const VARIANT& child) {
        parts_ = Parts();
        const std::optional<std::size_t> at =
            child.vt == VT_I4 && child.lVal > 0 ? IndexOf(parts_, child.lVal) : std::nullopt;
        return at ? &parts_[*at] : nullptr;
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

long IdOf(const std::vector<AccessibleItem>& parts, std::size_t i) {
    return parts[i].id != 0 ? parts[i].id : static_cast<long>(i + 1);
}

long FocusedAccessibleChild(const Window& window) {
    if (!window.accessibleChildren) {
        return 0;
    }
    const std::vector<AccessibleItem> parts = window.accessibleChildren();
    const auto focused = std::find_if(parts.begin(), parts.end(), [](const AccessibleItem& p) { return p.focused; });
    return focused == parts.end() ? 0 : IdOf(parts, static_cast<std::size_t>(focused - parts.begin()));
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
    if (const std::optional<std::size_t> at = IndexOf(parts, childId)) {
        const auto action = parts[*at].doDefaultAction;
        if (action) {
            action();
        }
    }
}

} // namespace platform
