#include "shared/gfx/StretchDrawBitmap.h"

#include "shared/gfx/CMemoryDC.h"

#include <climits>

bool StretchDrawBitmap(HDC dc, winlayer::BitmapHandle& target, const winlayer::BitmapHandle& source, int left, int top,
                       int right, int bottom) {
    const long long width = static_cast<long long>(right) - left;
    const long long height = static_cast<long long>(bottom) - top;
    if (!source || width <= 0 || height <= 0 || width > INT_MAX || height > INT_MAX)
        return false;
    winlayer::BitmapHandle cut(CreateCompatibleBitmap(dc, static_cast<int>(width), static_cast<int>(height)));
    if (!cut)
        return false;
    {
        CMemoryDC from(dc, source.Get());
        CMemoryDC to(dc, cut.Get());
        if (!from.IsValid() || !to.IsValid() ||
            !BitBlt(to.Get(), 0, 0, static_cast<int>(width), static_cast<int>(height), from.Get(),
                    left, top, SRCCOPY))
            return false;
    }
    // Only now is the old bitmap let go: it may be the source just copied from.
    target = std::move(cut);
    return true;
}
