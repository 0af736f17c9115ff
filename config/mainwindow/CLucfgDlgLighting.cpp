#include "config/mainwindow/CLucfgDlg.h"

#include "config/controls/COwnColorSelect.h"
#include "winlayer/FileDialog.h"

// The lighting sub-page: zones, effects, colours, lighting files and points.

namespace {
constexpr wchar_t kLightingFilter[] = L"灯光(*.LED)|*.LED|";
constexpr RECT kColorPreview{272, 176, 327, 232};
// The seven colours offered for the effects that take one of a few fixed colours.
constexpr std::array<COLORREF, 7> kFixedColors{
    RGB(255, 0, 0), RGB(255, 255, 0), RGB(0, 255, 0),    RGB(0, 255, 255),
    RGB(0, 0, 255), RGB(255, 0, 255), RGB(255, 255, 255)};
constexpr std::array<COLORREF, 9> kPresetRowColors{
    RGB(255, 0, 0),   RGB(255, 128, 0), RGB(255, 255, 0), RGB(0, 255, 0), RGB(0, 255, 255),
    RGB(0, 128, 255), RGB(0, 0, 255),   RGB(255, 0, 255), RGB(160, 0, 90)};
} // namespace

void CLucfgDlg::RegisterLightingCommands() {
    AddCommand(m_ledModeBtn, [this] { ShowLedMenu(m_ledModeBtn.Hwnd()); });
    AddCommand(m_ledModeSideBtn, [this] { ShowLedMenu(m_ledModeSideBtn.Hwnd()); });
    AddCommand(m_ledImportBtn, [this] { ImportLighting(); });
    AddCommand(m_ledExportBtn, [this] { ExportLighting(); });
    AddCommand(m_applyPointsBtn, [this] { ApplyLightingPoints(); });
    AddCommand(m_ledDefaultsBtn, [this] { ResetLighting(); });
    for (size_t i = 0; i < m_zoneBtns.size(); ++i) {
        AddCommand(m_zoneBtns[i], [this, i] { SelectLightingSlot(static_cast<int>(i)); });
    }
    for (size_t i = 0; i < m_presetColors.size(); ++i) {
        AddCommand(m_presetColors[i], [this, i] { TakePresetColor(kFixedColors[i]); });
    }
    for (size_t i = 0; i < m_presetRow.size(); ++i) {
        AddCommand(m_presetRow[i], [this, i] { TakePresetColor(kPresetRowColors[i]); });
    }
}

void CLucfgDlg::SelectLightingSlot(int slot) {
    m_lightingSlot = slot;
    SetModeButtons(slot);
    const auto& entry = Working().LED_MODE_INFO[static_cast<size_t>(slot)];
    SetTwoValues(entry[1], entry[2]);
    ArrangeLedControls(LedModeOfSlot());
    StoreAndNotify(WorkingProfile::kLightingChanged, static_cast<WPARAM>(slot), 0);
}

void CLucfgDlg::TakePresetColor(COLORREF color) {
    m_profile.SetSlotColour(m_lightingSlot, color);
    ShowColorValues(color);
    m_colorSelect.SetColor(color);
    InvalidateRect(Hwnd(), &kColorPreview, TRUE);
}

LRESULT CLucfgDlg::OnColorBoxKeyUp() {
    const ColourEdit edit = m_profile.CommitColourTexts(m_lightingSlot, m_rgbEdits[0].Text(),
                                                        m_rgbEdits[1].Text(), m_rgbEdits[2].Text());
    for (size_t i = 0; i < m_rgbEdits.size(); ++i) {
        if (edit.Corrected[i]) {
            SetWindowTextW(m_rgbEdits[i].Hwnd(), edit.Corrected[i]->c_str());
        }
    }
    m_colorSelect.SetColor(edit.Colour);
    InvalidateRect(Hwnd(), &kColorPreview, TRUE);
    return 0;
}

void CLucfgDlg::ImportLighting() {
    winlayer::FileDialog dialog(winlayer::FileDialog::Kind::Open, L".LED", L"*.LED",
                                OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, kLightingFilter, Hwnd());
    dialog.SetInitialFolder(m_paths.DataFolder());
    if (dialog.DoModal() != IDOK) {
        return;
    }
    if (m_profile.ImportLighting(dialog.Path(), m_lightingSlot) != LightingFileResult::Read) {
        Warn(L"灯光", L"这个灯光文件无法读取，", L"灯光设置没有改变");
        return;
    }
    const COLORREF color = static_cast<COLORREF>(Working().LedColor);
    ShowColorValues(color);
    m_colorSelect.SetColor(color);
    const auto& entry = Working().LED_MODE_INFO[static_cast<size_t>(m_lightingSlot)];
    SetTwoValues(entry[1], entry[2]);
    ArrangeLedControls(LedModeOfSlot());
    m_pointsBar.SetPositions(Working().MULTIPOS);
    InvalidateRect(Hwnd(), &kColorPreview, TRUE);
}

void CLucfgDlg::ExportLighting() {
    winlayer::FileDialog dialog(winlayer::FileDialog::Kind::Save, L".LED", L"*.LED",
                                OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, kLightingFilter, Hwnd());
    dialog.SetInitialFolder(m_paths.DataFolder());
    if (dialog.DoModal() == IDOK && !m_profile.ExportLighting(dialog.Path())) {
        Warn(L"灯光", L"灯光文件无法写入");
    }
}

void CLucfgDlg::ApplyLightingPoints() {
    SettingsRecord& record = Working();
    const MarkerArrays& markers = CPngMultiHSliderBar::Markers();
    std::copy(markers.position.begin(), markers.position.end(), record.MULTIPOS.begin());
    std::copy(markers.shown.begin(), markers.shown.end(), record.SHOWSLIDER.begin());
    std::copy(markers.selected.begin(), markers.selected.end(), record.SELSLODER.begin());
    // The colour of every lighting point as the bar shows it, three bytes a point.
    for (int point = 0; point < 20; ++point) {
        const CPngMultiHSliderBar::Rgb rgb = m_pointsBar.GetColorAt(point);
        std::copy(rgb.begin(), rgb.end(), record.MULTILED_INFO.begin() + point * 3);
    }
    StoreAndNotify(0x4CD, 0, 0);
}

void CLucfgDlg::ResetLighting() {
    m_profile.ResetLighting(m_lightingSlot);
    const COLORREF color = static_cast<COLORREF>(Working().LedColor);
    ShowColorValues(color);
    m_colorSelect.SetColor(color);
    const auto& entry = Working().LED_MODE_INFO[static_cast<size_t>(m_lightingSlot)];
    SetTwoValues(entry[1], entry[2]);
    ArrangeLedControls(LedModeOfSlot());
    InvalidateRect(Hwnd(), &kColorPreview, TRUE);
}
