// Win32 window host, the Windows backend of a platform::Window.
// Implements: the window class and procedure, the painter (element tree into a back buffer), hit testing,
// pointer capture, key preview, pointer shapes, tooltips, timers, the child controls behind scroll bars,
// check boxes and push buttons, the GDI font cache, and the message loops.
#include "platform/win32/Win32Window.h"

#include <windows.h>
#include <windowsx.h>

#include <commctrl.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

namespace platform {
namespace {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "the wide-character API must take UTF-16 code units");

constexpr wchar_t kClassName[] = L"TessalyLauncherWindow";
// The application icon in the executable's resources (launcher.rc).
constexpr int kAppIconId = 1;
// Child control ids start here; the id only has to be unique among the window's children.
constexpr int kFirstControlId = 100;

std::wstring Wide(TextView text) {
    return std::wstring(text.begin(), text.end());
}

COLORREF ToColorRef(Rgb c) {
    return RGB(c.r, c.g, c.b);
}

// A coordinate in pixels as an integer GDI accepts; far-off values are pulled in so that the arithmetic of
// rectangles cannot overflow (nothing that far off can show anyway).
int Px(double value) {
    if (!std::isfinite(value)) {
        return 0;
    }
    return static_cast<int>(std::lround(std::clamp(value, -1.0e7, 1.0e7)));
}

// The element's rectangle in device pixels: each edge rounded on its own, so that neighbours share edges.
RECT PixelRect(const ClientBox& box) {
    return RECT{Px(box.left), Px(box.top), Px(box.left + box.width), Px(box.top + box.height)};
}

// ---- handle guards ----

class MemoryDc {
public:
    MemoryDc() : dc_(CreateCompatibleDC(nullptr)) {}
    ~MemoryDc() {
        if (dc_ != nullptr) {
            DeleteDC(dc_);
        }
    }
    MemoryDc(const MemoryDc&) = delete;
    MemoryDc& operator=(const MemoryDc&) = delete;
    HDC Get() const { return dc_; }

private:
    HDC dc_;
};

// Selects a GDI object into a DC and puts the old one back when it goes.
class Selection {
public:
    Selection(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
    ~Selection() {
        if (old_ != nullptr && old_ != HGDI_ERROR) {
            SelectObject(dc_, old_);
        }
    }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

// Saves the DC's state (clip region, colours, modes) and restores it when it goes.
class SavedDc {
public:
    explicit SavedDc(HDC dc) : dc_(dc), saved_(SaveDC(dc)) {}
    ~SavedDc() {
        if (saved_ != 0) {
            RestoreDC(dc_, saved_);
        }
    }
    SavedDc(const SavedDc&) = delete;
    SavedDc& operator=(const SavedDc&) = delete;

private:
    HDC dc_;
    int saved_;
};

class SolidBrush {
public:
    explicit SolidBrush(Rgb colour) : brush_(CreateSolidBrush(ToColorRef(colour))) {}
    ~SolidBrush() {
        if (brush_ != nullptr) {
            DeleteObject(brush_);
        }
    }
    SolidBrush(const SolidBrush&) = delete;
    SolidBrush& operator=(const SolidBrush&) = delete;
    HBRUSH Get() const { return brush_; }

private:
    HBRUSH brush_;
};

bool Opaque(const Bitmap& bitmap) {
    return std::all_of(bitmap.pixels.begin(), bitmap.pixels.end(), [](std::uint32_t p) { return (p >> 24) == 0xFF; });
}

} // namespace

// ---- the back buffer: a top-down 32-bit DIB section selected into a memory DC ----

struct Win32Window::BackBuffer {
    BackBuffer(int w, int h) : width(std::max(1, w)), height(std::max(1, h)) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height; // top-down rows, as platform::Bitmap holds them
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* memory = nullptr;
        bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &memory, nullptr, 0);
        bits = static_cast<std::uint32_t*>(memory);
        if (bitmap != nullptr && dc.Get() != nullptr) {
            old = SelectObject(dc.Get(), bitmap);
        }
    }
    ~BackBuffer() {
        if (old != nullptr) {
            SelectObject(dc.Get(), old);
        }
        if (bitmap != nullptr) {
            DeleteObject(bitmap);
        }
    }
    BackBuffer(const BackBuffer&) = delete;
    BackBuffer& operator=(const BackBuffer&) = delete;

    bool Valid() const { return bits != nullptr && dc.Get() != nullptr && old != nullptr; }

    int width, height;
    MemoryDc dc;
    HBITMAP bitmap = nullptr;
    HGDIOBJ old = nullptr;
    std::uint32_t* bits = nullptr;
};

namespace {

// Draws a window's elements into a back buffer, back to front, each picture box clipping its children.
class Painter {
public:
    Painter(HDC dc, std::uint32_t* bits, int width, int height, const GdiFonts& fonts)
        : dc_(dc), bits_(bits), width_(width), height_(height), fonts_(fonts) {}

    void PaintWindow(const Window& window) {
        const RECT all{0, 0, width_, height_};
        Fill(all, window.backColor);
        PaintChildren(window, 0, 0, all);
    }

private:
    void PaintChildren(const Container& container, double originX, double originY, const RECT& clip) {
        for (const Element* child : container.children()) {
            PaintElement(*child, originX, originY, clip);
        }
    }

