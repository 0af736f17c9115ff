#include "winlayer/DoubleBuffer.h"

namespace winlayer {

DoubleBuffer::DoubleBuffer(HDC target, const RECT& area)
    : target_(target), area_(area), memory_(target),
      bitmap_(CreateCompatibleBitmap(target, area.right - area.left, area.bottom - area.top)),
      selection_(memory_.Get(), bitmap_.Get()) {}

DoubleBuffer::~DoubleBuffer() {
    if (graphics_ != nullptr) {
        graphics_->Flush(Gdiplus::FlushIntentionSync);
        graphics_.reset();
    }
    if (bitmap_) {
        BitBlt(target_, area_.left, area_.top, Width(), Height(), memory_.Get(), 0, 0, SRCCOPY);
    }
}

Gdiplus::Graphics& DoubleBuffer::Graphics() {
    if (graphics_ == nullptr) {
        graphics_ = std::make_unique<Gdiplus::Graphics>(memory_.Get());
    }
    return *graphics_;
}

} // namespace winlayer
