// Scaling pictures to device pixels so that pixel art stays clean: tile art and icons are drawn in whole
// design pixels, and at 150% a plain nearest-neighbour stretch would make every other source pixel two
// device pixels wide and the rest one. Standard library only: it is tested on the host.
#pragma once

#include "platform/Picture.h"

#include <cstddef>
#include <map>
#include <memory>
#include <tuple>

namespace platform {

// The picture at width x height pixels: each source pixel replicated to the next whole multiple of the
// source size at or above the target, and that averaged down over the area each target pixel covers
// (colours weighted by their alpha), which is the same as averaging the source's pixels by how much of
// each a target pixel covers. At a whole-number ratio this is plain pixel replication; at 150% every source
// pixel keeps an even width, with edges softened by at most one device pixel. An empty picture, or an
// empty target, gives an empty picture.
Bitmap ScalePicture(const Bitmap& source, int width, int height);

// Pictures scaled to device sizes, each made once per picture and size: a fill during a thumb drag redraws
// every tile, and scaling 50 pictures on every paint would make the drag lag. A picture is known by its
// identity, so a picture kept from one fill to the next finds its copy; the copies of pictures no longer
// alive go at the next copy made, so that however many fills make new pictures, no more copies are kept
// than pictures live.
class ScaledPictures {
public:
    // The picture at width x height device pixels; a picture the system also drew at more pixels (an icon)
    // is scaled from that rendering.
    const Bitmap& Get(const Picture& picture, int width, int height);
    std::size_t Count() const { return entries_.size(); }

private:
    struct Entry {
        std::weak_ptr<const Bitmap> source; // a copy made of a picture since freed is not used for another
        Bitmap scaled;
    };
    std::map<std::tuple<const Bitmap*, int, int>, Entry> entries_;
};

} // namespace platform