    void PaintElement(const Element& element, double originX, double originY, const RECT& clip) {
        if (!element.visible || IsControl(element)) {
            return;
        }
        const ClientBox box{originX + element.left, originY + element.top, element.width, element.height};
        const RECT rect = PixelRect(box);
        RECT visible{};
        if (!IntersectRect(&visible, &rect, &clip)) {
            return; // wholly outside: nothing of it, nor of its children, can show
        }
        switch (element.kind()) {
        case Element::Kind::Label:
            PaintLabel(static_cast<const Label&>(element), rect, visible);
            break;
        case Element::Kind::Image:
            if (const Picture& picture = static_cast<const Image&>(element).picture) {
                DrawPicture(*picture, rect, visible);
            }
            break;
        case Element::Kind::PictureBox: {
            const auto& pictureBox = static_cast<const PictureBox&>(element);
            Fill(visible, pictureBox.backColor);
            // The drawing surface keeps its own size: it is not stretched to the box.
            const Bitmap& surface = pictureBox.surface();
            if (surface.width > 0 && surface.height > 0) {
                const RECT at{rect.left, rect.top, rect.left + surface.width, rect.top + surface.height};
                DrawPicture(surface, at, visible);
            }
            PaintChildren(pictureBox, box.left, box.top, visible);
            break;
        }
        case Element::Kind::Shape:
            Fill(visible, static_cast<const Shape&>(element).fillColor);
            break;
        case Element::Kind::ScrollBar:
        case Element::Kind::CheckBox:
        case Element::Kind::Button:
            break; // controls of their own
        }
    }

    void Fill(const RECT& rect, Rgb colour) {
        const SolidBrush brush(colour);
        FillRect(dc_, &rect, brush.Get());
    }

    void PaintLabel(const Label& label, const RECT& rect, const RECT& visible) {
        if (label.backColor) {
            Fill(visible, *label.backColor);
        }
        if (label.caption().empty()) {
            return;
        }
        const SavedDc saved(dc_);
        IntersectClipRect(dc_, visible.left, visible.top, visible.right, visible.bottom);
        const Selection font(dc_, fonts_.Get(label.font()));
        SetTextColor(dc_, ToColorRef(label.foreColor));
        SetBkMode(dc_, TRANSPARENT);
        // A self-sizing label is one line as wide as its text; a fixed one wraps its words inside its box.
        const UINT format = DT_LEFT | DT_TOP | DT_NOPREFIX | (label.autoSize() ? DT_SINGLELINE : DT_WORDBREAK);
        const std::wstring text = Wide(label.caption());
        RECT box = rect;
        DrawTextW(dc_, text.c_str(), static_cast<int>(text.size()), &box, format);
    }

    // The picture stretched to `rect`, drawn only inside `clip`. Opaque pictures go through GDI; a picture
    // with transparent parts is blended onto what lies under it, pixel by pixel, nearest neighbour like GDI.
    void DrawPicture(const Bitmap& picture, const RECT& rect, const RECT& clip) {
        const int destWidth = rect.right - rect.left;
        const int destHeight = rect.bottom - rect.top;
        if (picture.width <= 0 || picture.height <= 0 || destWidth <= 0 || destHeight <= 0 ||
            picture.pixels.size() !=
                static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(picture.height)) {
            return;
        }
        if (Opaque(picture)) {
            BITMAPINFO info{};
            info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
            info.bmiHeader.biWidth = picture.width;
            info.bmiHeader.biHeight = -picture.height;
            info.bmiHeader.biPlanes = 1;
            info.bmiHeader.biBitCount = 32;
            info.bmiHeader.biCompression = BI_RGB;
            const SavedDc saved(dc_);
            IntersectClipRect(dc_, clip.left, clip.top, clip.right, clip.bottom);
            // Whole source pixels, no smoothing: a 32 x 32 icon doubled to 64 x 64 stays crisp.
            SetStretchBltMode(dc_, COLORONCOLOR);
            StretchDIBits(dc_, rect.left, rect.top, destWidth, destHeight, 0, 0, picture.width, picture.height,
                          picture.pixels.data(), &info, DIB_RGB_COLORS, SRCCOPY);
            return;
        }
        GdiFlush(); // the software blend below reads and writes the bits GDI may still be drawing into
        RECT area{};
        const RECT buffer{0, 0, width_, height_};
        RECT inside{};
        if (!IntersectRect(&inside, &rect, &clip) || !IntersectRect(&area, &inside, &buffer)) {
            return;
        }
        for (int y = area.top; y < area.bottom; ++y) {
            const int sy = static_cast<int>(static_cast<long long>(y - rect.top) * picture.height / destHeight);
            for (int x = area.left; x < area.right; ++x) {
                const int sx = static_cast<int>(static_cast<long long>(x - rect.left) * picture.width / destWidth);
                std::uint32_t& under =
                    bits_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x)];
                under = BlendOver(picture.At(sx, sy), under);
            }
        }
    }

    HDC dc_;
    std::uint32_t* bits_;
    int width_, height_;
    const GdiFonts& fonts_;
};

Element* HitIn(const Container& container, double originX, double originY, double x, double y) {
    const auto& children = container.children();
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
        Element* element = *it;
        if (!element->visible || IsControl(*element)) {
            continue;
        }
        const ClientBox box{originX + element->left, originY + element->top, element->width, element->height};
        if (!box.Contains(x, y)) {
            continue;
        }
        if (const auto* pictureBox = dynamic_cast<const PictureBox*>(element)) {
            if (Element* inner = HitIn(*pictureBox, box.left, box.top, x, y)) {
                return inner;
            }
        }
        return element;
    }
    return nullptr;
}

