#pragma once
#include <windows.h>

namespace winlayer {

// A memory device context compatible with another (CreateCompatibleDC), deleted on destruction.
// Select objects into it through ObjectSelection so they are deselected first.
class MemoryDC {
public:
    explicit MemoryDC(HDC compatible) : dc_(CreateCompatibleDC(compatible)) {}
    ~MemoryDC() {
        if (dc_ != nullptr) {
            DeleteDC(dc_);
        }
    }
    MemoryDC(const MemoryDC&) = delete;
    MemoryDC& operator=(const MemoryDC&) = delete;

    HDC Get() const { return dc_; }

private:
    HDC dc_;
};

} // namespace winlayer
