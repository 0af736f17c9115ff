#pragma once

#include "winlayer/GdiObject.h"

// Cuts the rectangle (left, top)-(right, bottom) out of `source` 1:1 into a new bitmap
// compatible with `dc`, which replaces the bitmap of `target`. `target` may be `source` itself.
// False, with `target` unchanged, when `source` is empty, the rectangle is empty or the new
// bitmap cannot be made.
bool StretchDrawBitmap(HDC dc, winlayer::BitmapHandle& target, const winlayer::BitmapHandle& source, int left, int top,
                       int right, int bottom);
