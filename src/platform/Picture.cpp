#include "platform/Picture.h"

namespace platform {

// TODO: not written yet
Bitmap::Bitmap(int w, int h, Rgb fill) : width(w), height(h), pixels(static_cast<std::size_t>(w * h), Argb(fill)) {}
Rgb Bitmap::ColourAt(int, int) const { return {}; }
std::optional<Bitmap> DecodeBmp(std::string_view) { return std::nullopt; }
std::string EncodeBmp(const Bitmap&) { return {}; }
void DrawOver(Bitmap&, const Bitmap&, int, int) {}
void CopyBlock(Bitmap&, int, int, const Bitmap&, int, int, int, int) {}

} // namespace platform
