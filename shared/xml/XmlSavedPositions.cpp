#include "shared/xml/XmlSavedPositions.h"

std::size_t XmlSavedPositions::BucketOf(std::wstring_view name) {
    std::size_t sum = 0;
    for (wchar_t c : name)
        sum += c;
    return sum % kBuckets;
}

void XmlSavedPositions::Store(std::wstring_view name, std::int32_t position, Kind kind) {
    auto& bucket = m_buckets[BucketOf(name)];
    for (Entry& entry : bucket) {
        if (entry.name == name) {
            entry.position = position;
            entry.kind = kind;
            return;
        }
    }
    bucket.push_back({std::wstring(name), position, kind});
}

const XmlSavedPositions::Entry* XmlSavedPositions::Find(std::wstring_view name) const {
    for (const Entry& entry : m_buckets[BucketOf(name)]) {
        if (entry.name == name)
            return &entry;
    }
    return nullptr;
}