HCURSOR CursorFor(MousePointer pointer) {
    switch (pointer) {
    case MousePointer::Hourglass:
        return LoadCursorW(nullptr, IDC_WAIT);
    case MousePointer::SizeWE:
        return LoadCursorW(nullptr, IDC_SIZEWE);
    case MousePointer::SizeNS:
        return LoadCursorW(nullptr, IDC_SIZENS);
    case MousePointer::Default:
        break;
    }
    return LoadCursorW(nullptr, IDC_ARROW);
}

// The shift mask (1 Shift, 2 Ctrl, 4 Alt) of the keys held now.
int KeyShiftState() {
    int shift = 0;
    shift |= GetKeyState(VK_SHIFT) < 0 ? kShiftMask : 0;
    shift |= GetKeyState(VK_CONTROL) < 0 ? kCtrlMask : 0;
    shift |= GetKeyState(VK_MENU) < 0 ? kAltMask : 0;
    return shift;
}

// The shift mask of a mouse message: Shift and Ctrl come with the message, Alt is read from the keyboard.
int MouseShiftState(WPARAM keys) {
    int shift = 0;
    shift |= (keys & MK_SHIFT) != 0 ? kShiftMask : 0;
    shift |= (keys & MK_CONTROL) != 0 ? kCtrlMask : 0;
    shift |= GetKeyState(VK_MENU) < 0 ? kAltMask : 0;
    return shift;
}

// The buttons held (1 left, 2 right, 4 middle) in a mouse message.
int HeldButtons(WPARAM keys) {
    int held = 0;
    held |= (keys & MK_LBUTTON) != 0 ? kLeftButton : 0;
    held |= (keys & MK_RBUTTON) != 0 ? kRightButton : 0;
    held |= (keys & MK_MBUTTON) != 0 ? kMiddleButton : 0;
    return held;
}

LRESULT CALLBACK WindowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        auto* host = static_cast<Win32Window*>(create->lpCreateParams);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(host));
        host->OnCreated(hwnd);
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    auto* host = reinterpret_cast<Win32Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (host == nullptr) {
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    const int x = GET_X_LPARAM(lParam);
    const int y = GET_Y_LPARAM(lParam);
    switch (message) {
    case WM_PAINT:
        host->OnPaint();
        return 0;
    case WM_ERASEBKGND:
        return 1; // the paint covers every pixel from the back buffer
    case WM_SIZE:
        host->OnSize();
        return 0;
    case WM_LBUTTONDOWN:
        host->OnPointerDown(x, y, kLeftButton, MouseShiftState(wParam));
        return 0;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK: // only the left button double-clicks; a quick second right press is a press
        host->OnPointerDown(x, y, kRightButton, MouseShiftState(wParam));
        return 0;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
        host->OnPointerDown(x, y, kMiddleButton, MouseShiftState(wParam));
        return 0;
    case WM_LBUTTONDBLCLK:
        host->OnDoubleClick(x, y, MouseShiftState(wParam));
        return 0;
    case WM_MOUSEMOVE:
        host->OnPointerMove(x, y, HeldButtons(wParam), MouseShiftState(wParam));
        return 0;
    case WM_LBUTTONUP:
        host->OnPointerUp(x, y, kLeftButton, MouseShiftState(wParam));
        return 0;
    case WM_RBUTTONUP:
        host->OnPointerUp(x, y, kRightButton, MouseShiftState(wParam));
        return 0;
    case WM_MBUTTONUP:
        host->OnPointerUp(x, y, kMiddleButton, MouseShiftState(wParam));
        return 0;
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lParam) != hwnd) {
            host->OnCaptureLost();
        }
        return 0;
    case WM_TIMER:
        host->OnTimer(static_cast<std::uintptr_t>(wParam));
        return 0;
    case WM_VSCROLL:
        if (lParam != 0) {
            host->OnScrollControl(reinterpret_cast<HWND>(lParam), LOWORD(wParam));
            return 0;
        }
        break;
    case WM_COMMAND:
        if (lParam != 0 && HIWORD(wParam) == BN_CLICKED) {
            host->OnControlClicked(reinterpret_cast<HWND>(lParam));
            return 0;
        }
        break;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        if (HBRUSH brush = host->OnControlColour(reinterpret_cast<HWND>(lParam), reinterpret_cast<HDC>(wParam))) {
            return reinterpret_cast<LRESULT>(brush);
        }
        break;
    case WM_SETCURSOR:
        if (LOWORD(lParam) == HTCLIENT && host->OnSetCursor(reinterpret_cast<HWND>(wParam))) {
            return TRUE;
        }
        break;
    case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        if (header != nullptr && header->code == TTN_GETDISPINFOW) {
            auto* info = reinterpret_cast<NMTTDISPINFOW*>(lParam);
            info->lpszText = const_cast<wchar_t*>(host->TooltipText());
            return 0;
        }
        break;
    }
    case WM_CLOSE:
        host->OnSystemClose();
        return 0;
    case WM_NCDESTROY:
        host->OnDestroyed();
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        break;
    default:
        break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

bool RegisterWindowClass(HINSTANCE instance) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    // Double clicks of the left button arrive as their own message; the background is painted by the window.
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = WindowProcedure;
    wc.hInstance = instance;
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(kAppIconId));
    // The task bar and Alt+Tab take the small size from the icon's own 16-pixel image, not a shrunk copy.
    wc.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(kAppIconId), IMAGE_ICON,
                                               GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
    wc.hCursor = nullptr; // set at every WM_SETCURSOR from the element under the pointer
    wc.hbrBackground = nullptr;
    wc.lpszClassName = kClassName;
    // A second window of the process finds the class registered already.
    return RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

