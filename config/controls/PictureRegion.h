#pragma once

#include "winlayer/GdiObject.h"

#include <windows.h>

#include <gdiplus.h>

// Window regions from skin pictures (PNG, JPG or BMP loaded with GDI+): every pixel whose colour
// is not the key colour belongs to the region. Pictures are flattened onto black first, so a
// see-through pixel counts as black. Empty when there is no picture or it cannot be converted.

// keyColour is a COLORREF; -1 keys out pure white.
winlayer::RegionHandle RegionFromPicture(Gdiplus::Bitmap* picture, COLORREF keyColour);
// The key colour is the picture's own left pixel of row keyRow.
winlayer::RegionHandle RegionFromPictureKeyedAt(Gdiplus::Bitmap* picture, int keyRow);
