#pragma once

#include <windows.h>

#include <gdiplus.h>

#include <memory>
#include <string>

// Pictures the controls own: loaded from a skin file or cut out of a page picture the caller
// keeps. A null pointer stands for a picture that could not be made; nothing is drawn for it.
using PicturePtr = std::unique_ptr<Gdiplus::Bitmap>;

// What a control paints where its picture is missing: one quiet colour instead of whatever the
// window's pixels held before.
constexpr COLORREF kPlainBackground = RGB(18, 22, 29);

// Through the system's imaging decoders while a PictureDecoding is open on the thread, else
// through GDI+; null when neither reads the file.
PicturePtr LoadPicture(const std::wstring& path);
// A picture that loaded and has pixels.
bool IsUsablePicture(Gdiplus::Image* picture);
// A copy of the rectangle (x, y, width, height) of source; null unless source is usable and
// holds the whole rectangle.
PicturePtr CutPicture(Gdiplus::Bitmap* source, int x, int y, int width, int height);
// Draws the whole picture stretched over dest, without blending its edges with what lies
// outside it; a picture that is not usable leaves dest in the plain background.
void DrawStretched(Gdiplus::Graphics& graphics, Gdiplus::Image* picture, const Gdiplus::Rect& dest);
// 0xFFRRGGBB of a COLORREF.
Gdiplus::Color OpaqueColor(COLORREF color);
