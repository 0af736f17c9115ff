#pragma once

#include "shared/xml/XmlElementRecord.h"

#include <cstdint>
#include <vector>

// The position records of a document, in pages of 65536 so that a record is found in two
// index steps and growing never moves a full page. Index 0 is the document holder.
class XmlPositionPages {
public:
    static constexpr int kPageBits = 16;
    static constexpr std::int32_t kPageSize = 1 << kPageBits;

    // Drops every record and allocates room for `count`; the used count becomes 1 and the
    // holder is zeroed.
    void Reset(std::int32_t count);
    // Hands out the next record, zeroed.
    std::int32_t Allocate();
    std::int32_t UsedCount() const { return m_used; }

    // Links record r under a parent just after the sibling `after` (0: as the first child).
    void LinkAfter(std::int32_t parent, std::int32_t after, std::int32_t r);
    // Takes record r out of its parent's children.
    void Unlink(std::int32_t r);
    std::int32_t LastChild(std::int32_t parent) const;
    // The sibling before r, 0 for a first child.
    std::int32_t PreviousSibling(std::int32_t r) const;

    XmlElementRecord& operator[](std::int32_t i) {
        return m_pages[i >> kPageBits][i & (kPageSize - 1)];
    }
    const XmlElementRecord& operator[](std::int32_t i) const {
        return m_pages[i >> kPageBits][i & (kPageSize - 1)];
    }

private:
    void Grow(std::int32_t count);

    std::vector<std::vector<XmlElementRecord>> m_pages;
    std::int32_t m_allocated = 0;
    std::int32_t m_used = 0;
};
