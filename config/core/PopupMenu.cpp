#include "config/core/PopupMenu.h"

#include <algorithm>

POINT PopupMenu::OpeningPoint(const RECT& controlOnScreen) const {
    return {controlOnScreen.left + openingOffset, controlOnScreen.bottom};
}

std::optional<MenuChoice> PopupMenu::Decode(WPARAM wParam, LPARAM lParam) const {
    const int position = HIWORD(wParam);
    const int subPosition = LOWORD(wParam);
    const int id = HIWORD(lParam);
    const int subId = LOWORD(lParam);
    if (position >= static_cast<int>(entries.size()) ||
        entries[static_cast<size_t>(position)].id != id) {
        return std::nullopt;
    }
    MenuChoice choice{kind, position, id, std::nullopt, 0};

    std::vector<const SubEntry*> subs;
    for (const SubEntry& entry : subEntries) {
        if (entry.head == position) {
            subs.push_back(&entry);
        }
    }
    if (subs.empty()) {
        if (subPosition != 0 || subId != 0) {
            return std::nullopt;
        }
        return choice;
    }
    // A head's own click is never reported: only its sub-entries can be chosen.
    if (subPosition >= static_cast<int>(subs.size()) ||
        subs[static_cast<size_t>(subPosition)]->id != subId) {
        return std::nullopt;
    }
    choice.subPosition = subPosition;
    choice.subId = subId;
    return choice;
}

POINT PopupMenu::FitImageToScreen(POINT at, SIZE picture, SIZE screen) {
    if (at.x + picture.cx > screen.cx) {
        at.x = at.x - picture.cx - picture.cx;
    }
    if (at.y + picture.cy > screen.cy) {
        at.y = 2 * (screen.cy - picture.cy) - at.y;
    }
    // The moves above can overshoot on a small screen.
    at.x = std::max(at.x, 0L);
    at.y = std::max(at.y, 0L);
    return at;
}

RECT PopupMenu::ControlOnScreen(HWND control) {
    RECT rect{};
    GetClientRect(control, &rect);
    MapWindowPoints(control, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

SIZE PopupMenu::FullScreen() {
    return {GetSystemMetrics(SM_CXFULLSCREEN), GetSystemMetrics(SM_CYFULLSCREEN)};
}
