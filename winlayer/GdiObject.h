#pragma once
#include <windows.h>

#include <utility>

namespace winlayer {

// Owns one GDI object (brush, font, bitmap, pen, region) and deletes it on destruction.
// Release() hands it over, for example to SetWindowRgn, which then owns the region.
template <typename T> class GdiObject {
public:
    GdiObject() = default;
    explicit GdiObject(T object) : object_(object) {}
    ~GdiObject() { Reset(); }
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;
    GdiObject(GdiObject&& other) noexcept : object_(other.Release()) {}
    GdiObject& operator=(GdiObject&& other) noexcept {
        if (this != &other) {
            Reset(other.Release());
        }
        return *this;
    }

    T Get() const { return object_; }
    explicit operator bool() const { return object_ != nullptr; }
    T Release() { return std::exchange(object_, nullptr); }
    void Reset(T object = nullptr) {
        if (object_ != nullptr && object_ != object) {
            DeleteObject(object_);
        }
        object_ = object;
    }

private:
    T object_ = nullptr;
};

using BrushHandle = GdiObject<HBRUSH>;
using FontHandle = GdiObject<HFONT>;
using BitmapHandle = GdiObject<HBITMAP>;
using PenHandle = GdiObject<HPEN>;
using RegionHandle = GdiObject<HRGN>;

} // namespace winlayer
