#include "config/mainwindow/CLucfgDlg.h"

#include "config/controls/CControlGlobals.h"
#include "config/controls/PictureDecoding.h"
#include "config/core/SkinFile.h"
#include "config/core/SkinSection.h"
#include "shared/gfx/LoadPictureFile.h"

#include <algorithm>
#include <atomic>
#include <future>
#include <optional>
#include <span>
#include <thread>
#include <vector>

// Every control of the main window, page by page. Positions are fixed here; the skin files give
// the pictures (a button cuts its looks out of its page's full-window pictures at its own
// rectangle) and the texts ("BUTTONPOS" of the page's ini file).

namespace {
constexpr int kHorizontal = 1;
constexpr RECT kNowhere{0, 0, 0, 0};
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlue = RGB(60, 110, 200);
constexpr COLORREF kLight = RGB(200, 200, 200);
constexpr COLORREF kGrey = RGB(175, 175, 175);
constexpr COLORREF kDark = RGB(85, 86, 88);

using Colors = std::array<COLORREF, 3>;
constexpr Colors kAllWhite{kWhite, kWhite, kWhite};

enum class Text { None, Caption, Tooltip };

// Where a page's controls go. The pages the window does not show first are made hidden: they
// would be hidden at once, and each window shown and hidden again costs round trips to the
// window server.
struct Page {
    HWND parent;
    DWORD shown;
};
constexpr DWORD kShownFirst = WS_VISIBLE;
constexpr DWORD kHiddenFirst = 0;

// The two pictures a bitmap button cuts its looks from: normal (also disabled) and over (also
// pressed).
struct Looks {
    Gdiplus::Bitmap* normal;
    Gdiplus::Bitmap* over;
};

struct Style {
    std::optional<Colors> colors;
    int fontSize = 0;
    int offset = 0;
};

void MakeButton(CBitmapBtn& button, const Page& page, const RECT& rect, Looks looks, Text use,
                const std::wstring& text, const Style& style = {}) {
    button.Create(L"", WS_CHILD | page.shown | BS_OWNERDRAW, rect, page.parent, 0);
    button.SetImages(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                     looks.normal, looks.over);
    if (style.colors) {
        button.SetTextColors((*style.colors)[0], (*style.colors)[1], (*style.colors)[2]);
    }
    if (style.fontSize != 0) {
        button.SetFontSize(style.fontSize);
    }
    if (use == Text::Caption) {
        button.SetCaption(text, style.offset, kHorizontal);
    } else if (use == Text::Tooltip) {
        button.SetToolTipText(text, true);
    }
}

void MakeEdit(CClrEdit& edit, const Page& page, DWORD style, const RECT& rect, int id, int limit,
              COLORREF text, COLORREF background) {
    edit.Create(WS_CHILD | page.shown | style, rect, page.parent, id);
    SendMessageW(edit.Hwnd(), EM_LIMITTEXT, static_cast<WPARAM>(limit), 0);
    edit.SetTextColor(text);
    edit.SetBkColor(background);
    // Only the edits whose values the window takes key by key report their key-ups.
    edit.SetReportKeyUps(false);
}

// Moves the text of a multi-line edit down, so it sits in the middle of its field.
void LowerEditText(const CClrEdit& edit, int pixels) {
    RECT rect{};
    SendMessageW(edit.Hwnd(), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&rect));
    OffsetRect(&rect, 0, pixels);
    SendMessageW(edit.Hwnd(), EM_SETRECT, 0, reinterpret_cast<LPARAM>(&rect));
}

RECT Rect(int left, int top, int right, int bottom) {
    return RECT{left, top, right, bottom};
}

// A drop-down's name is drawn left of the separator and arrow at its right end (25 pixels of
// the skin), cut short with an ellipsis when it is wider.
void KeepCaptionLeftOfArrow(CBitmapBtn& dropDown, const RECT& rect) {
    constexpr int kArrowEnd = 25;
    constexpr int kMargin = 4;
    dropDown.SetTextRect(kMargin, 0, rect.right - rect.left - kArrowEnd - kMargin,
                         rect.bottom - rect.top);
}
} // namespace

CStaticTrans& CLucfgDlg::AddLabel(std::vector<winlayer::Window*>& group, const std::wstring& text,
                                  const RECT& rect, COLORREF color, int fontHeight, DWORD shown) {
    auto& label = m_labels.emplace_back(std::make_unique<CStaticTrans>());
    label->SetFontHeight(fontHeight);
    label->Create(text.c_str(), WS_CHILD | shown | SS_CENTERIMAGE, rect, Hwnd(), 0xFFFF);
    label->SetTextColor(color);
    group.push_back(label.get());
    return *label;
}

