// Painting the element tree with GDI into a DIB section: fills, labels (DrawTextW), pictures
// (StretchDIBits, or a blend by alpha in software), picture box surfaces, each clipped to its picture box,
// and the keyboard focus ring over them.
#include "platform/win32/Win32Paint.h"

#include "platform/PictureScale.h"

#include <windows.h>

#include <algorithm>
#include <climits>
#include <cmath>

namespace platform {

namespace {

bool Opaque(const Bitmap& bitmap) {
    return std::all_of(bitmap.pixels.begin(), bitmap.pixels.end(), [](std::uint32_t p) { return (p >> 24) == 0xFF; });
}

// Draws a window's elements into a surface, back to front, each picture box clipping its children.
class Painter {
public:
    // The surface holds the window's rows from `top` (client pixels) down.
    Painter(DibSection& surface, int top, const DisplayScale& scale, const GdiFonts& fonts, ScaledPictures& pictures,
            const std::optional<SystemColours>& highContrast)
        : dc_(surface.Dc()), surface_(surface), top_(top), fonts_(fonts), scale_(scale), pictures_(pictures),
          highContrast_(highContrast) {}

    // Only the columns from `left` to `right`: an element wholly outside them is not drawn.
    void PaintWindow(const Window& window, int left, int right) {
        const RECT all{std::max(0, left), 0, std::min(surface_.width(), right), surface_.height()};
        Fill(all, Ground(window.backColor));
        PaintChildren(window, 0, 0, all);
        if (const std::optional<FocusRing> ring = FocusRingOf(window)) {
            DrawFocusRing(*ring);
        }
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
        const PixelRect pixels = scale_.ToDevice(box);
        // Rounded in client pixels first, then moved to the surface's rows, so that every band of the window
        // rounds its edges alike.
        const RECT rect{pixels.left, pixels.top - top_, pixels.right, pixels.bottom - top_};
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
                // At the design resolution GDI stretches the picture as it always has; above it the copy
                // scaled to the device size is drawn one to one.
                DrawPicture(scale_.IsDesign() ? *picture
                                              : pictures_.Get(picture, rect.right - rect.left, rect.bottom - rect.top),
                            rect, visible);
            }
            break;
        case Element::Kind::PictureBox: {
            const auto& pictureBox = static_cast<const PictureBox&>(element);
            Fill(visible, Ground(pictureBox.backColor));
            // The drawing surface keeps its own size: it is not stretched to the box.
            const Bitmap& surface = pictureBox.surface();
            if (surface.width > 0 && surface.height > 0) {
                if (scale_.IsDesign()) {
                    const RECT at{rect.left, rect.top, rect.left + surface.width, rect.top + surface.height};
                    DrawPicture(surface, at, visible);
                } else {
                    const PixelRect size =
                        scale_.ToDevice(ClientBox{box.left, box.top, double(surface.width), double(surface.height)});
                    const RECT at{size.left, size.top - top_, size.right, size.bottom - top_};
                    DrawPicture(ScalePicture(surface, size.Width(), size.Height()), at, visible);
                }
            }
            PaintChildren(pictureBox, box.left, box.top, visible);
            break;
        }
        case Element::Kind::Shape:
            Fill(visible, Ground(static_cast<const Shape&>(element).fillColor));
            break;
        case Element::Kind::ScrollBar:
        case Element::Kind::CheckBox:
        case Element::Kind::Button:
            break; // controls of their own
        }
    }

    Rgb Ground(Rgb design) const { return SchemeColour(design, ColourUse::Ground, highContrast_); }

    void Fill(const RECT& rect, Rgb colour) {
        const BrushHandle brush(CreateSolidBrush(ColourRef(colour)));
        if (brush.Valid()) {
            FillRect(dc_, &rect, brush.Get());
        }
    }

    void PaintLabel(const Label& label, const RECT& rect, const RECT& visible) {
        if (label.backColor) {
            Fill(visible, Ground(*label.backColor));
        }
        if (label.caption().empty()) {
            return;
        }
        const SavedDc saved(dc_);
        IntersectClipRect(dc_, visible.left, visible.top, visible.right, visible.bottom);
        const Selection font(dc_, fonts_.Get(label.font(), scale_));
        SetTextColor(dc_, ColourRef(SchemeColour(label.foreColor, ColourUse::Text, highContrast_)));
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
            FillBitmapInfo(&info, picture.width, picture.height);
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
        const RECT buffer{0, 0, surface_.width(), surface_.height()};
        RECT inside{};
        if (!IntersectRect(&inside, &rect, &clip) || !IntersectRect(&area, &inside, &buffer)) {
            return;
        }
        std::uint32_t* bits = surface_.Bits();
        const auto stride = static_cast<std::size_t>(surface_.width());
        for (int y = area.top; y < area.bottom; ++y) {
            const int sy = static_cast<int>(static_cast<long long>(y - rect.top) * picture.height / destHeight);
            for (int x = area.left; x < area.right; ++x) {
                const int sx = static_cast<int>(static_cast<long long>(x - rect.left) * picture.width / destWidth);
                std::uint32_t& under = bits[static_cast<std::size_t>(y) * stride + static_cast<std::size_t>(x)];
                under = BlendOver(picture.At(sx, sy), under);
            }
        }
    }

