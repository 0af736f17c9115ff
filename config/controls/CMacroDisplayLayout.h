#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// Where the key sequence display puts each character of its text: "^" and "|" are pictures,
// every other character is text; items wrap onto a new line when they would reach the right
// edge.
class CMacroDisplayLayout {
public:
    enum class Kind { Caret, Bar, Text };
    struct Item {
        Kind kind;
        wchar_t ch;
        int x;
        int y;
        int width;
        int line;
    };
    struct Metrics {
        int clientRight = 0;
        int textHeight = 0;
        SIZE caret{};
        SIZE bar{};
        // Text width of one character in the display's font.
        std::function<int(wchar_t)> textWidth;
    };
    // Lines of which a band is drawn when the display is highlighted.
    static constexpr int kHighlightLines = 6;

    CMacroDisplayLayout(const std::wstring& text, const Metrics& metrics);

    int LineHeight() const { return m_lineHeight; }
    const std::vector<Item>& Items() const { return m_items; }
    // The highlight bands of the first lines that have content, in line order.
    std::vector<RECT> HighlightBands() const;

private:
    int m_lineHeight = 0;
    std::vector<Item> m_items;
    // Right end of each line's content; -1 for a line left empty.
    std::vector<int> m_lineEnds;
};
