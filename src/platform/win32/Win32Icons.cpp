// Program icons for tiles without a picture of their own: the icon of an executable (ExtractIconW, through
// the shell library loaded at the first icon) as a 32 x 32 pixel picture with its transparency; above the
// design resolution it carries the icon as the system draws it at the device size (PrivateExtractIconsW
// picks the nearest size the file has), so that a tile shows it sharp rather than enlarged.
#include "platform/win32/Win32System.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

namespace platform {
namespace {

// The size of the icon picture the core gets, in design pixels: the size a tile's icon square is copied at.
constexpr int kIconSize = 32;
using IconPixels = std::vector<std::uint32_t>;

// The icon drawn size x size pixels on a ground of one colour (0x00RRGGBB); nothing when GDI failed.
std::optional<IconPixels> DrawIconOnGround(DibSection& surface, HICON icon, int size, std::uint32_t ground) {
    if (!surface.Valid()) {
        return std::nullopt;
    }
    GdiFlush();
    std::uint32_t* bits = surface.Bits();
    const auto count = static_cast<std::size_t>(size) * static_cast<std::size_t>(size);
    std::fill(bits, bits + count, ground);
    if (!DrawIconEx(surface.Dc(), 0, 0, icon, size, size, 0, nullptr, DI_NORMAL)) {
        return std::nullopt;
    }
    GdiFlush();
    return IconPixels(bits, bits + count);
}

// The icon as a picture with its own transparency. GDI does not say what an icon leaves of the ground, so
// the icon is drawn on black and on white: where it is opaque both agree, where it is transparent the
// difference is the whole ground, and in between the difference gives the alpha.
std::optional<Bitmap> IconPicture(HICON icon, int size) {
    DibSection surface(size, size);
    const auto onBlack = DrawIconOnGround(surface, icon, size, 0x00000000u);
    const auto onWhite = DrawIconOnGround(surface, icon, size, 0x00FFFFFFu);
    if (!onBlack || !onWhite) {
        return std::nullopt;
    }
    Bitmap picture(size, size, Rgb{0, 0, 0});
    for (std::size_t i = 0; i < onBlack->size(); ++i) {
        const std::uint32_t black = (*onBlack)[i];
        const std::uint32_t white = (*onWhite)[i];
        int difference = 0;
        for (int shift = 0; shift <= 16; shift += 8) {
            difference += static_cast<int>((white >> shift) & 0xFF) - static_cast<int>((black >> shift) & 0xFF);
        }
        const int alpha = std::clamp(255 - (difference + 1) / 3, 0, 255);
        std::uint32_t pixel = static_cast<std::uint32_t>(alpha) << 24;
        if (alpha > 0) {
            // On black the icon's colour is scaled by its alpha; undo that.
            for (int shift = 0; shift <= 16; shift += 8) {
                const int scaled = static_cast<int>((black >> shift) & 0xFF);
                const int channel = std::min(255, (scaled * 255 + alpha / 2) / alpha);
                pixel |= static_cast<std::uint32_t>(channel) << shift;
            }
        }
        picture.pixels[i] = pixel;
    }
    return picture;
}

} // namespace

std::optional<Bitmap> Win32System::FileIcon(TextView file, int index) {
    if (file.empty() || HasNul(file) || index < 0) {
        return std::nullopt; // a negative index would name an icon by its resource id instead
    }
    const std::wstring path = Wide(file);
    HICON icon = shared_.libraries.ExtractFileIcon(path.c_str(), static_cast<UINT>(index));
    // NULL: no icon; 1: the file is no executable, library or icon file.
    if (reinterpret_cast<UINT_PTR>(icon) <= 1) {
        return std::nullopt;
    }
    const IconHandle owned(icon);
    std::optional<Bitmap> picture = IconPicture(owned.Get(), kIconSize);
    const int deviceSize = Scale().ToDevice(kIconSize);
    if (!picture || deviceSize <= kIconSize) {
        return picture;
    }
    HICON large = nullptr;
    UINT id = 0;
    if (PrivateExtractIconsW(path.c_str(), index, deviceSize, deviceSize, &large, &id, 1, 0) == 1 && large != nullptr) {
        const IconHandle ownedLarge(large);
        if (std::optional<Bitmap> detail = IconPicture(ownedLarge.Get(), deviceSize)) {
            picture->detail = std::make_shared<const Bitmap>(std::move(*detail));
        }
    }
    return picture;
}

} // namespace platform
