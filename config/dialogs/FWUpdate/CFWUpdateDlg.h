#pragma once

#include "config/controls/CDMarker.h"
#include "config/dialogs/CSkinnedDialog.h"
#include "winlayer/GdiObject.h"

#include <string>

// The firmware update box: its update button starts the outside flash tool (unless the tool's
// window is already open), and the stages the tool posts to the box's title "QJ FW UPDATE" show
// as the progress bar's text and position. The box never returns to idle; its close button (or
// Escape) ends it with IDCANCEL. Callers stop their 200 ms timer around the modal run.
class CFWUpdateDlg : public CSkinnedDialog {
public:
    // hardwareVersion: the version the mouse reported, shown as "硬件版本 : V%x"; title: the text
    // of the box's title line.
    CFWUpdateDlg(winlayer::Window* parent, int hardwareVersion, std::wstring title);

    HWND UpdateButton() const { return m_update.Hwnd(); }
    HWND CloseButton() const { return m_close.Hwnd(); }
    HWND HardwareLabel() const { return m_hardwareLabel.Hwnd(); }
    const CDMarker& ProgressBar() const { return m_bar; }

    bool PreTranslateMessage(MSG& msg) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    int OnCreate(CREATESTRUCTW& create) override;
    void OnDestroy() override;
    bool OnCommand(WPARAM wParam, LPARAM lParam) override;

    // Starts the program at path; the ShellExecuteW result, above 32 when it started.
    virtual INT_PTR StartTool(const std::wstring& path);

private:
    void StartUpdate();
    // The tool's progress message: shows its stage; codes the box does not know change nothing.
    void OnFlashProgress(WPARAM stage);
    void Finish(INT_PTR result);

    winlayer::FontHandle m_barFont;
    PicturePtr m_barEmpty;
    PicturePtr m_barFilled;
    CBitmapBtn m_update;
    CBitmapBtn m_close;
    // Exists for the skin's layout; it has no command and is never shown.
    CBitmapBtn m_spare;
    std::wstring m_titleText;
    CDMarker m_bar;
    int m_hardwareVersion;
    CStaticTrans m_title;
    CStaticTrans m_softwareLabel;
    CStaticTrans m_hardwareLabel;
    bool m_ended = false;
};