namespace {
// The pages' pictures decode on a few threads of their own while the window builds its
// controls, and each page waits only for the pictures it cuts from: decoding them all first was
// the larger part of the window's start. A thread a picture would cost more to start than a
// picture costs to decode.
class PagePictureLoads {
public:
    PagePictureLoads(std::span<const std::wstring> paths, std::span<const size_t> order)
        : m_pictures(paths.size()) {
        for (const size_t index : order) {
            std::packaged_task<PicturePtr()> load(
                [path = paths[index]] { return LoadPicture(path); });
            m_pictures[index] = load.get_future();
            m_jobs.emplace_back(std::move(load));
        }
        std::packaged_task<MaskPicture()> mask([] {
            MaskPicture loaded;
            LoadPictureFile(SkinFile::Path(L"main_mask.bmp"), loaded.bitmap, loaded.size);
            return loaded;
        });
        m_mask = mask.get_future();
        m_jobs.emplace_back(std::move(mask));
        const unsigned workers = std::clamp(std::thread::hardware_concurrency(), 1u, kMaxWorkers);
        for (unsigned i = 0; i < workers; ++i) {
            m_workers.emplace_back([this] {
                const PictureDecoding decoding;
                for (size_t job = m_next++; job < m_jobs.size(); job = m_next++) {
                    m_jobs[job]();
                }
            });
        }
    }

    PicturePtr Take(size_t index) { return m_pictures[index].get(); }
    winlayer::BitmapHandle TakeMask() { return std::move(m_mask.get().bitmap); }

private:
    static constexpr unsigned kMaxWorkers = 4;
    struct MaskPicture {
        winlayer::BitmapHandle bitmap;
        SIZE size{};
    };

    std::vector<std::packaged_task<void()>> m_jobs;
    std::vector<std::future<PicturePtr>> m_pictures;
    std::future<MaskPicture> m_mask;
    std::atomic<size_t> m_next{0};
    // Last, so that they have ended before the jobs go.
    std::vector<std::jthread> m_workers;
};
} // namespace

void CLucfgDlg::BuildSkinControls() {
    const auto screen = [](const wchar_t* ini, const wchar_t* state) {
        return SkinFile::ScreenPicture(ini, state);
    };
    const std::array<std::wstring, kPictureCount> paths{screen(L"skin_main.ini", L"Main"),
                                                        screen(L"skin_main.ini", L"Over"),
                                                        SkinFile::Path(L"70A.png"),
                                                        SkinFile::Path(L"70B.png"),
                                                        SkinFile::Path(L"70C.png"),
                                                        screen(L"skin_button.ini", L"Main"),
                                                        SkinFile::Path(L"B2.png"),
                                                        screen(L"skin_advance.ini", L"Main"),
                                                        screen(L"skin_advance.ini", L"Down"),
                                                        SkinFile::Path(L"G1.png"),
                                                        SkinFile::Path(L"G2.png"),
                                                        screen(L"skin_color.ini", L"Main"),
                                                        screen(L"skin_color.ini", L"Down"),
                                                        SkinFile::Path(L"F7.png"),
                                                        screen(L"skin_macro.ini", L"Main"),
                                                        screen(L"skin_macro.ini", L"Down"),
                                                        screen(L"skin_macro.ini", L"Disabled")};
    // In the order the pages below need them.
    static constexpr std::array<size_t, kPictureCount> kOrder{
        kMainNormal,    kMainOver,    kButtonNormal, kB2, k70A,          k70B,
        kAdvanceNormal, kAdvanceDown, kG1,           kG2, kColorNormal,  kColorDown,
        kMacroNormal,   kMacroDown,   k70C,          kF7, kMacroDisabled};
    // The controls load their own small pictures on this thread.
    const PictureDecoding decoding;
    PagePictureLoads loads(paths, kOrder);
    const auto take = [&](std::initializer_list<Picture> pictures) {
        for (const Picture picture : pictures) {
            m_pictures[picture] = loads.Take(picture);
        }
    };
    take({kMainNormal, kMainOver});
    BuildMainPage();
    take({kButtonNormal, kB2, k70A, k70B});
    BuildButtonPage();
    take({kAdvanceNormal, kAdvanceDown, kG1, kG2});
    BuildAdvancePage();
    take({kColorNormal, kColorDown});
    BuildColorPage();
    take({kMacroNormal, kMacroDown});
    BuildMacroPage();
    // Painted later, on their pages.
    take({k70C, kF7, kMacroDisabled});
    m_mask = loads.TakeMask();
}

