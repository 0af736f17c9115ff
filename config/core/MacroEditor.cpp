#include "config/core/MacroEditor.h"

#include "config/core/MacroDelay.h"

#include <algorithm>
#include <iterator>

namespace {

bool IsKnownKind(const MacroEvent& event) {
    const std::uint8_t kind = event.EventKind();
    return kind == MacroEvent::MouseButton || kind == MacroEvent::Key || kind == MacroEvent::Delay;
}

MacroRowStep Step(MacroRowStep::Action what, int row, MacroRow content = {}) {
    return {what, row, std::move(content)};
}

} // namespace

void MacroEdit::Merge(MacroEdit&& later) {
    Changed = Changed || later.Changed;
    Rebuild = Rebuild || later.Rebuild;
    std::ranges::move(later.Steps, std::back_inserter(Steps));
    if (later.Selection) {
        Selection = later.Selection;
    }
}

MacroEditor::MacroEditor(MacroEventNamer namer) : namer_(std::move(namer)) {}

bool MacroEditor::IsDelayRow(int row) const {
    return IsRow(row) && events_[row].EventKind() == MacroEvent::Delay;
}

bool MacroEditor::IsKeyRow(int row) const {
    return IsRow(row) && events_[row].EventKind() == MacroEvent::Key;
}

std::optional<MacroEvent> MacroEditor::EventAt(int row) const {
    if (!IsRow(row)) {
        return std::nullopt;
    }
    return events_[row];
}

std::uint32_t MacroEditor::TotalMilliseconds() const {
    return TotalDelayMilliseconds(events_);
}

MacroRow MacroEditor::RowOf(const MacroEvent& event) const {
    if (event.EventKind() == MacroEvent::Delay) {
        return {DelayRowText(static_cast<int>(event.DelayMilliseconds())), MacroRow::kDelayItem};
    }
    return {namer_ ? namer_(event) : std::wstring(),
            event.IsPress() ? MacroRow::kPressItem : MacroRow::kReleaseItem};
}

void MacroEditor::Load(const MacroEventBuffer& events, int count) {
    events_.fill(MacroEvent{});
    rows_.clear();
    count_ = 0;
    const int taken = std::clamp(count, 0, kCapacity);
    for (int i = 0; i < taken; ++i) {
        if (!events[i].IsEmpty() && IsKnownKind(events[i])) {
            events_[count_++] = events[i];
            rows_.push_back(RowOf(events[i]));
        }
    }
}

MacroEdit MacroEditor::Clear() {
    events_.fill(MacroEvent{});
    rows_.clear();
    count_ = 0;
    MacroEdit edit;
    edit.Changed = true;
    edit.Rebuild = true;
    edit.Selection = -1;
    return edit;
}

MacroEdit MacroEditor::Insert(int at, const MacroEvent& event, MacroRow row) {
    if (count_ >= kCapacity || at < 0 || at > count_) {
        return {};
    }
    std::shift_right(events_.begin() + at, events_.begin() + count_ + 1, 1);
    events_[at] = event;
    rows_.insert(rows_.begin() + at, row);
    ++count_;
    MacroEdit edit;
    edit.Changed = true;
    edit.Steps.push_back(Step(MacroRowStep::Action::Insert, at, std::move(row)));
    return edit;
}

MacroEdit MacroEditor::Replace(int row, const MacroEvent& event, MacroRow content) {
    if (!IsRow(row)) {
        return {};
    }
    events_[row] = event;
    rows_[row] = content;
    MacroEdit edit;
    edit.Changed = true;
    edit.Steps.push_back(Step(MacroRowStep::Action::Replace, row, std::move(content)));
    return edit;
}

MacroEdit MacroEditor::Delete(int row) {
    if (!IsRow(row)) {
        return {};
    }
    // Only the events behind the row move; the slot freed at the end is cleared.
    std::shift_left(events_.begin() + row, events_.begin() + count_, 1);
    events_[count_ - 1] = MacroEvent{};
    rows_.erase(rows_.begin() + row);
    --count_;
    MacroEdit edit;
    edit.Changed = true;
    edit.Steps.push_back(Step(MacroRowStep::Action::Delete, row));
    edit.Selection = row < count_ ? row : row - 1;
    return edit;
}

