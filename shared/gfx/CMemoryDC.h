#pragma once

#include <windows.h>

// A memory device context compatible with a given one (null = the screen), with one bitmap
// selected into it. The previous selection is put back and the context deleted on destruction,
// so the bitmap is free again for other contexts.
class CMemoryDC {
public:
    CMemoryDC(HDC compatibleWith, HBITMAP bitmap);
    CMemoryDC(const CMemoryDC&) = delete;
    CMemoryDC& operator=(const CMemoryDC&) = delete;
    ~CMemoryDC();

    // False when the context could not be made or the bitmap could not be selected (it is
    // invalid or already selected into another context).
    bool IsValid() const { return m_old != nullptr; }
    HDC Get() const { return m_dc; }

private:
    HDC m_dc = nullptr;
    HGDIOBJ m_old = nullptr;
};