void CLucfgDlg::BuildMainPage() {
    const wchar_t* ini = L"skin_main.ini";

    // The window is exactly as large as its skin; without a main picture it keeps the
    // template's size, so it stays visible and usable.
    if (Gdiplus::Bitmap* main = m_pictures[kMainNormal].get()) {
        MoveWindow(Hwnd(), 0, 0, static_cast<int>(main->GetWidth()),
                   static_cast<int>(main->GetHeight()), TRUE);
    }

    const HWND self = Hwnd();
    const Page page{self, kShownFirst};
    const SkinSection texts(ini, L"BUTTONPOS");
    const auto text = [&texts](int key) { return texts.ButtonText(key); };
    const Looks plain{m_pictures[kMainNormal].get(), m_pictures[kMainNormal].get()};
    const Looks hover{m_pictures[kMainNormal].get(), m_pictures[kMainOver].get()};
    const Style white14{kAllWhite, 14};

    for (CBitmapBtn& tab : m_modelTabs) {
        MakeButton(tab, page, kNowhere, hover, Text::None, L"");
    }
    AddLabel(m_profileGroup, text(76), Rect(36, 212, 127, 226), kWhite, 14, kShownFirst);
    AddLabel(m_profileGroup, text(77), Rect(43, 352, 120, 367), kWhite, 14, kShownFirst);
    MakeButton(m_newProfileBtn, page, Rect(42, 276, 90, 295), plain, Text::Tooltip, text(71));
    MakeButton(m_deleteProfileBtn, page, Rect(93, 276, 141, 295), plain, Text::Tooltip, text(70));
    MakeButton(m_moreProfileBtn, page, Rect(144, 276, 192, 295), plain, Text::Tooltip, text(69));
    MakeButton(m_profileNameBtn, page, Rect(19, 235, 189, 260), plain, Text::None, L"", white14);
    KeepCaptionLeftOfArrow(m_profileNameBtn, Rect(19, 235, 189, 260));
    MakeEdit(m_profileNameEdit, page, ES_MULTILINE, Rect(45, 373, 189, 394), 20483, 20, kWhite,
             RGB(0, 0, 0));
    LowerEditText(m_profileNameEdit, 4);
    MakeButton(m_applyBtn, page, Rect(154, 434, 223, 503), hover, Text::Caption, text(67), white14);
    MakeButton(m_applyTwinBtn, page, kNowhere, hover, Text::Caption, text(67), white14);
    MakeButton(m_linkProgramBtn, page, Rect(44, 419, 114, 442), plain, Text::None, L"", white14);
    MakeButton(m_linkToggleBtn, page, Rect(49, 401, 173, 415), hover, Text::Caption, text(68),
               {std::nullopt, 14, 20});
    MakeButton(m_importProfileBtn, page, Rect(21, 305, 100, 330), hover, Text::Caption, text(72),
               white14);
    MakeButton(m_exportProfileBtn, page, Rect(108, 305, 187, 330), hover, Text::Caption, text(74),
               white14);
    MakeButton(m_resetBtn, page, Rect(254, 441, 324, 497), hover, Text::None, L"");
    MakeButton(m_firmwareBtn, page, Rect(798, 12, 823, 33), plain, Text::None, L"");
    MakeButton(m_companionBtn, page, Rect(825, 12, 850, 33), hover, Text::None, L"");
    MakeButton(m_minimizeBtn, page, Rect(852, 12, 877, 33), hover, Text::None, L"");
    MakeButton(m_closeBtn, page, Rect(879, 12, 904, 33), hover, Text::None, L"");

    m_profileGroup.insert(m_profileGroup.end(),
                          {&m_newProfileBtn, &m_deleteProfileBtn, &m_moreProfileBtn,
                           &m_profileNameBtn, &m_profileNameEdit, &m_applyBtn, &m_linkProgramBtn,
                           &m_linkToggleBtn, &m_importProfileBtn, &m_exportProfileBtn});
    m_alwaysGroup.insert(m_alwaysGroup.end(),
                         {&m_firmwareBtn, &m_companionBtn, &m_minimizeBtn, &m_closeBtn});
}

