#pragma once

#include "shared/xml/CXmlDocument.h"

#include <cstdint>
#include <map>
#include <ostream>
#include <vector>

// Test view of a document's position records: the live records in tree order, with their
// links given as tree-order numbers, so that two documents built differently compare equal
// when their records describe the same text the same way.
struct FlatRecord {
    std::int32_t start, length, startTag, endTag;
    std::uint32_t levelFlags;
    int parent, firstChild, nextSibling, prevSibling;
    bool operator==(const FlatRecord&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const FlatRecord& r) {
    return out << "{start " << r.start << " length " << r.length << " tags " << r.startTag << "/"
               << r.endTag << " levelFlags 0x" << std::hex << r.levelFlags << std::dec << " links "
               << r.parent << "," << r.firstChild << "," << r.nextSibling << "," << r.prevSibling
               << "}";
}

class XmlDocumentInspector {
public:
    explicit XmlDocumentInspector(const CXmlDocument& doc) : m_doc(doc) {}

    const XmlElementRecord& Record(std::int32_t r) const { return m_doc.m_records[r]; }
    std::int32_t Root() const { return Record(0).firstChild; }
    std::int32_t Main() const { return m_doc.m_main; }
    std::int32_t Child() const { return m_doc.m_child; }
    std::int32_t Parent() const { return m_doc.m_parent; }

    std::vector<FlatRecord> Tree() const {
        std::vector<std::int32_t> order{0};
        for (std::size_t i = 0; i < order.size(); ++i) {
            for (std::int32_t c = Record(order[i]).firstChild; c != 0; c = Record(c).nextSibling)
                order.push_back(c);
        }
        std::map<std::int32_t, int> number{{0, 0}};
        for (std::size_t i = 0; i < order.size(); ++i)
            number[order[i]] = static_cast<int>(i);
        const auto numberOf = [&](std::int32_t r) { return r == 0 ? 0 : number.at(r); };
        std::vector<FlatRecord> flat;
        for (std::size_t i = 1; i < order.size(); ++i) {
            const XmlElementRecord& rec = Record(order[i]);
            flat.push_back({rec.start, rec.length, rec.StartTagLength(), rec.EndTagLength(),
                            rec.levelFlags, numberOf(rec.parent), numberOf(rec.firstChild),
                            numberOf(rec.nextSibling), numberOf(rec.prevSibling)});
        }
        return flat;
    }

private:
    const CXmlDocument& m_doc;
};
