#include "shared/gfx/LoadPictureFile.h"

#include <ocidl.h>
#include <olectl.h>

#include <climits>
#include <memory>

namespace {

struct HandleCloser {
    void operator()(HANDLE handle) const { CloseHandle(handle); }
};
using FileHandle = std::unique_ptr<void, HandleCloser>;

struct GlobalFreer {
    void operator()(HGLOBAL memory) const { GlobalFree(memory); }
};
using GlobalMemory = std::unique_ptr<void, GlobalFreer>;

struct ComReleaser {
    void operator()(IUnknown* object) const { object->Release(); }
};
template <class T> using ComPtr = std::unique_ptr<T, ComReleaser>;

// The whole file in a movable global block, or null.
GlobalMemory ReadFileIntoGlobal(const std::wstring& fileName, LONG& length) {
    HANDLE opened = CreateFileW(fileName.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (opened == INVALID_HANDLE_VALUE)
        return nullptr;
    FileHandle file(opened);
    LARGE_INTEGER fileSize{};
    if (!GetFileSizeEx(file.get(), &fileSize) || fileSize.QuadPart <= 0 ||
        fileSize.QuadPart > LONG_MAX)
        return nullptr;
    const auto byteCount = static_cast<DWORD>(fileSize.QuadPart);
    GlobalMemory memory(GlobalAlloc(GMEM_MOVEABLE, byteCount));
    if (!memory)
        return nullptr;
    void* bytes = GlobalLock(memory.get());
    if (bytes == nullptr)
        return nullptr;
    DWORD read = 0;
    const bool complete =
        ReadFile(file.get(), bytes, byteCount, &read, nullptr) && read == byteCount;
    GlobalUnlock(memory.get());
    if (!complete)
        return nullptr;
    length = static_cast<LONG>(byteCount);
    return memory;
}

// A copy of the picture's bitmap: the picture deletes its own when it is released.
HBITMAP CopyPictureBitmap(IPicture& picture) {
    SHORT type = PICTYPE_UNINITIALIZED;
    OLE_HANDLE handle = 0;
    if (FAILED(picture.get_Type(&type)) || type != PICTYPE_BITMAP ||
        FAILED(picture.get_Handle(&handle)) || handle == 0)
        return nullptr;
    auto source = reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle));
    return static_cast<HBITMAP>(CopyImage(source, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
}

} // namespace

bool LoadPictureFile(const std::wstring& fileName, winlayer::BitmapHandle& bitmap, SIZE& size) {
    bitmap.Reset();
    size = SIZE{0, 0};

    LONG length = 0;
    GlobalMemory memory = ReadFileIntoGlobal(fileName, length);
    if (!memory)
        return false;

    IStream* rawStream = nullptr;
    if (FAILED(CreateStreamOnHGlobal(memory.get(), TRUE, &rawStream)) || rawStream == nullptr)
        return false;
    memory.release(); // the stream frees the block when it is released
    ComPtr<IStream> stream(rawStream);

    void* rawPicture = nullptr;
    if (FAILED(OleLoadPicture(stream.get(), length, FALSE, IID_IPicture, &rawPicture)) ||
        rawPicture == nullptr)
        return false;
    ComPtr<IPicture> picture(static_cast<IPicture*>(rawPicture));

    winlayer::BitmapHandle copy(CopyPictureBitmap(*picture));
    BITMAP info{};
    if (!copy || GetObjectW(copy.Get(), sizeof(info), &info) != sizeof(info))
        return false;
    bitmap = std::move(copy);
    size = SIZE{info.bmWidth, info.bmHeight};
    return true;
}
