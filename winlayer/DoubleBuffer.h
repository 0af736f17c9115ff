#pragma once
#include "winlayer/GdiObject.h"
#include "winlayer/MemoryDC.h"
#include "winlayer/ObjectSelection.h"

#include <windows.h>

#include <gdiplus.h>

#include <memory>

namespace winlayer {

// Flicker-free painting: draw into Dc() or Graphics() (GDI+ on the same bitmap), and the
// destructor copies the finished picture onto the target area in one piece. The buffer's
// point (0, 0) is the area's top-left corner. GDI+ must have been started by the program.
class DoubleBuffer {
public:
    DoubleBuffer(HDC target, const RECT& area);
    ~DoubleBuffer();
    DoubleBuffer(const DoubleBuffer&) = delete;
    DoubleBuffer& operator=(const DoubleBuffer&) = delete;

    HDC Dc() const { return memory_.Get(); }
    int Width() const { return area_.right - area_.left; }
    int Height() const { return area_.bottom - area_.top; }
    // Created on first use; its drawing is flushed before the copy.
    Gdiplus::Graphics& Graphics();

private:
    HDC target_;
    RECT area_;
    MemoryDC memory_;
    BitmapHandle bitmap_;
    ObjectSelection selection_;
    std::unique_ptr<Gdiplus::Graphics> graphics_;
};

} // namespace winlayer
