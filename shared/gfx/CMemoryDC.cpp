#include "shared/gfx/CMemoryDC.h"

CMemoryDC::CMemoryDC(HDC compatibleWith, HBITMAP bitmap)
    : m_dc(CreateCompatibleDC(compatibleWith)) {
    if (m_dc != nullptr && bitmap != nullptr) {
        HGDIOBJ old = SelectObject(m_dc, bitmap);
        if (old != nullptr && old != HGDI_ERROR)
            m_old = old;
    }
}

CMemoryDC::~CMemoryDC() {
    if (m_dc == nullptr)
        return;
    if (m_old != nullptr)
        SelectObject(m_dc, m_old);
    DeleteDC(m_dc);
}