void CLucfgDlg::BuildButtonPage() {
    const wchar_t* ini = L"skin_button.ini";

    const HWND self = Hwnd();
    const Page page{self, kShownFirst};
    const SkinSection texts(ini, L"BUTTONPOS");
    const auto text = [&texts](int key) { return texts.ButtonText(key); };
    const Looks plain{m_pictures[kButtonNormal].get(), m_pictures[kButtonNormal].get()};
    const Looks hover{m_pictures[kButtonNormal].get(), m_pictures[kB2].get()};
    const Style pageTab{Colors{kLight, kBlue, kBlue}, 28};
    const Style idleTab{Colors{kDark, kGrey, kGrey}, 28};
    const Style subTab{Colors{kLight, kWhite, kWhite}};

    MakeButton(m_mainTabBtn, page, Rect(215, 28, 327, 62), plain, Text::Caption, text(10), pageTab);
    MakeButton(m_macroTabBtn, page, Rect(340, 28, 452, 62), plain, Text::Caption, text(11),
               pageTab);
    MakeButton(m_lightingTabBtn, page, kNowhere, plain, Text::Caption, text(12), idleTab);
    MakeButton(m_statisticsTabBtn, page, kNowhere, plain, Text::Caption, L"统计", idleTab);
    // In sub-page order: buttons, performance, lighting, double-click.
    MakeButton(m_subTabs[0], page, Rect(198, 88, 312, 126), hover, Text::Caption, text(13), subTab);
    MakeButton(m_subTabs[1], page, Rect(320, 88, 434, 126), hover, Text::Caption, text(14), subTab);
    MakeButton(m_subTabs[2], page, Rect(441, 88, 556, 126), hover, Text::Caption, text(16), subTab);
    MakeButton(m_subTabs[3], page, Rect(563, 88, 677, 126), hover, Text::Caption, text(15), subTab);

    static constexpr std::array<RECT, kButtonCount> kSlots{{{246, 189, 431, 220},
                                                            {246, 229, 431, 260},
                                                            {246, 266, 431, 297},
                                                            {246, 306, 431, 337},
                                                            {245, 344, 431, 375},
                                                            {245, 381, 431, 413},
                                                            {438, 189, 622, 220},
                                                            {438, 227, 622, 259}}};
    static constexpr std::array<RECT, kButtonCount> kDots{{{691, 193, 715, 217},
                                                           {793, 193, 817, 217},
                                                           {744, 209, 768, 233},
                                                           {653, 270, 677, 294},
                                                           {656, 320, 680, 344},
                                                           {744, 310, 768, 334},
                                                           {744, 183, 768, 207},
                                                           {744, 235, 768, 259}}};
    const Looks dots{m_pictures[k70A].get(), m_pictures[k70B].get()};
    for (size_t i = 0; i < kButtonCount; ++i) {
        MakeButton(m_slotBtns[i], page, kSlots[i], hover, Text::Caption, L"", {kAllWhite, 14});
        MakeButton(m_highlightBtns[i], page, kDots[i], dots, Text::None, L"");
        m_buttonsGroup.push_back(&m_slotBtns[i]);
        m_buttonsGroup.push_back(&m_highlightBtns[i]);
    }
    m_alwaysGroup.insert(m_alwaysGroup.end(), {&m_mainTabBtn, &m_macroTabBtn});
    m_subTabGroup.insert(m_subTabGroup.end(),
                         {&m_subTabs[0], &m_subTabs[1], &m_subTabs[2], &m_subTabs[3]});
}