    // A dotted rectangle one pixel outside the ring's box, leaving a pixel between: every other pixel of
    // its edges, counted in client pixels so that the bands agree, inverted so that it shows on any ground
    // (under high contrast, in the system's highlight colour).
    void DrawFocusRing(const FocusRing& ring) {
        std::optional<std::uint32_t> highlight; // a pixel of the surface: 0xAARRGGBB
        if (highContrast_) {
            const Rgb c = highContrast_->highlight;
            highlight = 0xFF000000u | (std::uint32_t{c.r} << 16) | (std::uint32_t{c.g} << 8) | c.b;
        }
        GdiFlush();
        const PixelRect box = scale_.ToDevice(ring.box);
        const PixelRect clip = ring.clip ? scale_.ToDevice(*ring.clip) : PixelRect{INT_MIN, INT_MIN, INT_MAX, INT_MAX};
        const int left = box.left - 2, top = box.top - 2, right = box.right + 1, bottom = box.bottom + 1;
        const auto dot = [&](int x, int y) {
            const int row = y - top_;
            if ((x + y) % 2 != 0 || x < clip.left || x >= clip.right || y < clip.top || y >= clip.bottom || x < 0 ||
                x >= surface_.width() || row < 0 || row >= surface_.height()) {
                return;
            }
            std::uint32_t& pixel =
                surface_.Bits()[static_cast<std::size_t>(row) * static_cast<std::size_t>(surface_.width()) +
                                static_cast<std::size_t>(x)];
            pixel = highlight ? *highlight : pixel ^ 0x00FFFFFFu;
        };
        for (int x = left; x <= right; ++x) {
            dot(x, top);
            dot(x, bottom);
        }
        for (int y = top + 1; y < bottom; ++y) {
            dot(left, y);
            dot(right, y);
        }
    }

    HDC dc_;
    DibSection& surface_;
    int top_;
    const GdiFonts& fonts_;
    DisplayScale scale_;
    ScaledPictures& pictures_;
    std::optional<SystemColours> highContrast_;
};

} // namespace

void PaintWindow(const Window& window, DibSection& surface, int top, const DisplayScale& scale, const GdiFonts& fonts,
                 ScaledPictures& pictures, const std::optional<SystemColours>& highContrast, int left, int right) {
    if (surface.Valid()) {
        Painter(surface, top, scale, fonts, pictures, highContrast).PaintWindow(window, left, right);
    }
}
std::optional<SystemColours> ReadHighContrast() {
    HIGHCONTRASTW contrast{};
    contrast.cbSize = sizeof(contrast);
    if (!SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(contrast), &contrast, 0) ||
        (contrast.dwFlags & HCF_HIGHCONTRASTON) == 0) {
        return std::nullopt;
    }
    const auto colour = [](int index) {
        const COLORREF c = GetSysColor(index);
        return Rgb{GetRValue(c), GetGValue(c), GetBValue(c)};
    };
    return SystemColours{colour(COLOR_WINDOW),        colour(COLOR_WINDOWTEXT),  colour(COLOR_GRAYTEXT),
                         colour(COLOR_ACTIVECAPTION), colour(COLOR_CAPTIONTEXT), colour(COLOR_BTNFACE),
                         colour(COLOR_BTNTEXT),       colour(COLOR_HIGHLIGHT)};
}

Bitmap RenderWindow(const Window& window, int width, int height, const GdiFonts& fonts, const DisplayScale& scale,
                    const std::optional<SystemColours>& highContrast) {
    Bitmap result;
    if (width <= 0 || height <= 0) {
        return result;
    }
    // The same painter and the same bands as the window's own paint.
    ScaledPictures pictures;
    DibSection band(width, kPaintBandRows);
    if (!band.Valid()) {
        return result;
    }
    result.width = width;
    result.height = height;
    result.pixels.reserve(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (int top = 0; top < height; top += kPaintBandRows) {
        PaintWindow(window, band, top, scale, fonts, pictures, highContrast);
        GdiFlush();
        const std::uint32_t* bits = band.Bits();
        const int rows = std::min(kPaintBandRows, height - top);
        result.pixels.insert(result.pixels.end(), bits, bits + static_cast<std::size_t>(width) * rows);
    }
    for (std::uint32_t& pixel : result.pixels) {
        pixel |= 0xFF000000u; // GDI leaves the fourth byte alone; the picture is opaque
    }
    return result;
}

} // namespace platform
