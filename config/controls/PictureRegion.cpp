#include "config/controls/PictureRegion.h"

#include "shared/gfx/CMemoryDC.h"
#include "shared/gfx/CreateRegionFromBitmap.h"

#include <optional>

namespace {
winlayer::BitmapHandle Flatten(Gdiplus::Bitmap* picture) {
    HBITMAP raw = nullptr;
    if (picture == nullptr ||
        picture->GetHBITMAP(Gdiplus::Color(0xFF000000), &raw) != Gdiplus::Ok) {
        return {};
    }
    return winlayer::BitmapHandle(raw);
}

winlayer::RegionHandle Region(Gdiplus::Bitmap* picture, std::optional<COLORREF> key, int keyRow) {
    const winlayer::BitmapHandle bitmap = Flatten(picture);
    if (!bitmap) {
        return {};
    }
    if (!key) {
        const CMemoryDC dc(nullptr, bitmap.Get());
        if (!dc.IsValid()) {
            return {};
        }
        key = GetPixel(dc.Get(), 0, keyRow);
    }
    return CreateRegionFromBitmap(bitmap.Get(), *key, 0);
}
} // namespace

winlayer::RegionHandle RegionFromPicture(Gdiplus::Bitmap* picture, COLORREF keyColour) {
    return Region(picture, keyColour, 0);
}

winlayer::RegionHandle RegionFromPictureKeyedAt(Gdiplus::Bitmap* picture, int keyRow) {
    return Region(picture, std::nullopt, keyRow);
}