// Hands a key press to the window it is meant for before its controls see it (key preview); then the
// message goes its usual way.
void Dispatch(MSG& msg) {
    if ((msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) && msg.hwnd != nullptr) {
        HWND root = GetAncestor(msg.hwnd, GA_ROOT);
        if (Win32Window* host = Win32Window::FromHandle(root); host != nullptr && IsWindowEnabled(root)) {
            host->OnKeyDown(static_cast<int>(msg.wParam), KeyShiftState());
        }
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}

} // namespace

// ---- geometry and hit testing ----

bool Shown(const Element& element) {
    for (const Element* e = &element; e != nullptr; e = dynamic_cast<const Element*>(e->container())) {
        if (!e->visible) {
            return false;
        }
    }
    return true;
}

bool IsControl(const Element& element) {
    const Element::Kind kind = element.kind();
    return kind == Element::Kind::ScrollBar || kind == Element::Kind::CheckBox || kind == Element::Kind::Button;
}

std::optional<ClientBox> BoxInWindow(const Container& window, const Element& element) {
    ClientBox box{element.left, element.top, element.width, element.height};
    const Container* container = element.container();
    while (container != &window) {
        const auto* pictureBox = dynamic_cast<const PictureBox*>(container);
        if (pictureBox == nullptr) {
            return std::nullopt; // detached, or in another window
        }
        box.left += pictureBox->left;
        box.top += pictureBox->top;
        container = pictureBox->container();
    }
    return box;
}

Element* ElementAt(const Container& window, double x, double y) {
    return HitIn(window, 0, 0, x, y);
}

bool Contains(const Container& window, const Element* element) {
    if (element == nullptr) {
        return false;
    }
    for (const Element* child : window.children()) {
        if (child == element) {
            return true;
        }
        if (const auto* pictureBox = dynamic_cast<const PictureBox*>(child)) {
            if (Contains(*pictureBox, element)) {
                return true;
            }
        }
    }
    return false;
}

PointerEvent PointerEventFor(const Container& window, const Element& element, double clientX, double clientY,
                             int button, int shift, double twipsPerPixelX, double twipsPerPixelY) {
    const ClientBox box = BoxInWindow(window, element).value_or(ClientBox{});
    PointerEvent event{element.index(), button, shift, clientX - box.left, clientY - box.top};
    if (element.ReportsTwips()) {
        event.x *= twipsPerPixelX;
        event.y *= twipsPerPixelY;
    }
    return event;
}

Bitmap RenderWindow(const Window& window, int width, int height, const GdiFonts& fonts) {
    Bitmap result;
    if (width <= 0 || height <= 0) {
        return result;
    }
    // The same painter and the same kind of buffer as the window's own paint.
    MemoryDc dc;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* memory = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &memory, nullptr, 0);
    if (bitmap == nullptr || dc.Get() == nullptr) {
        return result;
    }
    {
        const Selection selected(dc.Get(), bitmap);
        auto* bits = static_cast<std::uint32_t*>(memory);
        Painter(dc.Get(), bits, width, height, fonts).PaintWindow(window);
        GdiFlush();
        result.width = width;
        result.height = height;
        result.pixels.assign(bits, bits + static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
        for (std::uint32_t& pixel : result.pixels) {
            pixel |= 0xFF000000u; // GDI leaves the fourth byte alone; the picture is opaque
        }
    }
    DeleteObject(bitmap);
    return result;
}

// ---- scroll bars ----

ScrollMapping MapScrollBar(const ScrollBar& bar) {
    const int low = bar.min();
    const int high = bar.max();
    const int span = std::abs(high - low);
    const int page = std::max<int>(1, bar.largeChange);
    const int position = std::clamp(std::abs(bar.value() - low), 0, span);
    // With a page of `page`, the highest position a control reaches is maximum - page + 1 = span.
    return ScrollMapping{span + page - 1, page, position};
}

std::int16_t ScrollValueAt(const ScrollBar& bar, int position) {
    const int low = bar.min();
    const int high = bar.max();
    const int span = std::abs(high - low);
    const int sign = high >= low ? 1 : -1;
    return static_cast<std::int16_t>(low + sign * std::clamp(position, 0, span));
}

std::int16_t ScrollValueAfterStep(const ScrollBar& bar, int steps, bool page) {
    const int low = bar.min();
    const int high = bar.max();
    const int sign = high >= low ? 1 : -1;
    const int step = page ? bar.largeChange : bar.smallChange;
    const int target = bar.value() + sign * steps * step;
    return static_cast<std::int16_t>(std::clamp(target, std::min(low, high), std::max(low, high)));
}

// ---- fonts ----

GdiFonts::GdiFonts(int dpi) : dpi_(dpi > 0 ? dpi : 96), measuringDc_(CreateCompatibleDC(nullptr)) {}

GdiFonts::~GdiFonts() {
    for (const auto& [key, font] : fonts_) {
        DeleteObject(font);
    }
    if (measuringDc_ != nullptr) {
        DeleteDC(measuringDc_);
    }
}

int GdiFonts::PixelHeight(const Font& font) const {
    // Points are 1/72 inch. A size that cannot be drawn becomes the smallest font rather than GDI's default.
    const double pixels = font.size * dpi_ / 72.0;
    if (!std::isfinite(pixels) || pixels < 1) {
        return 1;
    }
    return static_cast<int>(std::lround(std::min(pixels, 10000.0)));
}

