#pragma once

#include "config/dialogs/CSkinnedDialog.h"
#include "config/dialogs/LaunchTarget/CTargetChooser.h"
#include "winlayer/GdiObject.h"

#include <string>

// What the three launch dialogs share: a title, a hint, OK and Cancel over the skin's box
// picture, and a middle control that shows the target. The caller presets the target (empty for
// none) with SetTarget, runs DoModal and reads Target() after IDOK. The middle button asks the
// chooser for a new target; a cancelled chooser keeps the old one. Targets longer than
// kMaxTarget characters (what a button's target field holds) are refused with a warning, never
// cut. Enter ends the dialog as OK does.
class CLaunchTargetDlg : public CSkinnedDialog {
public:
    static constexpr size_t kMaxTarget = 259;

    void SetTarget(std::wstring target) { m_target = std::move(target); }
    const std::wstring& Target() const { return m_target; }
    // Replaces the system's chooser (CLaunchApp and CLaunchDir).
    void SetChooser(TargetChooser chooser) { m_chooser = std::move(chooser); }

    HWND OkButton() const { return m_ok.Hwnd(); }
    HWND CancelButton() const { return m_cancel.Hwnd(); }
    HWND MiddleButton() const { return m_middle.Hwnd(); }

    bool PreTranslateMessage(MSG& msg) override;

protected:
    CLaunchTargetDlg(UINT templateId, winlayer::Window* parent, std::wstring title,
                     std::wstring secondText, std::wstring hint, TargetChooser chooser);

    int OnCreate(CREATESTRUCTW& create) override;
    bool OnCommand(WPARAM wParam, LPARAM lParam) override;

    // Makes the control that shows the target over rect; the base makes the chooser button.
    virtual bool MakeMiddleControl(const RECT& rect);
    // The target typed into the middle control, when it is an edit; the base has none.
    virtual std::optional<std::wstring> TypedTarget() const { return std::nullopt; }
    // The dialog's font, for the controls the dialog makes itself.
    HFONT Font() const { return m_font.Get(); }

private:
    void Accept();
    void Choose();
    // Takes the target when it fits; otherwise warns and keeps the old one.
    bool TakeTarget(const std::wstring& target);

    std::wstring m_titleText;
    std::wstring m_secondText;
    std::wstring m_hintText;
    TargetChooser m_chooser;
    std::wstring m_target;
    winlayer::FontHandle m_font;
    CBitmapBtn m_ok;
    CBitmapBtn m_cancel;
    CBitmapBtn m_middle;
    CStaticTrans m_title;
    CStaticTrans m_second;
    CStaticTrans m_hint;
};
