#pragma once

#include "shared/store/SettingsRecord.h"

// The button entry a dialog edits: one of the eight entries of a settings record. A button
// index outside 0 to 7 names no entry.
class ButtonEntryTarget {
public:
    // False, with no entry named, for an index outside 0 to 7.
    bool Set(SettingsRecord& record, int buttonIndex);
    // Null until an entry is named.
    ButtonAssignment* Entry() const { return m_entry; }

private:
    ButtonAssignment* m_entry = nullptr;
};
