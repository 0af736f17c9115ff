#include "config/controls/CMacroDisplayLayout.h"

#include <algorithm>

namespace {
constexpr int kLeft = 2;
constexpr int kPictureTop = 2;
} // namespace

CMacroDisplayLayout::CMacroDisplayLayout(const std::wstring& text, const Metrics& metrics) {
    m_lineHeight = std::max<int>(metrics.textHeight, metrics.caret.cy) + 2;
    int x = kLeft;
    int line = 0;
    m_lineEnds.push_back(-1);
    for (const wchar_t ch : text) {
        Kind kind = Kind::Text;
        int width = 0;
        if (ch == L'^') {
            kind = Kind::Caret;
            width = metrics.caret.cx;
        } else if (ch == L'|') {
            kind = Kind::Bar;
            width = metrics.bar.cx;
        } else {
            width = metrics.textWidth(ch);
        }
        if (x + width >= metrics.clientRight) {
            x = kLeft;
            ++line;
            m_lineEnds.push_back(-1);
        }
        const int top = line * m_lineHeight + (kind == Kind::Text ? 0 : kPictureTop);
        m_items.push_back({kind, ch, x, top, width, line});
        x += width;
        m_lineEnds.back() = x;
    }
}

std::vector<RECT> CMacroDisplayLayout::HighlightBands() const {
    std::vector<RECT> bands;
    const int lines = std::min<int>(static_cast<int>(m_lineEnds.size()), kHighlightLines);
    for (int k = 0; k < lines; ++k) {
        if (m_lineEnds[static_cast<size_t>(k)] < 0) {
            continue;
        }
        const int top = 1 + k * m_lineHeight;
        bands.push_back({1, top, m_lineEnds[static_cast<size_t>(k)] + 1, top + m_lineHeight - 2});
    }
    return bands;
}