HFONT GdiFonts::Get(const Font& font) const {
    auto key = std::make_tuple(font.face, font.size, font.bold);
    if (const auto found = fonts_.find(key); found != fonts_.end()) {
        return found->second;
    }
    const std::wstring face = Wide(font.face.substr(0, LF_FACESIZE - 1));
    // A negative height asks for the character height (the em), which is what a size in points means.
    HFONT made = CreateFontW(-PixelHeight(font), 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                             DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY,
                             DEFAULT_PITCH | FF_SWISS, face.c_str());
    if (made == nullptr) {
        return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    }
    fonts_.emplace(std::move(key), made);
    return made;
}

TextSize GdiFonts::Measure(const Font& font, TextView text) const {
    if (measuringDc_ == nullptr) {
        return TextSize{};
    }
    const Selection selected(measuringDc_, Get(font));
    TEXTMETRICW metrics{};
    GetTextMetricsW(measuringDc_, &metrics);
    if (text.empty()) {
        return TextSize{0, static_cast<double>(metrics.tmHeight)};
    }
    const std::wstring wide = Wide(text);
    SIZE size{};
    if (!GetTextExtentPoint32W(measuringDc_, wide.c_str(), static_cast<int>(wide.size()), &size)) {
        return TextSize{0, static_cast<double>(metrics.tmHeight)};
    }
    return TextSize{static_cast<double>(size.cx), static_cast<double>(size.cy)};
}

// ---- the host ----

Win32Window::Win32Window(Window& window, Role role, HWND owner, double normalWidth, double normalHeight,
                         double twipsPerPixelX, double twipsPerPixelY, int dpi)
    : window_(&window), role_(role), owner_(owner), normalWidth_(normalWidth), normalHeight_(normalHeight),
      twipsPerPixelX_(twipsPerPixelX), twipsPerPixelY_(twipsPerPixelY), fonts_(dpi) {}

Win32Window::~Win32Window() {
    destroying_ = true;
    if (hwnd_ != nullptr) {
        DestroyWindow(hwnd_); // its controls and tooltip go with it
    }
    for (const auto& [colour, brush] : brushes_) {
        DeleteObject(brush);
    }
}

