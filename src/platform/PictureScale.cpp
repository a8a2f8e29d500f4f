// Picture scaling by replication up to a whole multiple and an area average down to the target.
#include "platform/PictureScale.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace platform {
namespace {

// What one target pixel takes from the source along one axis: source pixels [first, first + weights.size())
// with those weights, which add up to the axis's total.
struct Taps {
    int first = 0;
    std::vector<std::int64_t> weights;
};

// The taps of every target pixel along an axis of `source` pixels scaled to `target`, the source seen as
// pixels of one colour each (which is what replicating it to a whole multiple makes): in units of
// 1 / (source * target) of the axis, target pixel t covers [t * source, (t + 1) * source) and source pixel s
// covers [s * target, (s + 1) * target), and the weight is their overlap. The total is `source`.
std::vector<Taps> AxisTaps(int source, int target) {
    std::vector<Taps> taps(static_cast<std::size_t>(target));
    for (std::int64_t t = 0; t < target; ++t) {
        const std::int64_t begin = t * source;
        const std::int64_t end = begin + source;
        Taps& tap = taps[static_cast<std::size_t>(t)];
        tap.first = static_cast<int>(begin / target);
        for (std::int64_t s = tap.first; s < source && s * target < end; ++s) {
            tap.weights.push_back(std::min(end, (s + 1) * target) - std::max(begin, s * target));
        }
    }
    return taps;
}

} // namespace

Bitmap ScalePicture(const Bitmap& source, int width, int height) {
    Bitmap result;
    if (source.width <= 0 || source.height <= 0 || width <= 0 || height <= 0 ||
        source.pixels.size() != static_cast<std::size_t>(source.width) * static_cast<std::size_t>(source.height)) {
        return result;
    }
    const std::vector<Taps> tapsX = AxisTaps(source.width, width);
    const std::vector<Taps> tapsY = AxisTaps(source.height, height);
    const std::int64_t area = std::int64_t{source.width} * source.height;
    result = Bitmap(width, height, kBlack);
    for (int y = 0; y < height; ++y) {
        const Taps& ty = tapsY[static_cast<std::size_t>(y)];
        for (int x = 0; x < width; ++x) {
            const Taps& tx = tapsX[static_cast<std::size_t>(x)];
            // Colours are summed premultiplied by their alpha, so that a transparent pixel lends no colour to
            // the opaque one beside it.
            std::int64_t alpha = 0, red = 0, green = 0, blue = 0;
            for (std::size_t j = 0; j < ty.weights.size(); ++j) {
                for (std::size_t i = 0; i < tx.weights.size(); ++i) {
                    const std::uint32_t p = source.At(tx.first + static_cast<int>(i), ty.first + static_cast<int>(j));
                    const std::int64_t w = tx.weights[i] * ty.weights[j] * static_cast<std::int64_t>(p >> 24);
                    alpha += w;
                    red += w * ((p >> 16) & 0xFF);
                    green += w * ((p >> 8) & 0xFF);
                    blue += w * (p & 0xFF);
                }
            }
            if (alpha == 0) {
                result.Set(x, y, 0);
                continue;
            }
            const auto channel = [alpha](std::int64_t sum) {
                return static_cast<std::uint32_t>((sum + alpha / 2) / alpha);
            };
            const auto a = static_cast<std::uint32_t>((alpha + area / 2) / area);
            result.Set(x, y, a << 24 | channel(red) << 16 | channel(green) << 8 | channel(blue));
        }
    }
    return result;
}

const Bitmap& ScaledPictures::Get(const Picture& picture, int width, int height) {
    const auto key = std::make_tuple(picture.get(), width, height);
    auto found = entries_.find(key);
    if (found != entries_.end() && found->second.source.lock() == picture) {
        return found->second.scaled;
    }
    std::erase_if(entries_, [](const auto& entry) { return entry.second.source.expired(); });
    Entry& entry = entries_[key];
    entry.source = picture;
    const bool detailed = picture->detail && picture->detail->width > picture->width;
    entry.scaled = ScalePicture(detailed ? *picture->detail : *picture, width, height);
    return entry.scaled;
}

} // namespace platform
