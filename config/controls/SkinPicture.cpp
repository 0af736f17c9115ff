#include "config/controls/SkinPicture.h"

#include "config/controls/PictureDecoding.h"

PicturePtr LoadPicture(const std::wstring& path) {
    if (PictureDecoding* decoding = PictureDecoding::Current()) {
        if (PicturePtr decoded = decoding->Decode(path)) {
            return decoded;
        }
    }
    PicturePtr picture(Gdiplus::Bitmap::FromFile(path.c_str()));
    if (picture && picture->GetLastStatus() != Gdiplus::Ok) {
        picture.reset();
    }
    return picture;
}

bool IsUsablePicture(Gdiplus::Image* picture) {
    return picture != nullptr && picture->GetLastStatus() == Gdiplus::Ok &&
           picture->GetWidth() > 0 && picture->GetHeight() > 0;
}

PicturePtr CutPicture(Gdiplus::Bitmap* source, int x, int y, int width, int height) {
    if (!IsUsablePicture(source) || width <= 0 || height <= 0 || x < 0 || y < 0 ||
        x + width > static_cast<int>(source->GetWidth()) ||
        y + height > static_cast<int>(source->GetHeight())) {
        return nullptr;
    }
    PicturePtr cut(source->Clone(Gdiplus::Rect(x, y, width, height), PixelFormat32bppARGB));
    if (cut && cut->GetLastStatus() != Gdiplus::Ok) {
        cut.reset();
    }
    return cut;
}

void DrawStretched(Gdiplus::Graphics& graphics, Gdiplus::Image* picture,
                   const Gdiplus::Rect& dest) {
    if (!IsUsablePicture(picture)) {
        Gdiplus::SolidBrush plain(OpaqueColor(kPlainBackground));
        graphics.FillRectangle(&plain, dest);
        return;
    }
    Gdiplus::ImageAttributes attributes;
    attributes.SetWrapMode(Gdiplus::WrapModeTileFlipXY);
    graphics.DrawImage(picture, dest, 0, 0, static_cast<INT>(picture->GetWidth()),
                       static_cast<INT>(picture->GetHeight()), Gdiplus::UnitPixel, &attributes);
}

Gdiplus::Color OpaqueColor(COLORREF color) {
    return Gdiplus::Color(255, GetRValue(color), GetGValue(color), GetBValue(color));
}
