#include "config/controls/CWindowHost.h"

#include <memory>

namespace {
HWND s_designatedHost = nullptr;
} // namespace

void CWindowHost::SetDesignatedHost(HWND host) {
    s_designatedHost = host;
}

HWND CWindowHost::DesignatedHost() {
    return s_designatedHost;
}

void RestoreHostedWindow(HWND window) {
    // The window's user data holds the object that took it over, and with it the object itself.
    const std::unique_ptr<CWindowHost> host(
        reinterpret_cast<CWindowHost*>(GetWindowLongPtrW(window, GWLP_USERDATA)));
    if (!host) {
        return;
    }
    SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(host->PreviousProcedure()));
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    HWND parent = GetParent(host->OwnWindow());
    SetParent(window, parent);
    if (HWND designated = CWindowHost::DesignatedHost()) {
        parent = designated;
        SetParent(window, parent);
    }
    RECT place{};
    GetWindowRect(host->OwnWindow(), &place);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&place), 2);
    MoveWindow(window, place.left, place.top, place.right - place.left, place.bottom - place.top,
               TRUE);
    host->Finish();
}
