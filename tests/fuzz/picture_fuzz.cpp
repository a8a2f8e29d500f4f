// Fuzz harness: the bitmap decoder. Holds: no sanitizer report; a decoded picture has sides of 1 to
// kMaxPictureSide pixels and all its pixels, and encoding and decoding it again gives it back.
#include "FuzzSupport.h"
#include "platform/Picture.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto bitmap = platform::DecodeBmp(std::string_view(reinterpret_cast<const char*>(data), size));
    if (bitmap) {
        fuzzing::Check(bitmap->width >= 1 && bitmap->width <= platform::kMaxPictureSide && bitmap->height >= 1 &&
                           bitmap->height <= platform::kMaxPictureSide,
                       "sides within the limit");
        fuzzing::Check(bitmap->pixels.size() == static_cast<std::size_t>(bitmap->width) * bitmap->height,
                       "every pixel there");
        fuzzing::Check(platform::DecodeBmp(platform::EncodeBmp(*bitmap)) == bitmap, "encoded and decoded again");
    }
    return 0;
}
