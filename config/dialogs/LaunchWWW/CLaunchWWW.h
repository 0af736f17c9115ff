#pragma once

#include "config/dialogs/LaunchTarget/CLaunchTargetDlg.h"

// Asks for the web address a mouse button opens, typed into an edit of at most kMaxTarget
// characters; OK and Enter both take the typed address.
class CLaunchWWW : public CLaunchTargetDlg {
public:
    CLaunchWWW(winlayer::Window* parent, std::wstring title, std::wstring secondText,
               std::wstring hint);

    HWND AddressEdit() const { return m_edit.Hwnd(); }

protected:
    bool MakeMiddleControl(const RECT& rect) override;
    std::optional<std::wstring> TypedTarget() const override;

private:
    winlayer::Window m_edit;
};
