#pragma once

#include "shared/codes/MacroEvent.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// One row of the macro event list: its text and the item value that picks its picture.
struct MacroRow {
    static constexpr int kDelayItem = 0;
    static constexpr int kReleaseItem = 148;
    static constexpr int kPressItem = 149;

    std::wstring Text;
    int Item = kDelayItem;

    bool operator==(const MacroRow&) const = default;
};

// One change of the event list, to be applied to the list box in the order given.
struct MacroRowStep {
    enum class Action { Insert, Delete, Replace };

    Action What = Action::Insert;
    int Row = 0;
    MacroRow Content; // the new row of Insert and Replace
};

// What an editing operation did.
struct MacroEdit {
    // The events changed: the macro is to be saved and announced (a recording saves at its end).
    bool Changed = false;
    // The whole list is to be filled again from MacroEditor::Rows().
    bool Rebuild = false;
    std::vector<MacroRowStep> Steps;
    // The row to select afterwards (-1: none); empty leaves the selection as it is.
    std::optional<int> Selection;

    // Adds the changes of a later operation.
    void Merge(MacroEdit&& later);
};

// Names keys and mouse buttons for their rows; delay rows are named here.
using MacroEventNamer = std::function<std::wstring(const MacroEvent&)>;

enum class MacroInsertPlace { Before, After };

// The macro being edited: up to 60 events and, in step with them, the rows of the event list
// (row i always shows event i). Every operation checks its row and the event limit and refuses
// silently (an unchanged result) when they do not allow it.
class MacroEditor {
public:
    static constexpr int kCapacity = MaxMacroEvents;
    // The most events a click may be inserted into (it adds up to four).
    static constexpr int kClickInsertLimit = 55;

    explicit MacroEditor(MacroEventNamer namer = {});

    int Count() const { return count_; }
    // The events, with every slot from Count() on cleared: what a macro file stores.
    const MacroEventBuffer& Events() const { return events_; }
    const std::vector<MacroRow>& Rows() const { return rows_; }
    bool IsRow(int row) const { return row >= 0 && row < count_; }
    bool IsDelayRow(int row) const;
    bool IsKeyRow(int row) const;
    // Nothing for a row that does not exist.
    std::optional<MacroEvent> EventAt(int row) const;
    // Sum of the delays in milliseconds.
    std::uint32_t TotalMilliseconds() const;

    // The row that shows `event`: a delay as "250 MS", keys and buttons by the namer with the
    // press or release picture.
    MacroRow RowOf(const MacroEvent& event) const;

    // Takes the first `count` events (clamped to 0..60); empty slots and unknown kinds among
    // them are left out so that rows and events stay in step. The copied event is kept.
    void Load(const MacroEventBuffer& events, int count);
    MacroEdit Clear();

    // Inserts at 0..Count(); refused when the macro is full.
    MacroEdit Insert(int at, const MacroEvent& event, MacroRow row);
    MacroEdit Insert(int at, const MacroEvent& event) { return Insert(at, event, RowOf(event)); }
    MacroEdit Append(const MacroEvent& event) { return Insert(count_, event); }
    // Gives `row` a new event and row text.
    MacroEdit Replace(int row, const MacroEvent& event, MacroRow content);

    // Selects the row now in place `row`, or the one before when the last row went.
    MacroEdit Delete(int row);
    // Swap with the neighbour and select the moved row; nothing at the ends.
    MacroEdit MoveUp(int row);
    MacroEdit MoveDown(int row);

    MacroEdit Copy(int row);
    MacroEdit Cut(int row);
    // Puts the copied event after `row`; refused at 60 events or with nothing copied.
    MacroEdit Paste(int row);
    bool HasCopiedEvent() const { return copied_.has_value(); }

    // Mouse-button code (1, 2, 4) of the click menu's button 1, 2 or 3; 0 for others.
    static std::uint8_t ClickButtonCode(int button);
    // A press and release of `buttonCode` after `row`, with `delay` ms (normalized; 0: none)
    // between them and before them, or after them when `row` is a delay. Refused above 55 events.
    MacroEdit InsertClick(int row, std::uint8_t buttonCode, int delay);
    // A delay event before or after `row`; the row after the selected one is selected. Refused at
    // 60 events.
    MacroEdit InsertDelay(int row, MacroInsertPlace place, int delay);
    // A new length for a delay row, held as a typed delay is (EnteredDelay); other rows are left
    // alone.
    MacroEdit SetDelay(int row, int milliseconds);

private:
    MacroEdit Swap(int upper);

    MacroEventNamer namer_;
    MacroEventBuffer events_{};
    int count_ = 0;
    std::vector<MacroRow> rows_;
    std::optional<MacroEvent> copied_;
};

// Applies the steps and the selection of `edit` to a list box with InsertItem(row, item, text),
// DeleteString(row) and SetCurSel(row). A rebuild is the caller's: it refills from Rows().
template <class List> void MirrorMacroEdit(List& list, const MacroEdit& edit) {
    for (const MacroRowStep& step : edit.Steps) {
        if (step.What != MacroRowStep::Action::Insert) {
            list.DeleteString(step.Row);
        }
        if (step.What != MacroRowStep::Action::Delete) {
            list.InsertItem(step.Row, step.Content.Item, step.Content.Text);
        }
    }
    if (edit.Selection) {
        list.SetCurSel(*edit.Selection);
    }
}
