#pragma once

#include "config/controls/CBitmapBtn.h"
#include "config/controls/CClrEdit.h"
#include "config/controls/CColorPositions.h"
#include "config/controls/SkinPicture.h"
#include "winlayer/Window.h"

#include <array>
#include <optional>

// The lighting colour picker: a saturation/value square for the chosen hue, a hue strip, a
// preview, red/green/blue fields with auto-repeating arrow buttons, a read-only hexadecimal
// field and nine preset colours. Every change the user makes is posted to the owner as 0x518
// with the colour (COLORREF) in wParam.
class COwnColorSelect : public winlayer::Window {
public:
    enum Arrow { kRedUp, kRedDown, kGreenUp, kGreenDown, kBlueUp, kBlueDown, kArrowCount };
    enum Field { kRedField, kGreenField, kBlueField, kFieldCount };
    static constexpr int kFirstFieldId = 20483;
    static constexpr int kHexFieldId = 20486;
    // Timer ids of the arrows' repeats follow the order of Arrow.
    static constexpr UINT_PTR kFirstArrowTimer = 4097;
    static constexpr UINT kRepeatMs = 200;
    static constexpr std::array<COLORREF, 9> kPresets{
        0x0000FF, 0x0080FF, 0x00FFFF, 0x00FF00, 0xFFFF00, 0xFF8000, 0xFF0000, 0xFF00FF, 0x5A00A0};

    // A visible child of owner over the rectangle (owner's client coordinates).
    bool Create(int left, int top, int right, int bottom, HWND owner, int id);
    // Shows the colour without reporting it.
    void SetColor(COLORREF color);

    COLORREF Color() const { return m_color; }
    COLORREF HueColor() const { return m_hueColor; }
    const ColorPositions& Positions() const { return m_pos; }
    // The buttons are made without pictures; the owner may give them some.
    CBitmapBtn& ArrowButton(Arrow arrow) { return m_arrows[arrow]; }
    CBitmapBtn& PresetButton(size_t index) { return m_presets[index]; }
    CClrEdit& FieldEdit(Field field) { return m_fields[field]; }
    CClrEdit& HexEdit() { return m_hex; }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    int OnCreate(CREATESTRUCTW& create) override;
    void OnPaint() override;
    bool OnEraseBkgnd(HDC dc) override;
    void OnLButtonDown(UINT flags, POINT point) override;
    void OnMouseMove(UINT flags, POINT point) override;
    void OnLButtonUp(UINT flags, POINT point) override;
    void OnTimer(UINT_PTR id) override;
    bool OnCommand(WPARAM wParam, LPARAM lParam) override;

private:
    void Render(Gdiplus::Graphics& graphics, int width, int height) const;
    void OnArrowPress(WPARAM down, HWND button);
    void OnFieldKeyUp(int fieldId);
    void StepArrow(int arrow);
    // Positions and hue colour from the current colour.
    void DerivePositions();
    // Hue colour and current colour from the positions.
    void ColorFromPositions();
    void WriteFields();
    void InvalidateAreas() const;
    void PostColor() const;
    // The background picture's colour in the middle of the area, when there is a picture.
    std::optional<COLORREF> BackgroundAt(const RECT& area) const;
    int ArrowIndex(HWND button) const;
    int PresetIndex(HWND button) const;

    HWND m_owner = nullptr;
    COLORREF m_color = RGB(255, 0, 0);
    COLORREF m_hueColor = RGB(255, 0, 0);
    ColorPositions m_pos;
    bool m_draggingHue = false;
    bool m_draggingSquare = false;
    PicturePtr m_background;
    PicturePtr m_hueTop;
    PicturePtr m_hueBottom;
    std::array<CClrEdit, kFieldCount> m_fields;
    CClrEdit m_hex;
    std::array<CBitmapBtn, kArrowCount> m_arrows;
    std::array<CBitmapBtn, kPresets.size()> m_presets;
};
