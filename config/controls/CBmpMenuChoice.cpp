#include "config/controls/CBmpMenuChoice.h"

namespace {
LPARAM Pack(int high, int low) {
    return static_cast<LPARAM>(static_cast<DWORD>(MAKELONG(low, high)));
}
} // namespace

WPARAM CBmpMenuChoice::EntryWParam(int entryIndex) {
    return static_cast<WPARAM>(Pack(entryIndex, 0));
}

LPARAM CBmpMenuChoice::EntryLParam(int entryValue) {
    return Pack(entryValue, 0);
}

WPARAM CBmpMenuChoice::SubEntryWParam(int entryIndex, int subIndex) {
    return static_cast<WPARAM>(Pack(entryIndex, subIndex));
}

LPARAM CBmpMenuChoice::SubEntryLParam(int subValue) {
    return static_cast<LPARAM>(subValue);
}

LPARAM CBmpMenuChoice::RelayLParam(LPARAM subEntryLParam, int entryValue) {
    return Pack(entryValue, LOWORD(subEntryLParam));
}
