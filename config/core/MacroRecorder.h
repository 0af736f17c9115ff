#pragma once

#include "config/core/MacroDelay.h"
#include "config/core/MacroEditor.h"

#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <utility>

// Where recorded events go, and what the insert button does (the delay modes are the
// editor's InsertDelay).
enum class MacroInsertMode : int {
    Append = -1,
    DelayBefore = 0,
    DelayAfter = 1,
    RecordBefore = 2,
    RecordAfter = 3,
};

// The key capture of the hook library, as the recorder switches it.
struct MacroCapture {
    // True when key capture can work at all (the library and its exports were found).
    std::function<bool()> Available;
    // Switches the keyboard and the mouse hook's reports on or off.
    std::function<void(bool keyboard, bool mouse)> Switch;
};

enum class MacroRecordStart {
    Started,
    Busy,         // a recording or replacement is running already
    HooksMissing, // no key capture: nothing started, nothing changed
    NoRow,        // inserting or replacing needs a selected row (a key row to replace)
    WrongMode,    // the delay insert modes record nothing
};

struct MacroRecordResult {
    // The report was used.
    bool Taken = false;
    MacroEdit Edit;
    // The text the delay box is to show, when it was corrected.
    std::optional<std::wstring> DelayBoxText;
    // The replacement is made: the caller ends it with Stop, as every recording ends.
    bool Done = false;
};

struct MacroRecordStop {
    bool WasRecording = false;
    bool WasReplacing = false;
    // No key or button is left pressed (warn before saving otherwise).
    bool KeysReleased = true;
};

// Turns the hook library's key reports (0x8D2) and the mouse-button reports (0x1401) into macro
// events on a MacroEditor, with measured, fixed or no delays. Nothing is saved here, and nothing
// ends here: a recording or replacement is kept by Stop (the caller then saves) or undone by
// Cancel, which puts back the events from before it (leaving the page, closing the window). The
// hooks are switched off on every way out.
class MacroRecorder {
public:
    // Key reports beyond this many events are dropped: one report adds a delay and a key.
    static constexpr int kRecordLimit = MacroEditor::kCapacity - 2;
    // Key report transitions (lParam of 0x8D2).
    static constexpr LPARAM kPress = 0;
    static constexpr LPARAM kPressRepeat = 1;
    static constexpr LPARAM kRelease = 128;
    static constexpr LPARAM kReleaseRepeat = 129;

    // Milliseconds of a steady clock (the tick count by default).
    using Clock = std::function<std::uint32_t()>;

    // A recorded event's row is named by the editor, as the macro's file is when it is opened.
    MacroRecorder(MacroEditor& editor, MacroCapture capture, Clock clock = {});

    // The key position a key is named by: the Windows keys have positions of their own (244,
    // 245) here.
    static std::uint32_t RecordedKeyPosition(std::uint32_t virtualKey);

    // Recording or replacing: the page's other controls stay disabled.
    bool Active() const { return recording_; }
    bool Replacing() const { return replacing_; }
    MacroInsertMode InsertMode() const { return mode_; }

    // Record button: empties the macro and appends to it.
    MacroRecordStart Start(MacroDelayMode delayMode, std::wstring delayBox);
    // Records into the macro as it is: at the end, or before or after `selectedRow`.
    MacroRecordStart StartInserting(MacroInsertMode mode, int selectedRow, MacroDelayMode delayMode,
                                    std::wstring delayBox);
    // The next key pressed replaces the key of `keyRow` (and its matching press or release).
    MacroRecordStart StartReplacing(int keyRow);

    // 0x8D2: wParam the virtual key, lParam the transition.
    MacroRecordResult RecordKey(WPARAM virtualKey, LPARAM transition);
    // 0x1401: wParam the mouse message, lParam its lParam. The caller leaves out the clicks on
    // the page's own record and stop controls.
    MacroRecordResult RecordMouse(WPARAM message, LPARAM lParam);

    // Ends a recording or replacement and keeps its events.
    MacroRecordStop Stop();
    // Ends it and puts back the events from before it. False when nothing was running.
    bool Cancel();

private:
    MacroRecordStart Begin(MacroInsertMode mode, int row, MacroDelayMode delayMode,
                           std::wstring delayBox, bool mouse);
    void End();
    MacroRecordResult Take(const MacroEvent& event, MacroRow row);
    int DelayBefore(std::uint32_t now, MacroRecordResult& result);
    MacroEdit Place(const MacroEvent& event, MacroRow row);
    MacroRecordResult Replace(std::uint8_t usage);

    MacroEditor& editor_;
    MacroCapture capture_;
    Clock clock_;

    bool recording_ = false;
    bool replacing_ = false;
    // The replacement is made; later reports wait for the stop.
    bool replaced_ = false;
    MacroInsertMode mode_ = MacroInsertMode::Append;
    // The selected row while inserting or replacing.
    int row_ = -1;
    MacroDelayMode delayMode_ = MacroDelayMode::Measured;
    std::wstring delayBox_;
    std::optional<std::uint32_t> lastTick_;
    std::optional<std::pair<WPARAM, LPARAM>> lastKey_;
    std::optional<std::pair<WPARAM, LPARAM>> lastMouse_;
    // Keys and buttons pressed during this recording (kind, code): a release needs its press.
    std::set<std::pair<std::uint8_t, std::uint8_t>> held_;
    std::optional<MacroEditor> before_;
};
