#include "shared/xml/XmlPositionPages.h"

void XmlPositionPages::Reset(std::int32_t count) {
    m_pages.clear();
    m_allocated = 0;
    Grow(count < 1 ? 1 : count);
    m_used = 1;
    (*this)[0] = {};
}

std::int32_t XmlPositionPages::Allocate() {
    if (m_used >= m_allocated)
        Grow(m_used + m_used / 2 + 1);
    const std::int32_t i = m_used++;
    (*this)[i] = {};
    return i;
}

void XmlPositionPages::Grow(std::int32_t count) {
    const std::size_t pages = static_cast<std::size_t>(count - 1) / kPageSize + 1;
    if (m_pages.capacity() < pages)
        m_pages.reserve(pages * 2 + 4);
    // Only the last, partial page is copied; the pages before it are full and stay put.
    if (!m_pages.empty()) {
        std::vector<XmlElementRecord>& last = m_pages.back();
        const std::size_t lastSize =
            m_pages.size() == pages ? count - (pages - 1) * kPageSize : kPageSize;
        last.reserve(lastSize);
        last.resize(lastSize);
    }
    while (m_pages.size() < pages) {
        const std::size_t size =
            m_pages.size() + 1 == pages ? count - (pages - 1) * kPageSize : kPageSize;
        m_pages.emplace_back().reserve(size);
        m_pages.back().resize(size);
    }
    m_allocated = count;
}

void XmlPositionPages::LinkAfter(std::int32_t parent, std::int32_t after, std::int32_t r) {
    XmlElementRecord& rec = (*this)[r];
    rec.parent = parent;
    if (after == 0) {
        XmlElementRecord& up = (*this)[parent];
        const std::int32_t old = up.firstChild;
        rec.nextSibling = old;
        rec.levelFlags |= XmlRecordFlag::FirstChild;
        if (old != 0) {
            XmlElementRecord& oldRec = (*this)[old];
            oldRec.levelFlags &= ~XmlRecordFlag::FirstChild;
            rec.prevSibling = oldRec.prevSibling;
            oldRec.prevSibling = r;
        } else {
            rec.prevSibling = r;
        }
        up.firstChild = r;
        return;
    }
    XmlElementRecord& before = (*this)[after];
    rec.levelFlags &= ~XmlRecordFlag::FirstChild;
    rec.prevSibling = after;
    rec.nextSibling = before.nextSibling;
    if (before.nextSibling != 0)
        (*this)[before.nextSibling].prevSibling = r;
    else
        (*this)[(*this)[parent].firstChild].prevSibling = r;
    before.nextSibling = r;
}

void XmlPositionPages::Unlink(std::int32_t r) {
    XmlElementRecord& rec = (*this)[r];
    XmlElementRecord& up = (*this)[rec.parent];
    if (up.firstChild == r) {
        up.firstChild = rec.nextSibling;
        if (rec.nextSibling != 0) {
            XmlElementRecord& next = (*this)[rec.nextSibling];
            next.prevSibling = rec.prevSibling;
            next.levelFlags |= XmlRecordFlag::FirstChild;
        }
    } else {
        (*this)[rec.prevSibling].nextSibling = rec.nextSibling;
        if (rec.nextSibling != 0)
            (*this)[rec.nextSibling].prevSibling = rec.prevSibling;
        else
            (*this)[up.firstChild].prevSibling = rec.prevSibling;
    }
    rec.nextSibling = rec.prevSibling = 0;
    rec.levelFlags &= ~XmlRecordFlag::FirstChild;
}

std::int32_t XmlPositionPages::LastChild(std::int32_t parent) const {
    const std::int32_t first = (*this)[parent].firstChild;
    return first == 0 ? 0 : (*this)[first].prevSibling;
}

std::int32_t XmlPositionPages::PreviousSibling(std::int32_t r) const {
    const XmlElementRecord& rec = (*this)[r];
    return (*this)[rec.parent].firstChild == r ? 0 : rec.prevSibling;
}