MacroEdit MacroEditor::Swap(int upper) {
    std::swap(events_[upper], events_[upper + 1]);
    std::swap(rows_[upper], rows_[upper + 1]);
    MacroEdit edit;
    edit.Changed = true;
    edit.Steps.push_back(Step(MacroRowStep::Action::Replace, upper, rows_[upper]));
    edit.Steps.push_back(Step(MacroRowStep::Action::Replace, upper + 1, rows_[upper + 1]));
    return edit;
}

MacroEdit MacroEditor::MoveUp(int row) {
    if (!IsRow(row) || row == 0) {
        return {};
    }
    MacroEdit edit = Swap(row - 1);
    edit.Selection = row - 1;
    return edit;
}

MacroEdit MacroEditor::MoveDown(int row) {
    if (!IsRow(row) || row == count_ - 1) {
        return {};
    }
    MacroEdit edit = Swap(row);
    edit.Selection = row + 1;
    return edit;
}

MacroEdit MacroEditor::Copy(int row) {
    if (IsRow(row)) {
        copied_ = events_[row];
    }
    return {};
}

MacroEdit MacroEditor::Cut(int row) {
    Copy(row);
    return Delete(row);
}

MacroEdit MacroEditor::Paste(int row) {
    if (!copied_ || !IsRow(row)) {
        return {};
    }
    MacroEdit edit = Insert(row + 1, *copied_);
    if (edit.Changed) {
        edit.Selection = row;
    }
    return edit;
}

std::uint8_t MacroEditor::ClickButtonCode(int button) {
    switch (button) {
    case 1:
        return 1;
    case 2:
        return 2;
    case 3:
        return 4;
    default:
        return 0;
    }
}

MacroEdit MacroEditor::InsertClick(int row, std::uint8_t buttonCode, int delay) {
    if (count_ > kClickInsertLimit || !IsRow(row) || buttonCode == 0) {
        return {};
    }
    const int d = NormalizedDelay(delay);
    const MacroEvent pause = MacroEvent::DelayEvent(MacroDelayUnits(d));
    const MacroRow pauseRow{DelayRowText(d), MacroRow::kDelayItem};
    // A click after a delay row needs no delay in front: the row already waits.
    const bool afterDelay = IsDelayRow(row);
    int at = row + 1;
    MacroEdit edit;
    if (!afterDelay && d != 0) {
        edit.Merge(Insert(at++, pause, pauseRow));
    }
    edit.Merge(Insert(at++, MacroEvent::MouseButtonEvent(buttonCode, true)));
    if (d != 0) {
        edit.Merge(Insert(at++, pause, pauseRow));
    }
    edit.Merge(Insert(at++, MacroEvent::MouseButtonEvent(buttonCode, false)));
    if (afterDelay && d != 0) {
        edit.Merge(Insert(at++, pause, pauseRow));
    }
    edit.Selection = row;
    return edit;
}

MacroEdit MacroEditor::InsertDelay(int row, MacroInsertPlace place, int delay) {
    const int d = NormalizedDelay(delay);
    if (count_ >= kCapacity || !IsRow(row) || d == 0) {
        return {};
    }
    const int at = place == MacroInsertPlace::Before ? row : row + 1;
    MacroEdit edit = Insert(at, MacroEvent::DelayEvent(MacroDelayUnits(d)),
                            {DelayRowText(d), MacroRow::kDelayItem});
    edit.Selection = row + 1;
    return edit;
}

MacroEdit MacroEditor::SetDelay(int row, int milliseconds) {
    if (!IsDelayRow(row)) {
        return {};
    }
    const MacroEvent event = MacroEvent::DelayEvent(MacroDelayUnits(EnteredDelay(milliseconds)));
    MacroEdit edit = Replace(row, event, RowOf(event));
    edit.Selection = row;
    return edit;
}
