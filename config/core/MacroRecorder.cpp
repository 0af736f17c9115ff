#include "config/core/MacroRecorder.h"

#include "config/core/MacroBufferChecks.h"
#include "shared/codes/CodeTables.h"

#include <span>

namespace {

constexpr std::uint32_t kLeftWindowsKey = 0x5B;
constexpr std::uint32_t kRightWindowsKey = 0x5C;
constexpr std::uint32_t kLeftWindowsPosition = 244;
constexpr std::uint32_t kRightWindowsPosition = 245;

std::uint32_t TickCount() {
    return GetTickCount();
}

struct MouseTransition {
    std::uint8_t Code = 0; // 0: not a button message
    bool Press = false;
};

MouseTransition MouseTransitionOf(WPARAM message) {
    switch (message) {
    case WM_LBUTTONDOWN:
        return {1, true};
    case WM_LBUTTONUP:
        return {1, false};
    case WM_RBUTTONDOWN:
        return {2, true};
    case WM_RBUTTONUP:
        return {2, false};
    case WM_MBUTTONDOWN:
        return {4, true};
    case WM_MBUTTONUP:
        return {4, false};
    default:
        return {};
    }
}

} // namespace

MacroRecorder::MacroRecorder(MacroEditor& editor, MacroCapture capture, Clock clock)
    : editor_(editor), capture_(std::move(capture)),
      clock_(clock ? std::move(clock) : Clock(TickCount)) {}

std::uint32_t MacroRecorder::RecordedKeyPosition(std::uint32_t virtualKey) {
    if (virtualKey == kLeftWindowsKey) {
        return kLeftWindowsPosition;
    }
    if (virtualKey == kRightWindowsKey) {
        return kRightWindowsPosition;
    }
    return CodePairTable_Lookup(virtualKey);
}

MacroRecordStart MacroRecorder::Begin(MacroInsertMode mode, int row, MacroDelayMode delayMode,
                                      std::wstring delayBox, bool mouse) {
    if (recording_) {
        return MacroRecordStart::Busy;
    }
    if (!capture_.Available || !capture_.Available()) {
        return MacroRecordStart::HooksMissing;
    }
    before_ = editor_;
    recording_ = true;
    mode_ = mode;
    row_ = row;
    delayMode_ = delayMode;
    delayBox_ = std::move(delayBox);
    lastTick_.reset();
    lastKey_.reset();
    lastMouse_.reset();
    held_.clear();
    if (capture_.Switch) {
        capture_.Switch(true, mouse);
    }
    return MacroRecordStart::Started;
}

MacroRecordStart MacroRecorder::Start(MacroDelayMode delayMode, std::wstring delayBox) {
    const MacroRecordStart start =
        Begin(MacroInsertMode::Append, -1, delayMode, std::move(delayBox), true);
    if (start == MacroRecordStart::Started) {
        editor_.Clear();
    }
    return start;
}

MacroRecordStart MacroRecorder::StartInserting(MacroInsertMode mode, int selectedRow,
                                               MacroDelayMode delayMode, std::wstring delayBox) {
    if (mode == MacroInsertMode::DelayBefore || mode == MacroInsertMode::DelayAfter) {
        return MacroRecordStart::WrongMode;
    }
    if (mode != MacroInsertMode::Append && !editor_.IsRow(selectedRow)) {
        return MacroRecordStart::NoRow;
    }
    return Begin(mode, selectedRow, delayMode, std::move(delayBox), true);
}

MacroRecordStart MacroRecorder::StartReplacing(int keyRow) {
    if (recording_) {
        return MacroRecordStart::Busy;
    }
    if (!editor_.IsKeyRow(keyRow)) {
        return MacroRecordStart::NoRow;
    }
    const MacroRecordStart start =
        Begin(MacroInsertMode::Append, keyRow, MacroDelayMode::None, {}, false);
    replacing_ = start == MacroRecordStart::Started;
    return start;
}

void MacroRecorder::End() {
    recording_ = false;
    replacing_ = false;
    replaced_ = false;
    before_.reset();
    held_.clear();
    if (capture_.Switch) {
        capture_.Switch(false, false);
    }
}

MacroRecordStop MacroRecorder::Stop() {
    MacroRecordStop stop;
    if (!recording_) {
        return stop;
    }
    stop.WasReplacing = replacing_;
    stop.WasRecording = !replacing_;
    End();
    stop.KeysReleased = MacroKeysReleased(
        std::span(editor_.Events().data(), static_cast<std::size_t>(editor_.Count())));
    return stop;
}

bool MacroRecorder::Cancel() {
    if (!recording_) {
        return false;
    }
    editor_ = *before_;
    End();
    return true;
}

