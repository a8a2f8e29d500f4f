// Scaling pictures to device pixels so that pixel art stays clean: tile art and icons are drawn in whole
// design pixels, and at 150% a plain nearest-neighbour stretch would make every other source pixel two
// device pixels wide and the rest one. Standard library only: it is tested on the host.
#pragma once

#include "platform/Picture.h"

namespace platform {

// The picture at width x height pixels: each source pixel replicated to the next whole multiple of the
// source size at or above the target, and that averaged down over the area each target pixel covers
// (colours weighted by their alpha), which is the same as averaging the source's pixels by how much of
// each a target pixel covers. At a whole-number ratio this is plain pixel replication; at 150% every source
// pixel keeps an even width, with edges softened by at most one device pixel. An empty picture, or an
// empty target, gives an empty picture.
Bitmap ScalePicture(const Bitmap& source, int width, int height);

} // namespace platform