void CLucfgDlg::BuildAdvancePage() {
    const wchar_t* ini = L"skin_advance.ini";

    const HWND self = Hwnd();
    const Page page{self, kHiddenFirst};
    const SkinSection texts(ini, L"BUTTONPOS");
    const auto text = [&texts](int key) { return texts.ButtonText(key); };
    Gdiplus::Bitmap* normal = m_pictures[kAdvanceNormal].get();
    Gdiplus::Bitmap* down = m_pictures[kAdvanceDown].get();
    const Looks plain{normal, normal};
    const Looks pressed{normal, down};
    auto& group = m_performanceGroup;

    AddLabel(group, text(1), Rect(273, 168, 500, 183), kWhite, 16, kHiddenFirst);
    AddLabel(group, text(2), Rect(273, 189, 500, 201), kBlue, 14, kHiddenFirst);
    AddLabel(group, text(3), Rect(273, 374, 500, 389), kWhite, 16, kHiddenFirst);
    AddLabel(group, text(4), Rect(273, 395, 500, 407), kBlue, 14, kHiddenFirst);
    AddLabel(group, text(5), Rect(730, 185, 907, 200), kWhite, 16, kHiddenFirst);
    AddLabel(group, text(6), Rect(730, 206, 907, 218), kBlue, 14, kHiddenFirst);
    AddLabel(group, text(7), Rect(730, 391, 907, 406), kWhite, 16, kHiddenFirst);
    AddLabel(group, text(8), kNowhere, kBlue, 14, kHiddenFirst);
    AddLabel(group, L"100", Rect(252, 322, 273, 338), kBlue, 13, kHiddenFirst);
    AddLabel(group, L"12000", Rect(709, 322, 740, 338), kBlue, 13, kHiddenFirst);

    MakeButton(m_wheelUpBtn, page, Rect(851, 439, 876, 451), pressed, Text::None, L"");
    MakeButton(m_wheelDownBtn, page, Rect(851, 452, 876, 464), pressed, Text::None, L"");
    MakeEdit(m_wheelLinesEdit, page, ES_CENTER | ES_MULTILINE, Rect(730, 440, 850, 464), 20484, 3,
             kWhite, RGB(6, 17, 30));
    LowerEditText(m_wheelLinesEdit, 4);
    m_wheelLinesEdit.SetReportChanges(true);
    const Style option{Colors{kBlue, kBlue, kBlue}, 14, 16};
    MakeButton(m_scrollOffBtn, page, Rect(729, 412, 877, 426), pressed, Text::Caption, text(8),
               option);
    MakeButton(m_scrollOnBtn, page, Rect(729, 473, 877, 487), pressed, Text::Caption, text(16),
               option);
    for (size_t i = 0; i < m_dpiStageBtns.size(); ++i) {
        const int left = 271 + 74 * static_cast<int>(i);
        const RECT rect = Rect(left, 255, left + 69, 301);
        CBitmapBtnEdit& stage = m_dpiStageBtns[i];
        stage.Create(L"", WS_CHILD | page.shown | BS_OWNERDRAW, rect, self, 0);
        stage.SetImages(rect.left, rect.top, 69, 46, normal, down);
        stage.SetTextColors(kWhite, kWhite, kWhite);
        // The caption keeps to the upper part; the value's edit takes the lower.
        stage.SetTextRect(0, 2, 69, 24);
        stage.SetFontSize(12);
        // The value sits under the stage's caption, across the whole button.
        MoveWindow(stage.Edit().Hwnd(), 0, 26, 69, 16, TRUE);
        group.push_back(&stage);
    }
    m_dpiSlider.Create(SkinFile::Path(L"arrow1.png"), SkinFile::Path(L"arrow1.png"), 274, 314, 706,
                       349, self, 10001, false, false);
    m_dpiSlider.SetRange(1, 120);
    m_dpiSlider.SetImages(274, 314, 706 - 274, 349 - 314, normal, down);
    m_speedSlider.Create(SkinFile::Path(L"arrow2.png"), SkinFile::Path(L"arrow2.png"), 281, 438,
                         696, 467, self, 10010, false, false);
    m_speedSlider.SetRange(1, 11);
    m_speedSlider.SetImages(281, 438, 696 - 281, 467 - 438, normal, down);
    MakeButton(m_pollingRateBtn, page, Rect(728, 229, 876, 257), plain, Text::Caption, L"",
               {kAllWhite, 14});
    group.insert(group.end(), {&m_wheelUpBtn, &m_wheelDownBtn, &m_wheelLinesEdit, &m_scrollOffBtn,
                               &m_scrollOnBtn, &m_dpiSlider, &m_speedSlider, &m_pollingRateBtn});

    // The double-click sub-page is drawn on G1; its panels light up with G2.
    const Looks panel{m_pictures[kG1].get(), m_pictures[kG2].get()};
    MakeButton(m_doubleClickA, page, Rect(344, 287, 732, 373), panel, Text::None, L"");
    MakeButton(m_doubleClickB, page, Rect(344, 395, 732, 478), panel, Text::None, L"");
    MakeButton(m_doubleClickC, page, Rect(344, 218, 440, 240), panel, Text::Caption, text(15),
               {Colors{kGrey, kGrey, kGrey}, 14, 4});
    // A switch: lit only while it is on, not while the pointer is over it.
    m_doubleClickC.SetCheckable(true);
    m_doubleClickGroup.insert(m_doubleClickGroup.end(),
                              {&m_doubleClickA, &m_doubleClickB, &m_doubleClickC});
}

