#include "config/controls/PictureDecoding.h"

#include <wincodec.h>

#include <algorithm>
#include <initializer_list>
#include <memory>

namespace {
struct ComReleaser {
    void operator()(IUnknown* object) const { object->Release(); }
};
template <class T> using ComPtr = std::unique_ptr<T, ComReleaser>;

thread_local PictureDecoding* t_current = nullptr;

// The pixel formats that the imaging decoders and GDI+ lay out alike; others are converted.
Gdiplus::PixelFormat SameLayout(const WICPixelFormatGUID& format) {
    if (format == GUID_WICPixelFormat24bppBGR) {
        return PixelFormat24bppRGB;
    }
    if (format == GUID_WICPixelFormat32bppBGR) {
        return PixelFormat32bppRGB;
    }
    if (format == GUID_WICPixelFormat32bppBGRA) {
        return PixelFormat32bppARGB;
    }
    if (format == GUID_WICPixelFormat32bppPBGRA) {
        return PixelFormat32bppPARGB;
    }
    return PixelFormatUndefined;
}

// The frame's pixels in a GDI+ bitmap of the same size and resolution.
PicturePtr CopyFrame(IWICImagingFactory& imaging, IWICBitmapFrameDecode& frame) {
    UINT width = 0;
    UINT height = 0;
    WICPixelFormatGUID format{};
    if (FAILED(frame.GetSize(&width, &height)) || width == 0 || height == 0 ||
        FAILED(frame.GetPixelFormat(&format))) {
        return nullptr;
    }
    IWICBitmapSource* source = &frame;
    ComPtr<IWICFormatConverter> converter;
    Gdiplus::PixelFormat layout = SameLayout(format);
    if (layout == PixelFormatUndefined) {
        IWICFormatConverter* made = nullptr;
        if (FAILED(imaging.CreateFormatConverter(&made))) {
            return nullptr;
        }
        converter.reset(made);
        if (FAILED(converter->Initialize(&frame, GUID_WICPixelFormat32bppBGRA,
                                         WICBitmapDitherTypeNone, nullptr, 0,
                                         WICBitmapPaletteTypeCustom))) {
            return nullptr;
        }
        source = converter.get();
        layout = PixelFormat32bppARGB;
    }
    auto picture = std::make_unique<Gdiplus::Bitmap>(static_cast<INT>(width),
                                                     static_cast<INT>(height), layout);
    const Gdiplus::Rect all(0, 0, static_cast<INT>(width), static_cast<INT>(height));
    Gdiplus::BitmapData data{};
    if (picture->GetLastStatus() != Gdiplus::Ok ||
        picture->LockBits(&all, Gdiplus::ImageLockModeWrite, layout, &data) != Gdiplus::Ok) {
        return nullptr;
    }
    const HRESULT copied =
        source->CopyPixels(nullptr, static_cast<UINT>(data.Stride),
                           static_cast<UINT>(data.Stride) * height, static_cast<BYTE*>(data.Scan0));
    picture->UnlockBits(&data);
    if (FAILED(copied)) {
        return nullptr;
    }
    double dpiX = 0;
    double dpiY = 0;
    if (SUCCEEDED(frame.GetResolution(&dpiX, &dpiY)) && dpiX > 0 && dpiY > 0) {
        picture->SetResolution(static_cast<Gdiplus::REAL>(dpiX), static_cast<Gdiplus::REAL>(dpiY));
    }
    return picture;
}
} // namespace

PictureDecoding::PictureDecoding()
    : m_com(CoInitializeEx(nullptr, COINIT_MULTITHREADED)), m_outer(t_current) {
    if (SUCCEEDED(m_com) || m_com == RPC_E_CHANGED_MODE) {
        CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                         IID_PPV_ARGS(&m_imaging));
    }
    t_current = this;
}

PictureDecoding::~PictureDecoding() {
    t_current = m_outer;
    for (IClassFactory* decoder : m_decoders) {
        if (decoder != nullptr) {
            decoder->Release();
        }
    }
    if (m_imaging != nullptr) {
        m_imaging->Release();
    }
    if (SUCCEEDED(m_com)) {
        CoUninitialize();
    }
}

PictureDecoding* PictureDecoding::Current() {
    return t_current;
}

IWICBitmapDecoder* PictureDecoding::Decoder(Format format) {
    static constexpr std::array<const CLSID*, kFormatCount> kDecoders{
        &CLSID_WICPngDecoder, &CLSID_WICBmpDecoder, &CLSID_WICJpegDecoder, &CLSID_WICGifDecoder};
    IClassFactory*& decoders = m_decoders[format];
    if (decoders == nullptr && FAILED(CoGetClassObject(*kDecoders[format], CLSCTX_INPROC_SERVER,
                                                       nullptr, IID_PPV_ARGS(&decoders)))) {
        decoders = nullptr;
        return nullptr;
    }
    IWICBitmapDecoder* decoder = nullptr;
    if (FAILED(decoders->CreateInstance(nullptr, IID_PPV_ARGS(&decoder)))) {
        return nullptr;
    }
    return decoder;
}

PicturePtr PictureDecoding::Decode(const std::wstring& path) {
    if (m_imaging == nullptr) {
        return nullptr;
    }
    IWICStream* madeStream = nullptr;
    if (FAILED(m_imaging->CreateStream(&madeStream))) {
        return nullptr;
    }
    const ComPtr<IWICStream> stream(madeStream);
    if (FAILED(stream->InitializeFromFilename(path.c_str(), GENERIC_READ))) {
        return nullptr;
    }
    std::array<BYTE, 8> head{};
    ULONG read = 0;
    if (FAILED(stream->Read(head.data(), static_cast<ULONG>(head.size()), &read)) ||
        FAILED(stream->Seek(LARGE_INTEGER{}, STREAM_SEEK_SET, nullptr))) {
        return nullptr;
    }
    const auto starts = [&](std::initializer_list<BYTE> bytes) {
        return read >= bytes.size() && std::equal(bytes.begin(), bytes.end(), head.begin());
    };
    Format format = kFormatCount;
    if (starts({0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A})) {
        format = kPng;
    } else if (starts({'B', 'M'})) {
        format = kBmp;
    } else if (starts({0xFF, 0xD8, 0xFF})) {
        format = kJpeg;
    } else if (starts({'G', 'I', 'F', '8'})) {
        format = kGif;
    }
    ComPtr<IWICBitmapDecoder> decoder;
    if (format != kFormatCount) {
        decoder.reset(Decoder(format));
        if (decoder && FAILED(decoder->Initialize(stream.get(), WICDecodeMetadataCacheOnDemand))) {
            return nullptr;
        }
    } else {
        // Any other format: the imaging factory finds its decoder among all it knows.
        IWICBitmapDecoder* found = nullptr;
        if (SUCCEEDED(m_imaging->CreateDecoderFromStream(stream.get(), nullptr,
                                                         WICDecodeMetadataCacheOnDemand, &found))) {
            decoder.reset(found);
        }
    }
    IWICBitmapFrameDecode* madeFrame = nullptr;
    if (!decoder || FAILED(decoder->GetFrame(0, &madeFrame))) {
        return nullptr;
    }
    const ComPtr<IWICBitmapFrameDecode> frame(madeFrame);
    return CopyFrame(*m_imaging, *frame);
}
