#pragma once

#include <windows.h>

#include <utility>

// Owns one GDI object (bitmap, region, brush, font, pen) and deletes it when replaced or
// destroyed. Release() hands the handle on, e.g. to SetWindowRgn, which takes it over.
template <class Handle> class CGdiObject {
public:
    CGdiObject() = default;
    explicit CGdiObject(Handle handle) : m_handle(handle) {}
    CGdiObject(CGdiObject&& other) noexcept : m_handle(other.Release()) {}
    CGdiObject& operator=(CGdiObject&& other) noexcept {
        if (this != &other)
            Reset(other.Release());
        return *this;
    }
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;
    ~CGdiObject() { Reset(); }

    Handle Get() const { return m_handle; }
    explicit operator bool() const { return m_handle != nullptr; }

    void Reset(Handle handle = nullptr) {
        if (m_handle != nullptr && m_handle != handle)
            DeleteObject(m_handle);
        m_handle = handle;
    }
    Handle Release() { return std::exchange(m_handle, nullptr); }

private:
    Handle m_handle = nullptr;
};

using CGdiBitmap = CGdiObject<HBITMAP>;
using CGdiRegion = CGdiObject<HRGN>;
