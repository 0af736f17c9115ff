#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// One map of named saved places of a document: a name keeps one position and which of the
// three places (parent, main, child) it was.
class XmlSavedPositions {
public:
    enum Kind { ParentPlace = 0, MainPlace = 1, ChildPlace = 2 };
    struct Entry {
        std::wstring name;
        std::int32_t position;
        Kind kind;
    };

    // Stores or overwrites the entry of a name.
    void Store(std::wstring_view name, std::int32_t position, Kind kind);
    const Entry* Find(std::wstring_view name) const;

    template <class Predicate> void DropIf(Predicate drop) {
        for (auto& bucket : m_buckets)
            std::erase_if(bucket, [&](const Entry& entry) { return drop(entry.position); });
    }

private:
    // Names hash by the sum of their code units into 7 buckets.
    static constexpr std::size_t kBuckets = 7;
    static std::size_t BucketOf(std::wstring_view name);

    std::array<std::vector<Entry>, kBuckets> m_buckets;
};
