#include "config/dialogs/LaunchWWW/CLaunchWWW.h"

#include "config/dialogs/DialogTemplates.h"

CLaunchWWW::CLaunchWWW(winlayer::Window* parent, std::wstring title, std::wstring secondText,
                       std::wstring hint)
    : CLaunchTargetDlg(IDD_LAUNCHWWW, parent, std::move(title), std::move(secondText),
                       std::move(hint), nullptr) {}

bool CLaunchWWW::MakeMiddleControl(const RECT& rect) {
    // Scrolls sideways: an address may be far wider than the edit.
    if (!m_edit.Create(L"EDIT", Target().c_str(),
                       WS_CHILD | WS_VISIBLE | ES_CENTER | ES_AUTOHSCROLL, rect, Hwnd(), 0)) {
        return false;
    }
    SendMessageW(m_edit.Hwnd(), EM_LIMITTEXT, kMaxTarget, 0);
    SendMessageW(m_edit.Hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(Font()), FALSE);
    return true;
}

std::optional<std::wstring> CLaunchWWW::TypedTarget() const {
    if (m_edit.Hwnd() == nullptr) {
        return std::nullopt;
    }
    return m_edit.Text();
}