MacroRecordResult MacroRecorder::RecordKey(WPARAM virtualKey, LPARAM transition) {
    if (!recording_ || replaced_ || lastKey_ == std::pair{virtualKey, transition}) {
        return {};
    }
    // A replacement adds nothing, so only recording stops short of the limit.
    if (!replacing_ && editor_.Count() >= kRecordLimit) {
        return {};
    }
    const bool press = transition == kPress || transition == kPressRepeat;
    if (!press && transition != kRelease && transition != kReleaseRepeat) {
        return {};
    }
    std::uint32_t usage = 0;
    if (!KeyCodeMap_LookupForward(static_cast<std::uint32_t>(virtualKey), usage) || usage == 0 ||
        usage > 0xFF) {
        return {};
    }
    // A release whose press came before the recording (the key that started it) is left out.
    const std::pair held{MacroEvent::Key, static_cast<std::uint8_t>(usage)};
    if (!press && !held_.contains(held)) {
        return {};
    }
    if (replacing_) {
        return Replace(static_cast<std::uint8_t>(usage));
    }
    // Named as the macro's file names it when the macro is opened again.
    const MacroEvent event = MacroEvent::KeyEvent(static_cast<std::uint8_t>(usage), press);
    MacroRecordResult result = Take(event, editor_.RowOf(event));
    if (result.Taken) {
        lastKey_ = {virtualKey, transition};
    }
    return result;
}

MacroRecordResult MacroRecorder::RecordMouse(WPARAM message, LPARAM lParam) {
    if (!recording_ || replacing_ || lastMouse_ == std::pair{message, lParam}) {
        return {};
    }
    if (editor_.Count() >= kRecordLimit) {
        return {};
    }
    const MouseTransition transition = MouseTransitionOf(message);
    if (transition.Code == 0) {
        return {};
    }
    if (!transition.Press && !held_.contains({MacroEvent::MouseButton, transition.Code})) {
        return {};
    }
    const MacroEvent event = MacroEvent::MouseButtonEvent(transition.Code, transition.Press);
    MacroRecordResult result = Take(event, editor_.RowOf(event));
    if (result.Taken) {
        lastMouse_ = {message, lParam};
    }
    return result;
}

MacroRecordResult MacroRecorder::Take(const MacroEvent& event, MacroRow row) {
    MacroRecordResult result;
    const std::uint32_t now = clock_();
    const int delay = DelayBefore(now, result);
    if (delay != 0) {
        result.Edit.Merge(Place(MacroEvent::DelayEvent(MacroDelayUnits(delay)),
                                {DelayRowText(delay), MacroRow::kDelayItem}));
    }
    MacroEdit placed = Place(event, std::move(row));
    if (!placed.Changed) {
        return result;
    }
    result.Edit.Merge(std::move(placed));
    lastTick_ = now;
    const std::pair key{event.EventKind(), event.Code};
    if (event.IsPress()) {
        held_.insert(key);
    } else {
        held_.erase(key);
    }
    result.Taken = true;
    result.Edit.Selection = mode_ == MacroInsertMode::Append ? editor_.Count() - 1 : row_;
    return result;
}

int MacroRecorder::DelayBefore(std::uint32_t now, MacroRecordResult& result) {
    if (delayMode_ == MacroDelayMode::None) {
        return 0;
    }
    if (!lastTick_) {
        // The first event of a recording has nothing to wait for.
        lastTick_ = now;
        return 0;
    }
    if (delayMode_ == MacroDelayMode::Fixed) {
        const FixedDelay fixed = ReadFixedDelay(delayBox_);
        if (fixed.BoxCorrected) {
            delayBox_ = std::to_wstring(fixed.Milliseconds);
            result.DelayBoxText = delayBox_;
        }
        return NormalizedDelay(fixed.Milliseconds);
    }
    // Unsigned difference: right across the tick count's wrap.
    return NormalizedDelay(static_cast<std::uint32_t>(now - *lastTick_));
}

MacroEdit MacroRecorder::Place(const MacroEvent& event, MacroRow row) {
    int at = editor_.Count();
    if (mode_ == MacroInsertMode::RecordAfter) {
        at = row_ + 1;
    } else if (mode_ == MacroInsertMode::RecordBefore) {
        at = row_;
    }
    MacroEdit edit = editor_.Insert(at, event, std::move(row));
    if (edit.Changed && mode_ != MacroInsertMode::Append) {
        // After: the new row becomes the selection; before: the selection moves down with its row.
        row_ = at + (mode_ == MacroInsertMode::RecordBefore ? 1 : 0);
    }
    return edit;
}

MacroRecordResult MacroRecorder::Replace(std::uint8_t usage) {
    MacroRecordResult result;
    const std::optional<MacroEvent> old = editor_.EventAt(row_);
    if (!old || old->EventKind() != MacroEvent::Key) {
        return result;
    }
    const bool press = old->IsPress();
    const MacroEvent replaced = MacroEvent::KeyEvent(usage, press);
    result.Edit.Merge(editor_.Replace(row_, replaced, editor_.RowOf(replaced)));
    // The matching release after a press, or press before a release, follows the new key.
    const MacroEvent partner = MacroEvent::KeyEvent(old->Code, !press);
    const MacroEvent follower = MacroEvent::KeyEvent(usage, !press);
    const int step = press ? 1 : -1;
    for (int row = row_ + step; editor_.IsRow(row); row += step) {
        if (*editor_.EventAt(row) == partner) {
            result.Edit.Merge(editor_.Replace(row, follower, editor_.RowOf(follower)));
            break;
        }
    }
    result.Edit.Selection = row_;
    result.Taken = true;
    result.Done = true;
    replaced_ = true;
    return result;
}
