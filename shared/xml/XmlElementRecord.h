#pragma once

#include <cstddef>
#include <cstdint>

// Position record of one element: offsets into the document text, the element's tag lengths,
// its nesting level and flags, and its links. Record 0 is the holder of the whole document.
struct XmlElementRecord {
    std::int32_t start = 0;       // offset of the element's "<"
    std::int32_t length = 0;      // up to the end of its end tag (or of its start tag)
    std::uint32_t tagLengths = 0; // bits 0-21 start tag, bits 22-31 end tag
    std::uint32_t levelFlags = 0; // bits 0-15 nesting level, the rest XmlRecordFlag bits
    std::int32_t parent = 0;
    std::int32_t firstChild = 0;
    std::int32_t nextSibling = 0;
    std::int32_t prevSibling = 0; // on a first child: the parent's last child

    static constexpr std::uint32_t kMaxStartTag = 0x3FFFFF;
    static constexpr std::uint32_t kMaxEndTag = 0x3FF;
    static constexpr std::uint32_t kMaxLevel = 0xFFFF;

    std::int32_t StartTagLength() const {
        return static_cast<std::int32_t>(tagLengths & kMaxStartTag);
    }
    std::int32_t EndTagLength() const { return static_cast<std::int32_t>(tagLengths >> 22); }
    void SetTagLengths(std::int32_t startTag, std::int32_t endTag) {
        tagLengths =
            static_cast<std::uint32_t>(startTag) | (static_cast<std::uint32_t>(endTag) << 22);
    }
    std::uint32_t Level() const { return levelFlags & kMaxLevel; }
    bool Has(std::uint32_t flag) const { return (levelFlags & flag) != 0; }
    std::int32_t End() const { return start + length; }
    // Where the element's content ends: before its end tag, or at its end when it has none.
    std::int32_t ContentEnd() const { return End() - EndTagLength(); }
    std::int32_t ContentStart() const { return start + StartTagLength(); }
};

static_assert(sizeof(XmlElementRecord) == 32);
static_assert(offsetof(XmlElementRecord, tagLengths) == 8);
static_assert(offsetof(XmlElementRecord, levelFlags) == 12);
static_assert(offsetof(XmlElementRecord, prevSibling) == 28);

namespace XmlRecordFlag {
inline constexpr std::uint32_t Freed = 0x20000;
inline constexpr std::uint32_t FirstChild = 0x80000;
inline constexpr std::uint32_t NoEndTag = 0x100000;
inline constexpr std::uint32_t IllFormedInside = 0x200000;
inline constexpr std::uint32_t ParseError = 0x800000;
} // namespace XmlRecordFlag