void CLucfgDlg::BuildColorPage() {
    const wchar_t* ini = L"skin_color.ini";

    const HWND self = Hwnd();
    const Page page{self, kHiddenFirst};
    const SkinSection texts(ini, L"BUTTONPOS");
    const auto text = [&texts](int key) { return texts.ButtonText(key); };
    Gdiplus::Bitmap* normal = m_pictures[kColorNormal].get();
    Gdiplus::Bitmap* down = m_pictures[kColorDown].get();
    const Looks pressed{normal, down};
    const Style white14{kAllWhite, 14};
    const Style dim14{Colors{kDark, kGrey, kGrey}, 14};
    auto& group = m_lightingGroup;

    AddLabel(group, text(1), Rect(32, 296, 146, 311), kWhite, 14, kHiddenFirst);
    AddLabel(group, text(2), Rect(33, 362, 112, 374), kWhite, 14, kHiddenFirst);
    AddLabel(group, text(3), Rect(16, 404, 44, 420), kBlue, 14, kHiddenFirst);
    AddLabel(group, text(4), Rect(114, 404, 142, 420), kBlue, 14, kHiddenFirst);
    // Ends inside the left panel, whose border stands at 239.
    AddLabel(group, text(5), Rect(210, 404, 236, 420), kBlue, 14, kHiddenFirst);
    AddLabel(group, text(6), kNowhere, kWhite, 14, kHiddenFirst);
    MakeButton(m_ledModeBtn, page, Rect(315, 171, 552, 206), Looks{down, down}, Text::Caption,
               text(22), white14);
    MakeButton(m_ledModeSideBtn, page, Rect(29, 316, 217, 342), pressed, Text::Caption, L"",
               white14);
    m_ledLevelSlider.Create(SkinFile::Path(L"arrow4.png"), SkinFile::Path(L"arrow4.png"), 26, 382,
                            232, 397, self, 10009, false, false);
    m_ledLevelSlider.SetRange(1, 3);
    m_ledLevelSlider.SetImages(26, 382, 232 - 26, 397 - 382, normal, down);
    MakeButton(m_ledExportBtn, page, Rect(30, 446, 125, 459), pressed, Text::Caption, text(10),
               {std::nullopt, 14});
    MakeButton(m_ledImportBtn, page, Rect(30, 427, 231, 440), pressed, Text::Caption, text(11),
               dim14);
    // Key 12 does nothing: its place among the colour selector's presets would cover them, so
    // it names the lighting picture it stands under instead.
    MakeButton(m_ledReservedBtn, page, Rect(723, 452, 788, 466), pressed, Text::Caption, text(12),
               dim14);
    // In no group of the pages: it stays as it is made.
    const Page always{self, kShownFirst};
    MakeButton(m_ledSpareBtn, always, kNowhere, pressed, Text::None, L"", {std::nullopt, 14});
    static constexpr std::array<int, 3> kRgbKeys{28, 29, 34};
    // Red, green and blue stand beside the colour selector, clear of its own fields.
    for (size_t i = 0; i < m_rgbCaptionBtns.size(); ++i) {
        const int top = 230 + 34 * static_cast<int>(i);
        MakeButton(m_rgbCaptionBtns[i], page, Rect(556, top, 576, top + 18), pressed, Text::Caption,
                   text(kRgbKeys[i]), white14);
    }
    MakeButton(m_applyPointsBtn, page, Rect(340, 478, 470, 500), pressed, Text::Caption, text(30),
               white14);
    MakeButton(m_ledDefaultsBtn, page, Rect(129, 453, 200, 509), pressed, Text::None, L"");
    static constexpr std::array<int, 4> kZoneKeys{35, 36, 37, 42};
    for (size_t i = 0; i < m_zoneBtns.size(); ++i) {
        const int top = 172 + 31 * static_cast<int>(i);
        MakeButton(m_zoneBtns[i], page, Rect(29, top, 216, top + 26), pressed, Text::Caption,
                   text(kZoneKeys[i]), white14);
    }
    m_zoneBtns[0].SetCheck(true);
    m_colorSelect.Create(315, 206, 551, 375, self, 10013);
    // The presets cut their looks from the page's state pictures, not from the background they
    // stand on: a hidden preset must leave no drawing of itself behind.
    for (size_t i = 0; i < m_presetRow.size(); ++i) {
        const int left = 315 + 26 * static_cast<int>(i);
        MakeButton(m_presetRow[i], page, Rect(left, 380, left + 24, 404), pressed, Text::None, L"");
    }
    for (size_t i = 0; i < m_presetColors.size(); ++i) {
        const int left = 274 + 27 * static_cast<int>(i);
        MakeButton(m_presetColors[i], page, Rect(left, 244, left + 22, 266), pressed, Text::None,
                   L"");
    }
    for (size_t i = 0; i < m_rgbEdits.size(); ++i) {
        const int top = 230 + 34 * static_cast<int>(i);
        MakeEdit(m_rgbEdits[i], page, ES_CENTER | ES_NUMBER, Rect(578, top, 626, top + 18), 20481,
                 3, kBlue, RGB(0, 0, 0));
        // The window tells the three boxes apart by these ids in their key-up reports.
        m_rgbEdits[i].SetId(255 + static_cast<int>(i));
        m_rgbEdits[i].SetReportKeyUps(true);
    }
    AddLabel(group, text(20), Rect(32, 152, 146, 167), kWhite, 14, kHiddenFirst);
    // Labels 21 and 24 would lie over the effect selector and over the speed slider's scale:
    // 21 names the defaults button beside it, 24 heads the effect selector above it.
    AddLabel(group, text(21), Rect(30, 475, 125, 488), kWhite, 14, kHiddenFirst);
    AddLabel(group, text(22), kNowhere, kWhite, 16, kHiddenFirst);
    // Wide enough for the speed slider's heading, short of the colour row at 315.
    AddLabel(group, text(23), Rect(272, 399, 314, 417), kWhite, 16, kHiddenFirst);
    AddLabel(group, text(24), Rect(272, 146, 313, 170), kWhite, 16, kHiddenFirst);
    AddLabel(group, text(25), Rect(264, 462, 349, 478), kBlue, 14, kHiddenFirst);
    AddLabel(group, text(26), Rect(402, 462, 435, 478), kBlue, 14, kHiddenFirst);
    AddLabel(group, text(27), Rect(532, 462, 565, 478), kBlue, 14, kHiddenFirst);
    m_effectSpeedSlider.Create(SkinFile::Path(L"arrow3.png"), SkinFile::Path(L"arrow3.png"), 280,
                               432, 548, 455, self, 10008, false, false);
    m_effectSpeedSlider.SetRange(1, 3);
    m_effectSpeedSlider.SetImages(280, 432, 548 - 280, 455 - 432, normal, down);
    m_pointsBar.Create(SkinFile::Path(L"arrow1.png"), 0, 275, 275, 555, 315, self, 10012, 0, 0);
    m_pointsBar.SetRange(0, 1, 20);
    m_pointsBar.SetImages(275, 275, 555 - 275, 315 - 275, normal, down);

    group.insert(group.end(),
                 {&m_ledModeBtn, &m_ledModeSideBtn, &m_ledLevelSlider, &m_ledExportBtn,
                  &m_ledImportBtn, &m_ledDefaultsBtn, &m_zoneBtns[0], &m_zoneBtns[1],
                  &m_zoneBtns[2], &m_zoneBtns[3], &m_effectSpeedSlider, &m_ledReservedBtn});
}

