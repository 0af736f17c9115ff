#pragma once

#include <array>
#include <cstddef>
#include <string_view>

constexpr wchar_t LowerAscii(wchar_t c) {
    return (c >= L'A' && c <= L'Z') ? c + (L'a' - L'A') : c;
}

// A hash index over a constant table of named entries (each with a `name`), built at compile
// time: names hash by the sum of their lowered ASCII characters, so a look-up finds every entry
// whose name differs only in ASCII case.
template <std::size_t Buckets, std::size_t Size> class XmlNameIndex {
public:
    template <class Entry> constexpr explicit XmlNameIndex(const std::array<Entry, Size>& table) {
        m_head.fill(-1);
        m_next.fill(-1);
        // Chains keep table order: built from the end, each entry goes in front.
        for (std::size_t i = Size; i-- > 0;) {
            const std::size_t b = BucketOf(table[i].name);
            m_next[i] = m_head[b];
            m_head[b] = static_cast<short>(i);
        }
    }

    // The first table index that may carry `name`, or -1.
    constexpr short First(std::wstring_view name) const { return m_head[BucketOf(name)]; }
    // The table index after `index` in its chain, or -1.
    constexpr short Next(short index) const { return m_next[static_cast<std::size_t>(index)]; }

private:
    static constexpr std::size_t BucketOf(std::wstring_view name) {
        std::size_t sum = 0;
        for (wchar_t c : name)
            sum += LowerAscii(c);
        return sum % Buckets;
    }

    std::array<short, Buckets> m_head{};
    std::array<short, Size> m_next{};
};
