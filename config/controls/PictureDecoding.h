#pragma once

#include "config/controls/SkinPicture.h"

#include <windows.h>

#include <unknwn.h>

#include <array>
#include <string>

struct IWICBitmapDecoder;
struct IWICImagingFactory;

// While one is open on a thread, LoadPicture there decodes through the system's imaging
// decoders, set up once for every picture the scope sees. GDI+ reading a file also reads all the
// metadata in it and finds its decoder anew, which costs more than decoding a small picture.
// The scope keeps COM on its thread while it lives; a thread already in an apartment keeps that.
class PictureDecoding {
public:
    PictureDecoding();
    ~PictureDecoding();
    PictureDecoding(const PictureDecoding&) = delete;
    PictureDecoding& operator=(const PictureDecoding&) = delete;

    // The innermost scope open on this thread, or null.
    static PictureDecoding* Current();

    // The first frame of the file, or null when the decoders cannot read it.
    PicturePtr Decode(const std::wstring& path);

private:
    // The formats whose decoders the scope makes directly, found by their files' first bytes.
    enum Format { kPng, kBmp, kJpeg, kGif, kFormatCount };

    // A new decoder of the format, or null.
    IWICBitmapDecoder* Decoder(Format format);

    HRESULT m_com;
    IWICImagingFactory* m_imaging = nullptr;
    std::array<IClassFactory*, kFormatCount> m_decoders{};
    PictureDecoding* m_outer;
};