void CLucfgDlg::BuildMacroPage() {
    const wchar_t* ini = L"skin_macro.ini";

    const HWND self = Hwnd();
    const Page page{self, kHiddenFirst};
    const SkinSection texts(ini, L"BUTTONPOS");
    const auto text = [&texts](int key) { return texts.ButtonText(key); };
    Gdiplus::Bitmap* normal = m_pictures[kMacroNormal].get();
    Gdiplus::Bitmap* down = m_pictures[kMacroDown].get();
    const Looks plain{normal, normal};
    const Looks pressed{normal, down};
    const Style white14{kAllWhite, 14};
    const Style option{Colors{kGrey, kWhite, kWhite}, 14};
    auto& group = m_macroGroup;

    AddLabel(group, text(26), Rect(68, 208, 116, 223), kWhite, 15, kHiddenFirst);
    AddLabel(group, text(25), Rect(44, 352, 130, 367), kWhite, 15, kHiddenFirst);
    AddLabel(group, text(20), Rect(664, 151, 800, 164), kWhite, 14, kHiddenFirst);
    AddLabel(group, text(21), Rect(664, 230, 800, 243), kWhite, 14, kHiddenFirst);
    // Key 23 also names the insert-mode button below: both are about inserting.
    MakeButton(m_stopInsertBtn, page, Rect(659, 467, 756, 496), pressed, Text::Caption, text(22),
               white14);
    MakeButton(m_insertBtn, page, Rect(761, 467, 858, 496), pressed, Text::Caption, text(23),
               white14);
    MakeButton(m_addMacroMenuBtn, page, Rect(659, 169, 849, 197), plain, Text::Tooltip, text(23),
               {Colors{kBlue, kBlue, kBlue}, 14});
    MakeButton(m_macroNameBtn, page, Rect(19, 235, 190, 260), plain, Text::None, L"", white14);
    KeepCaptionLeftOfArrow(m_macroNameBtn, Rect(19, 235, 190, 260));
    MakeButton(m_newMacroBtn, page, Rect(36, 276, 84, 295), plain, Text::Tooltip, text(2));
    MakeButton(m_moreMacroBtn, page, Rect(138, 276, 187, 295), plain, Text::Tooltip, text(16));
    MakeButton(m_importMacroBtn, page, Rect(21, 305, 100, 330), pressed, Text::Caption, text(3),
               white14);
    MakeButton(m_exportMacroBtn, page, Rect(108, 305, 187, 330), pressed, Text::Caption, text(1),
               white14);
    MakeButton(m_deleteMacroBtn, page, Rect(87, 276, 136, 295), plain, Text::Tooltip, text(4));
    MakeButton(m_recordBtn, page, Rect(21, 441, 136, 465), pressed, Text::Caption, text(5),
               {kAllWhite, 14, 55});
    MakeButton(m_stopRecordBtn, page, Rect(21, 441, 136, 465), pressed, Text::Caption, text(17),
               {kAllWhite, 14, 55});
    ShowWindow(m_stopRecordBtn.Hwnd(), SW_HIDE);
    MakeEdit(m_macroNameEdit, page, 0, Rect(48, 373, 179, 393), 20484, 20, kWhite, RGB(0, 0, 0));
    MakeButton(m_renameMacroBtn, page, Rect(183, 371, 236, 395), pressed, Text::Caption, text(15),
               white14);
    // Delay modes 0, 1 and 2 in that order.
    MakeButton(m_delayModeBtns[0], page, Rect(49, 402, 116, 414), pressed, Text::Caption, text(6),
               {option.colors, 14, 16});
    MakeButton(m_delayModeBtns[1], page, Rect(38, 422, 100, 434), pressed, Text::Caption, text(7),
               {option.colors, 14, 15});
    MakeButton(m_delayModeBtns[2], page, Rect(121, 402, 175, 414), pressed, Text::Caption, text(8),
               {option.colors, 14, 16});
    m_delayModeBtns[0].SetCheck(true);
    MakeButton(m_loopSwitchBtn, page, Rect(130, 422, 200, 434), pressed, Text::Caption, text(9),
               {option.colors, 14, 16});
    MakeEdit(m_fixedDelayEdit, page, ES_NUMBER, Rect(103, 422, 126, 434), 20481, 5, kWhite,
             RGB(0, 0, 0));
    SetWindowTextW(m_fixedDelayEdit.Hwnd(), L"10");
    MakeEdit(m_loopCountEdit, page, ES_NUMBER, Rect(202, 422, 236, 434), 20482, 3, kWhite,
             RGB(0, 0, 0));
    m_loopCountEdit.SetReportKeyUps(true);
    m_loopCountEdit.SetId(20482);
    MakeEdit(m_insertDelayEdit, page, ES_NUMBER, Rect(671, 264, 860, 290), 20482, 5, kWhite,
             RGB(0, 0, 0));
    SetWindowTextW(m_insertDelayEdit.Hwnd(), L"10");
    const Style toolbar{};
    MakeButton(m_moveUpBtn, page, Rect(281, 146, 360, 175), pressed, Text::Tooltip, text(11),
               toolbar);
    MakeButton(m_deleteEventBtn, page, Rect(452, 146, 531, 175), pressed, Text::Tooltip, text(12),
               toolbar);
    MakeButton(m_moveDownBtn, page, Rect(366, 146, 446, 175), pressed, Text::Tooltip, text(13),
               toolbar);
    MakeButton(m_editEventBtn, page, Rect(537, 146, 617, 175), pressed, Text::Tooltip, text(14),
               toolbar);
    MakeButton(m_insertActionBtn, page, Rect(659, 204, 754, 228), pressed, Text::Caption, text(18),
               white14);
    MakeButton(m_clickActionBtn, page, Rect(759, 204, 849, 228), pressed, Text::Caption, text(19),
               white14);
    m_eventList.Create(WS_CHILD | page.shown | WS_VSCROLL | LBS_HASSTRINGS | LBS_OWNERDRAWVARIABLE |
                           LBS_NOTIFY,
                       Rect(283, 184, 615, 493), self, 0x1012);
    m_eventList.SetNotifyWindow(self);
    MakeButton(m_eventCountBtn, page, Rect(283, 497, 449, 517), plain, Text::Caption, L"0",
               white14);
    m_totalTimeLabel = &AddLabel(group, L"0", Rect(450, 497, 615, 517), kWhite, 14, kHiddenFirst);

    group.insert(group.end(),
                 {&m_insertBtn,        &m_stopInsertBtn,    &m_addMacroMenuBtn,  &m_macroNameBtn,
                  &m_newMacroBtn,      &m_moreMacroBtn,     &m_importMacroBtn,   &m_exportMacroBtn,
                  &m_deleteMacroBtn,   &m_recordBtn,        &m_macroNameEdit,    &m_renameMacroBtn,
                  &m_delayModeBtns[0], &m_delayModeBtns[1], &m_delayModeBtns[2], &m_loopSwitchBtn,
                  &m_fixedDelayEdit,   &m_loopCountEdit,    &m_insertDelayEdit,  &m_moveUpBtn,
                  &m_deleteEventBtn,   &m_moveDownBtn,      &m_editEventBtn,     &m_insertActionBtn,
                  &m_clickActionBtn,   &m_eventList,        &m_eventCountBtn});
}
