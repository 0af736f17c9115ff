#pragma once

#include <string>

// Texts of the delay rows of the macro event list and of its in-place delay edit.
class CDelayRowText {
public:
    // Longest text taken from the delay edit.
    static constexpr size_t kMaxTyped = 200;

    // The delay a row shows: the number before the first blank ("250 MS" gives 250); a text
    // without a blank, or without a number there, gives 0.
    static int RowDelay(const std::wstring& rowText);
    // The number typed into the delay edit; 0 when there is none.
    static int TypedDelay(const std::wstring& typed);
    // Row text of a committed delay ("1000 MS").
    static std::wstring CommittedRow(int delay);
};