Win32Window* Win32Window::FromHandle(HWND hwnd) {
    wchar_t name[64] = {};
    if (hwnd == nullptr || GetClassNameW(hwnd, name, 64) == 0 || std::wstring_view(name) != kClassName) {
        return nullptr;
    }
    return reinterpret_cast<Win32Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

bool Win32Window::Create() {
    if (hwnd_ != nullptr) {
        return true;
    }
    HINSTANCE instance = GetModuleHandleW(nullptr);
    if (!RegisterWindowClass(instance)) {
        return false;
    }
    const std::wstring caption = Wide(window_->caption);
    if (role_ == Role::Main) {
        // Borderless: the window draws its own title bar and border strips, so its client area is the whole
        // window. The minimise box and system menu only give the task bar button its usual menu and minimise.
        const DWORD style = WS_POPUP | WS_CLIPCHILDREN | WS_MINIMIZEBOX | WS_SYSMENU;
        CreateWindowExW(0, kClassName, caption.c_str(), style, 0, 0, std::max(1, Px(normalWidth_)),
                        std::max(1, Px(normalHeight_)), owner_, nullptr, instance, this);
    } else {
        // An owned window has no task bar button; the modal frame gives it the look of a dialog.
        const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
        const DWORD exStyle = WS_EX_DLGMODALFRAME;
        const auto* dialog = dynamic_cast<const Dialog*>(window_);
        RECT frame{0, 0, Px(dialog != nullptr ? dialog->clientWidth : normalWidth_),
                   Px(dialog != nullptr ? dialog->clientHeight : normalHeight_)};
        AdjustWindowRectEx(&frame, style, FALSE, exStyle);
        const int width = frame.right - frame.left;
        const int height = frame.bottom - frame.top;
        const int left = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
        const int top = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
        CreateWindowExW(exStyle, kClassName, caption.c_str(), style, left, top, width, height, owner_, nullptr,
                        instance, this);
    }
    if (hwnd_ == nullptr) {
        return false;
    }
    // One tool covering the whole window; its text is asked for each time it shows (TooltipText).
    tooltip_ =
        CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr, instance, nullptr);
    if (tooltip_ != nullptr) {
        TTTOOLINFOW tool{};
        tool.cbSize = TTTOOLINFOW_V2_SIZE; // accepted by every version of the common controls
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = hwnd_;
        tool.uId = reinterpret_cast<UINT_PTR>(hwnd_);
        tool.lpszText = LPSTR_TEXTCALLBACKW;
        SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
    SyncControls();
    return true;
}

void Win32Window::OnCreated(HWND hwnd) {
    hwnd_ = hwnd;
}

void Win32Window::OnDestroyed() {
    // The main window gone by any way but the host's own end (the system destroyed it): the process ends.
    if (role_ == Role::Main && !destroying_) {
        PostQuitMessage(0);
    }
    hwnd_ = nullptr;
    tooltip_ = nullptr;
    controls_.clear();
    timers_.clear();
    captured_ = nullptr;
    held_ = 0;
}

void Win32Window::Show(int showCommand) {
    if (hwnd_ == nullptr) {
        return;
    }
    SyncControls();
    ShowWindow(hwnd_, showCommand);
    AfterEvent();
}

void Win32Window::Refresh() {
    AfterEvent();
}

void Win32Window::AfterEvent() {
    if (hwnd_ == nullptr) {
        return;
    }
    InvalidateRect(hwnd_, nullptr, FALSE);
    SyncControls();
    SyncTimers();
    SyncFocus();
    SyncCursor();
}

void Win32Window::Deliver(Element& element, std::function<void(const PointerEvent&)> PointerHandlers::*which, int x,
                          int y, int button, int shift) {
    // Hidden elements, and elements inside a hidden picture box, receive nothing.
    if (!Shown(element)) {
        return;
    }
    const PointerEvent event =
        PointerEventFor(*window_, element, x, y, button, shift, twipsPerPixelX_, twipsPerPixelY_);
    // A copy: the handler may replace the element's handlers while it runs.
    const auto handler = element.handlers.*which;
    if (handler) {
        handler(event);
    }
}

void Win32Window::OnPointerDown(int x, int y, int button, int shift) {
    if (captured_ != nullptr && !Contains(*window_, captured_)) {
        captured_ = nullptr;
    }
    // While a button is held, further presses go to the element that took the first one.
    Element* target = captured_ != nullptr ? captured_ : ElementAt(*window_, x, y);
    held_ |= button;
    if (captured_ == nullptr && target != nullptr) {
        captured_ = target;
        SetCapture(hwnd_);
    }
    if (target != nullptr) {
        Deliver(*target, &PointerHandlers::down, x, y, button, shift);
    }
    AfterEvent();
}

void Win32Window::OnDoubleClick(int x, int y, int shift) {
    // The second press of a double click raises the double click instead of a press; the release that
    // follows still goes to the element.
    if (captured_ != nullptr && !Contains(*window_, captured_)) {
        captured_ = nullptr;
    }
    Element* target = captured_ != nullptr ? captured_ : ElementAt(*window_, x, y);
    held_ |= kLeftButton;
    if (captured_ == nullptr && target != nullptr) {
        captured_ = target;
        SetCapture(hwnd_);
    }
    if (target != nullptr) {
        Deliver(*target, &PointerHandlers::doubleClick, x, y, kLeftButton, shift);
    }
    AfterEvent();
}

void Win32Window::OnPointerMove(int x, int y, int heldButtons, int shift) {
    if (captured_ != nullptr && !Contains(*window_, captured_)) {
        captured_ = nullptr;
    }
    Element* hovered = ElementAt(*window_, x, y);
    UpdateTooltip(hovered);
    Element* target = captured_ != nullptr ? captured_ : hovered;
    if (target != nullptr) {
        Deliver(*target, &PointerHandlers::move, x, y, heldButtons, shift);
    }
    AfterEvent();
}

void Win32Window::OnPointerUp(int x, int y, int button, int shift) {
    Element* target = captured_ != nullptr && Contains(*window_, captured_) ? captured_ : nullptr;
    held_ &= ~button;
    if (held_ == 0) {
        // Released before the handler runs: a handler that opens a dialog must not find the pointer held.
        captured_ = nullptr;
        if (GetCapture() == hwnd_) {
            ReleaseCapture();
        }
    }
    if (target != nullptr) {
        Deliver(*target, &PointerHandlers::up, x, y, button, shift);
    }
    AfterEvent();
}

void Win32Window::OnCaptureLost() {
    captured_ = nullptr;
    held_ = 0;
}

void Win32Window::OnKeyDown(int keyCode, int shift) {
    const auto handler = window_->onKeyDown;
    if (handler) {
        handler(keyCode, shift);
    }
    AfterEvent();
}

void Win32Window::OnTimer(std::uintptr_t id) {
    const std::size_t index = static_cast<std::size_t>(id) - 1;
    if (id == 0 || index >= window_->timers.size() || window_->timers[index] == nullptr ||
        !window_->timers[index]->enabled) {
        KillTimer(hwnd_, id);
        if (index < timers_.size()) {
            timers_[index] = RunningTimer{};
        }
        return;
    }
    const auto tick = window_->timers[index]->onTick;
    if (tick) {
        tick();
    }
    AfterEvent();
}

void Win32Window::OnScrollControl(HWND control, int code) {
    auto* bar = dynamic_cast<ScrollBar*>(ControlElement(control));
    if (bar == nullptr) {
        return;
    }
    const auto trackPosition = [control] {
        SCROLLINFO info{};
        info.cbSize = sizeof(info);
        info.fMask = SIF_TRACKPOS;
        GetScrollInfo(control, SB_CTL, &info);
        return info.nTrackPos;
    };
    switch (code) {
    case SB_THUMBTRACK: {
        // The thumb is being dragged: the scroll event, for each position it reaches.
        const std::int16_t value = ScrollValueAt(*bar, trackPosition());
        if (value != bar->value()) {
            bar->Scroll(value);
        }
        break;
    }
    case SB_THUMBPOSITION:
        static_cast<void>(bar->SetValue(ScrollValueAt(*bar, trackPosition())));
        break;
    case SB_LINEUP:
        static_cast<void>(bar->SetValue(ScrollValueAfterStep(*bar, -1, false)));
        break;
    case SB_LINEDOWN:
        static_cast<void>(bar->SetValue(ScrollValueAfterStep(*bar, 1, false)));
        break;
    case SB_PAGEUP:
        static_cast<void>(bar->SetValue(ScrollValueAfterStep(*bar, -1, true)));
        break;
    case SB_PAGEDOWN:
        static_cast<void>(bar->SetValue(ScrollValueAfterStep(*bar, 1, true)));
        break;
    case SB_TOP:
        static_cast<void>(bar->SetValue(bar->min()));
        break;
    case SB_BOTTOM:
        static_cast<void>(bar->SetValue(bar->max()));
        break;
    default:
        return; // SB_ENDSCROLL: nothing changed
    }
    AfterEvent();
}

void Win32Window::OnControlClicked(HWND control) {
    Element* element = ControlElement(control);
    if (auto* box = dynamic_cast<CheckBox*>(element)) {
        // The control ticked or cleared itself; the element follows it.
        box->value = SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
        const auto handler = box->onClick;
        if (handler) {
            handler(box->index());
        }
    } else if (auto* button = dynamic_cast<Button*>(element)) {
        const auto handler = button->onClick;
        if (handler) {
            handler();
        }
    }
    AfterEvent();
}

void Win32Window::OnSystemClose() {
    if (role_ == Role::Main) {
        // Closed by the system (Alt+F4, the task bar): the process ends without saving.
        PostQuitMessage(0);
        return;
    }
    if (auto* dialog = dynamic_cast<Dialog*>(window_)) {
        const auto handler = dialog->onSystemClose;
        if (handler) {
            handler();
        } else {
            dialog->Close();
        }
    }
    AfterEvent();
}

void Win32Window::OnSize() {
    if (hwnd_ != nullptr) {
        InvalidateRect(hwnd_, nullptr, FALSE);
    }
}

void Win32Window::OnPaint() {
    PAINTSTRUCT paint{};
    HDC target = BeginPaint(hwnd_, &paint);
    RECT client{};
    GetClientRect(hwnd_, &client);
    const int width = std::max<int>(1, client.right - client.left);
    const int height = std::max<int>(1, client.bottom - client.top);
    if (!back_ || back_->width != width || back_->height != height) {
        back_.reset();
        back_ = std::make_unique<BackBuffer>(width, height);
    }
    if (target != nullptr && back_->Valid()) {
        Painter(back_->dc.Get(), back_->bits, width, height, fonts_).PaintWindow(*window_);
        BitBlt(target, 0, 0, width, height, back_->dc.Get(), 0, 0, SRCCOPY);
    }
    EndPaint(hwnd_, &paint);
    SyncTimers();
}

bool Win32Window::OnSetCursor(HWND over) {
    // The window's own pointer, when it has one, shows over everything (the hourglass after a start).
    if (window_->mousePointer != MousePointer::Default) {
        SetCursor(CursorFor(window_->mousePointer));
        return true;
    }
    if (over != hwnd_) {
        return false; // a control shows its own pointer
    }
    POINT point{};
    GetCursorPos(&point);
    ScreenToClient(hwnd_, &point);
    const Element* element = ElementAt(*window_, point.x, point.y);
    SetCursor(CursorFor(element != nullptr ? element->mousePointer : MousePointer::Default));
    return true;
}

HBRUSH Win32Window::OnControlColour(HWND control, HDC dc) {
    const Element* element = ControlElement(control);
    if (const auto* box = dynamic_cast<const CheckBox*>(element)) {
        SetBkColor(dc, ToColorRef(box->backColor));
        return Brush(box->backColor);
    }
    if (element != nullptr) {
        // Push buttons: the corners around the button take the window's colour.
        return Brush(window_->backColor);
    }
    return nullptr;
}

HBRUSH Win32Window::Brush(Rgb colour) {
    const std::uint32_t key = (std::uint32_t{colour.r} << 16) | (std::uint32_t{colour.g} << 8) | colour.b;
    if (const auto found = brushes_.find(key); found != brushes_.end()) {
        return found->second;
    }
    HBRUSH brush = CreateSolidBrush(ToColorRef(colour));
    if (brush != nullptr) {
        brushes_.emplace(key, brush);
    }
    return brush;
}

Element* Win32Window::ControlElement(HWND control) {
    for (const auto& [element, state] : controls_) {
        if (state.hwnd == control && Contains(*window_, element)) {
            return const_cast<Element*>(element);
        }
    }
    return nullptr;
}

void Win32Window::UpdateTooltip(Element* hovered) {
    if (tooltip_ == nullptr || hovered == tooltipElement_) {
        return;
    }
    tooltipElement_ = hovered;
    const std::wstring text = hovered != nullptr ? Wide(hovered->toolTipText) : std::wstring();
    if (text != tooltipText_) {
        // The tip showing belongs to the element the pointer left; the next one shows after the usual pause.
        SendMessageW(tooltip_, TTM_POP, 0, 0);
        tooltipText_ = text;
    }
}

void Win32Window::SyncControls() {
    if (hwnd_ == nullptr) {
        return;
    }
    // Every control element of the tree, in z-order; controls of elements that left the tree go.
    std::vector<Element*> found;
    const std::function<void(const Container&)> collect = [&](const Container& container) {
        for (Element* child : container.children()) {
            if (IsControl(*child)) {
                found.push_back(child);
            } else if (const auto* pictureBox = dynamic_cast<const PictureBox*>(child)) {
                collect(*pictureBox);
            }
        }
    };
    collect(*window_);
    for (auto it = controls_.begin(); it != controls_.end();) {
        if (std::find(found.begin(), found.end(), it->first) == found.end()) {
            DestroyWindow(it->second.hwnd);
            it = controls_.erase(it);
        } else {
            ++it;
        }
    }
    for (Element* element : found) {
        SyncControl(*element, controls_[element]);
    }
}

void Win32Window::SyncControl(Element& element, Control& control) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    if (control.hwnd == nullptr) {
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
            style |= WS_TABSTOP | BS_PUSHBUTTON;
            break;
        }
        control.hwnd = CreateWindowExW(0, controlClass, L"", style, 0, 0, 0, 0, hwnd_,
                                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
        if (control.hwnd == nullptr) {
            return;
        }
    }

    const ClientBox box = BoxInWindow(*window_, element).value_or(ClientBox{});
    const RECT rect = PixelRect(box);
    const bool shown = Shown(element);
    const int width = std::max<int>(0, rect.right - rect.left);
    const int height = std::max<int>(0, rect.bottom - rect.top);
    if (rect.left != control.left || rect.top != control.top || width != control.width || height != control.height) {
        SetWindowPos(control.hwnd, nullptr, rect.left, rect.top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
        control.left = rect.left;
        control.top = rect.top;
        control.width = width;
        control.height = height;
    }

    if (const auto* bar = dynamic_cast<const ScrollBar*>(&element)) {
        const ScrollMapping mapping = MapScrollBar(*bar);
        if (mapping.maximum != control.scroll.maximum || mapping.page != control.scroll.page ||
            mapping.position != control.scroll.position) {
            SCROLLINFO info{};
            info.cbSize = sizeof(info);
            info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
            info.nMin = 0;
            info.nMax = mapping.maximum;
            info.nPage = static_cast<UINT>(mapping.page);
            info.nPos = mapping.position;
            SetScrollInfo(control.hwnd, SB_CTL, &info, TRUE);
            control.scroll = mapping;
        }
    } else {
        const Font* font = nullptr;
        std::wstring caption;
        if (const auto* box2 = dynamic_cast<const CheckBox*>(&element)) {
            font = &box2->font;
            caption = Wide(box2->caption);
            if (box2->value != control.value) {
                SendMessageW(control.hwnd, BM_SETCHECK, box2->value == 1 ? BST_CHECKED : BST_UNCHECKED, 0);
                control.value = box2->value;
            }
        } else if (const auto* button = dynamic_cast<const Button*>(&element)) {
            font = &button->font;
            caption = Wide(button->caption);
        }
        if (font != nullptr) {
            HFONT handle = fonts_.Get(*font);
            if (handle != control.font) {
                SendMessageW(control.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(handle), TRUE);
                control.font = handle;
            }
        }
        if (caption != control.caption) {
            SetWindowTextW(control.hwnd, caption.c_str());
            control.caption = caption;
        }
    }

    if (shown != control.shown) {
        ShowWindow(control.hwnd, shown ? SW_SHOWNA : SW_HIDE);
        control.shown = shown;
    }
}

void Win32Window::SyncTimers() {
    if (hwnd_ == nullptr) {
        return;
    }
    const std::vector<Timer*>& timers = window_->timers;
    // Timers beyond the window's list (it never shrinks in practice) are stopped.
    for (std::size_t i = timers.size(); i < timers_.size(); ++i) {
        if (timers_[i].timer != nullptr) {
            KillTimer(hwnd_, i + 1);
        }
    }
    timers_.resize(timers.size());
    for (std::size_t i = 0; i < timers.size(); ++i) {
        const Timer* timer = timers[i];
        RunningTimer& running = timers_[i];
        const bool wanted = timer != nullptr && timer->enabled && timer->interval > 0;
        if (wanted) {
            // A timer switched on while it runs keeps its period; a new interval starts a new one.
            if (running.timer != timer || running.interval != timer->interval) {
                SetTimer(hwnd_, i + 1, static_cast<UINT>(timer->interval), nullptr);
                running = RunningTimer{timer, timer->interval};
            }
        } else if (running.timer != nullptr) {
            KillTimer(hwnd_, i + 1);
            running = RunningTimer{};
        }
    }
}

void Win32Window::SyncFocus() {
    HWND focus = GetFocus();
    if (focus == nullptr || (focus != hwnd_ && !IsChild(hwnd_, focus))) {
        return; // the keyboard is elsewhere: nothing here takes it
    }
    HWND wanted = hwnd_;
    if (window_->focused != nullptr) {
        if (const auto found = controls_.find(window_->focused); found != controls_.end() && found->second.shown) {
            wanted = found->second.hwnd;
        }
    }
    if (focus != wanted) {
        SetFocus(wanted);
    }
}

void Win32Window::SyncCursor() {
    // A pointer shape that changed without the pointer moving (the hourglass ending) shows at once.
    POINT point{};
    if (!GetCursorPos(&point) || !IsWindowEnabled(hwnd_)) {
        return;
    }
    HWND under = WindowFromPoint(point);
    if (under != hwnd_ && !IsChild(hwnd_, under)) {
        return;
    }
    if (under == hwnd_ || window_->mousePointer != MousePointer::Default) {
        static_cast<void>(OnSetCursor(hwnd_));
    }
}

// ---- message loops ----

int RunMessageLoop() {
    MSG msg{};
    for (;;) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            return static_cast<int>(msg.wParam);
        }
        if (got < 0) {
            return 1;
        }
        Dispatch(msg);
    }
}

bool RunModalLoop(const std::function<bool()>& done) {
    MSG msg{};
    while (!done()) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return false;
        }
        if (got < 0) {
            return false;
        }
        Dispatch(msg);
    }
    return true;
}

} // namespace platform
