#include "config/controls/CWindowHost.h"

#include <map>

namespace {
HWND s_designatedHost = nullptr;

// The hosts by the window each has taken over. The user data only points at them: other code
// may have put anything there, and only a recorded host is given back and deleted.
std::map<HWND, std::unique_ptr<CWindowHost>>& Hosts() {
    static std::map<HWND, std::unique_ptr<CWindowHost>> hosts;
    return hosts;
}
} // namespace

CWindowHost& CWindowHost::Host(HWND window, std::unique_ptr<CWindowHost> host) {
    CWindowHost& kept = *host;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&kept));
    Hosts()[window] = std::move(host);
    return kept;
}

void CWindowHost::SetDesignatedHost(HWND host) {
    s_designatedHost = host;
}

HWND CWindowHost::DesignatedHost() {
    return s_designatedHost;
}

void RestoreHostedWindow(HWND window) {
    const auto found = Hosts().find(window);
    if (found == Hosts().end()) {
        return;
    }
    const std::unique_ptr<CWindowHost> host = std::move(found->second);
    Hosts().erase(found);
    SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(host->PreviousProcedure()));
    if (GetWindowLongPtrW(window, GWLP_USERDATA) == reinterpret_cast<LONG_PTR>(host.get())) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    }
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
