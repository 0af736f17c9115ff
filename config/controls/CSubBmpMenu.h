#pragma once

#include "config/controls/CBitmapBtn.h"
#include "config/controls/CBmpMenuEntries.h"
#include "config/controls/SkinPicture.h"
#include "winlayer/Dialog.h"

#include <array>
#include <memory>
#include <vector>

// The column of sub-entries that a bitmap menu opens beside an entry the cursor rests on. A
// click on a sub-entry posts CBmpMenuChoice::kSubMenuChoice to the menu, which relays it to its
// owner. Made only by CBmpMenu.
class CSubBmpMenu : public winlayer::Dialog {
public:
    CSubBmpMenu(int entryIndex, std::vector<tagBMPMENUINFO> subEntries, winlayer::Window* owner);

    void SetPosition(int x, int y);
    // Cuts (x, y, width, height) out of each of the four pictures; the first cut is the
    // background and sets the window's size.
    void SetImages(int x, int y, int width, int height, Gdiplus::Bitmap* first,
                   Gdiplus::Bitmap* second, Gdiplus::Bitmap* third, Gdiplus::Bitmap* fourth);

    int EntryIndex() const { return m_entryIndex; }
    // The button of sub-entry index, or null.
    HWND EntryButton(int index) const;

protected:
    bool OnInitDialog() override;
    bool OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnPaint() override;
    bool OnEraseBkgnd(HDC dc) override;

private:
    int m_entryIndex;
    std::vector<tagBMPMENUINFO> m_subEntries;
    POINT m_position{};
    std::array<PicturePtr, 4> m_images;
    std::vector<std::unique_ptr<CBitmapBtn>> m_buttons;
};
