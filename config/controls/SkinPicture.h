#pragma once

#include <windows.h>

#include <gdiplus.h>

#include <memory>
#include <string>

// Pictures the controls own: loaded from a skin file or cut out of a page picture the caller
// keeps. A null pointer stands for a picture that could not be made; nothing is drawn for it.
using PicturePtr = std::unique_ptr<Gdiplus::Bitmap>;

PicturePtr LoadPicture(const std::wstring& path);
// A copy of the rectangle (x, y, width, height) of source.
PicturePtr CutPicture(Gdiplus::Bitmap* source, int x, int y, int width, int height);
// Draws the whole picture stretched over dest, without blending its edges with what lies
// outside it.
void DrawStretched(Gdiplus::Graphics& graphics, Gdiplus::Image* picture, const Gdiplus::Rect& dest);
// 0xFFRRGGBB of a COLORREF.
Gdiplus::Color OpaqueColor(COLORREF color);
