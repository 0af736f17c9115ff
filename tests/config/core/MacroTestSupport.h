#pragma once

// Events written as text, a stand-in list box and a temporary data folder for the macro tests.

#include "config/core/MacroEditor.h"

#include <windows.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

namespace macrotest {

// "K4+ K4-" key usage 4 pressed and released, "B1+" left button, "D25" 25 delay units, "Z" an
// empty slot, "U" an unknown kind, "N58" 58 events that differ from each other.
inline std::vector<MacroEvent> Events(const std::string& text) {
    std::vector<MacroEvent> events;
    std::istringstream in(text);
    for (std::string t; in >> t;) {
        const int n = t.size() > 1 ? std::stoi(t.substr(1)) : 0;
        const bool press = t.back() == '+';
        if (t[0] == 'K' || t[0] == 'B') {
            events.push_back(
                t[0] == 'K' ? MacroEvent::KeyEvent(static_cast<std::uint8_t>(n), press)
                            : MacroEvent::MouseButtonEvent(static_cast<std::uint8_t>(n), press));
        } else if (t[0] == 'D') {
            events.push_back(MacroEvent::DelayEvent(static_cast<std::uint16_t>(n)));
        } else if (t[0] == 'N') {
            for (int i = 0; i < n; ++i) {
                events.push_back(i % 2 == 0
                                     ? MacroEvent::KeyEvent(static_cast<std::uint8_t>(4 + i), true)
                                     : MacroEvent::DelayEvent(static_cast<std::uint16_t>(i)));
            }
        } else {
            events.push_back(t[0] == 'U' ? MacroEvent{0x07, 1, 0} : MacroEvent{});
        }
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

inline MacroEditor Loaded(const std::string& events) {
    MacroEditor editor(TestName);
    const std::vector<MacroEvent> list = Events(events);
    editor.Load(Buffer(list), static_cast<int>(list.size()));
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

private:
    std::filesystem::path root_;
};

} // namespace macrotest
