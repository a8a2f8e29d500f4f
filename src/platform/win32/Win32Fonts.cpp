// Fonts of the Win32 backend: GDI fonts at a window's resolution, made once per resolution, face, size and
// weight, and text measured with them.
#include "platform/win32/Win32Fonts.h"

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <utility>

namespace platform {

GdiFonts::GdiFonts() : measuringDc_(MakeMemoryDc()) {}

int GdiFonts::PixelHeight(const Font& font, const DisplayScale& scale) {
    // Points are 1/72 inch. A size that cannot be drawn becomes the smallest font rather than GDI's default.
    const double pixels = font.size * scale.dpi() / 72.0;
    if (!std::isfinite(pixels) || pixels < 1) {
        return 1;
    }
    return static_cast<int>(std::lround(std::min(pixels, 10000.0)));
}

HFONT GdiFonts::Get(const Font& font, const DisplayScale& scale) const {
    auto key = std::make_tuple(scale.dpi(), font.face, font.size, font.bold);
    if (const auto found = fonts_.find(key); found != fonts_.end()) {
        return found->second.Get();
    }
    const std::wstring face = Wide(font.face.substr(0, LF_FACESIZE - 1));
    // A negative height asks for the character height (the em), which is what a size in points means.
    FontHandle made(CreateFontW(-PixelHeight(font, scale), 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE,
                                FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY,
                                DEFAULT_PITCH | FF_SWISS, face.c_str()));
    if (!made.Valid()) {
        return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    }
    HFONT handle = made.Get();
    fonts_.emplace(std::move(key), std::move(made));
    return handle;
}

TextSize GdiFonts::Measure(const Font& font, TextView text, const DisplayScale& scale) const {
    if (!measuringDc_.Valid()) {
        return TextSize{};
    }
    const Selection selected(measuringDc_.Get(), Get(font, scale));
    TEXTMETRICW metrics{};
    GetTextMetricsW(measuringDc_.Get(), &metrics);
    const double lineHeight = scale.ToDesign(metrics.tmHeight);
    if (text.empty()) {
        return TextSize{0, lineHeight};
    }
    const std::wstring wide = Wide(text);
    SIZE size{};
    if (!GetTextExtentPoint32W(measuringDc_.Get(), wide.c_str(), static_cast<int>(wide.size()), &size)) {
        return TextSize{0, lineHeight};
    }
    return TextSize{scale.ToDesign(size.cx), scale.ToDesign(size.cy)};
}

} // namespace platform
