#pragma once

#include "winlayer/GdiObject.h"

#include <string>

// Loads an image file into `bitmap`, replacing what it held, and stores the picture's width and
// height in `size`. Formats are those the platform's picture loader decodes into a bitmap (BMP,
// JPEG, GIF; PNG only where the loader reads it). On any failure (missing, unreadable, empty or
// undecodable file, a picture that is not a bitmap) `bitmap` is left empty, `size` is 0 x 0 and
// the result is false.
bool LoadPictureFile(const std::wstring& fileName, winlayer::BitmapHandle& bitmap, SIZE& size);
