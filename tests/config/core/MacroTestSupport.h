#pragma once

// Events, a stand-in list box and a temporary data folder for the macro tests.

#include "config/MacroEditor.h"

#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace macrotest {

inline MacroEvent P(int usage) {
    return MacroEvent::KeyEvent(static_cast<std::uint8_t>(usage), true);
}
inline MacroEvent R(int usage) {
    return MacroEvent::KeyEvent(static_cast<std::uint8_t>(usage), false);
}
inline MacroEvent D(int units) {
    return MacroEvent::DelayEvent(static_cast<std::uint16_t>(units));
}
inline MacroEvent BP(int code) {
    return MacroEvent::MouseButtonEvent(static_cast<std::uint8_t>(code), true);
}
inline MacroEvent BR(int code) {
    return MacroEvent::MouseButtonEvent(static_cast<std::uint8_t>(code), false);
}

// `count` events that differ from each other, so a shifted or lost event shows.
inline std::vector<MacroEvent> Numbered(int count) {
    std::vector<MacroEvent> events;
    for (int i = 0; i < count; ++i) {
        events.push_back(i % 2 == 0 ? P(4 + i) : D(i));
    }
    return events;
}

inline MacroEventBuffer Buffer(const std::vector<MacroEvent>& events) {
    MacroEventBuffer buffer{};
    std::copy(events.begin(), events.end(), buffer.begin());
    return buffer;
}

inline std::vector<MacroEvent> Used(const MacroEditor& editor) {
    return {editor.Events().begin(), editor.Events().begin() + editor.Count()};
}

// Keys as "K<usage>", buttons as "B<code>".
inline std::wstring TestName(const MacroEvent& event) {
    return (event.EventKind() == MacroEvent::Key ? L"K" : L"B") + std::to_wstring(event.Code);
}

inline MacroEditor Loaded(const std::vector<MacroEvent>& events) {
    MacroEditor editor(TestName);
    editor.Load(Buffer(events), static_cast<int>(events.size()));
    return editor;
}

// The calls a list box gets, kept as rows.
struct FakeList {
    std::vector<MacroRow> rows;
    int selection = -2;

    void InsertItem(int row, int item, const std::wstring& text) {
        rows.insert(rows.begin() + row, MacroRow{text, item});
    }
    void DeleteString(int row) { rows.erase(rows.begin() + row); }
    void SetCurSel(int row) { selection = row; }
};

// A fresh macro folder and settings file, removed at the end.
class MacroFolder {
public:
    MacroFolder() {
        static int counter = 0;
        root_ = std::filesystem::temp_directory_path() /
                (L"v212_macros_" + std::to_wstring(GetCurrentProcessId()) + L"_" +
                 std::to_wstring(++counter));
        std::filesystem::create_directories(root_ / L"Macro");
    }
    ~MacroFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }
    MacroFolder(const MacroFolder&) = delete;
    MacroFolder& operator=(const MacroFolder&) = delete;

    std::wstring Macros() const { return (root_ / L"Macro").wstring() + L"\\"; }
    std::wstring Settings() const { return (root_ / L"Mouse.ini").wstring(); }
    std::wstring MacroPath(const std::wstring& name) const { return Macros() + name + L".MACRO"; }
    std::wstring Outside(const std::wstring& file) const { return (root_ / file).wstring(); }
    bool Exists(const std::wstring& path) const { return std::filesystem::exists(path); }

private:
    std::filesystem::path root_;
};

} // namespace macrotest
