#pragma once

#include "winlayer/GdiObject.h"

// A region covering every pixel of `bitmap` whose colour lies outside the key range, for
// skinned, non-rectangular windows. The key range of each colour channel runs from that
// channel of `keyColour` to the same channel plus the one of `tolerance`, capped at 255; a pixel
// is see-through when all three of its channels lie in their ranges. Both are COLORREF values
// (red in the low byte); the byte above blue is ignored, so -1 means pure white. Row 0 is the
// top row of the picture. Empty when `bitmap` is null or the work bitmaps cannot be made.
winlayer::RegionHandle CreateRegionFromBitmap(HBITMAP bitmap, COLORREF keyColour, COLORREF tolerance);
