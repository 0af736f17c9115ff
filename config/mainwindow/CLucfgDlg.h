#pragma once

#include "config/controls/CBitmapBtn.h"
#include "config/controls/CBitmapBtnEdit.h"
#include "config/controls/CBmpMenu.h"
#include "config/controls/CClrEdit.h"
#include "config/controls/CListBoxEx.h"
#include "config/controls/CMacroNameMenu.h"
#include "config/controls/CMoreMenu.h"
#include "config/controls/COwnColorSelect.h"
#include "config/controls/CPngHSliderBar.h"
#include "config/controls/CPngMultiHSliderBar.h"
#include "config/controls/CProfileNameMenu.h"
#include "config/controls/CStaticTrans.h"
#include "config/controls/SkinPicture.h"
#include "config/core/ConfigPaths.h"
#include "config/core/HookLibrary.h"
#include "config/core/LanguageText.h"
#include "config/core/MacroOperations.h"
#include "config/core/MacroRecorder.h"
#include "config/core/PopupMenu.h"
#include "config/core/ProfileList.h"
#include "config/core/ProfileOperations.h"
#include "config/core/WorkingProfile.h"
#include "shared/store/SettingsRecord.h"
#include "winlayer/Dialog.h"
#include "winlayer/GdiObject.h"

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <unordered_map>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The configuration program's main window: a borderless, skin-shaped dialog that owns every
// control of its pages, the pop-up menu that is open, and the binding to the hook library. It
// receives all of the window's messages; the logic of each concern lives in window-free classes
// that its methods call. The program's folders, one layer each:
//   config/core/           the window-free classes: profiles, macros, captions, files
//   config/controls/       the skinned controls
//   config/dialogs/        the secondary dialogs, a folder each
//   config/mainwindow/     this window and the application object
// The window's methods are spread over files of config/mainwindow/ by concern:
//   CLucfgDlg.cpp          frame: messages, create, paint, drag, timers, keys, destroy
//   CLucfgDlgBuild.cpp     the controls of the five skin pages
//   CLucfgDlgPages.cpp     page and sub-page switching, the settings-page refresh
//   CLucfgDlgCommands.cpp  the command table (which control does what) and its prologue
//   CLucfgDlgEvents.cpp    start-up, the service's events and the controls' private messages
//   CLucfgDlgMenus.cpp     the pop-up menus and the button captions
//   CLucfgDlgProfiles.cpp  the profile panel
//   CLucfgDlgLighting.cpp  the lighting sub-page
//   CLucfgDlgMacros.cpp    the macro page: macro operations, the event list, recording
//   CLucfgDlgAssign.cpp    assigning a function to a mouse button
class CLucfgDlg : public winlayer::Dialog {
public:
    static constexpr wchar_t kWindowTitle[] = L"Selvin V212 Gaming Mouse";

    // Pages (MainPage) and the main page's sub-pages (SubPage).
    static constexpr int kMainPage = 100000;
    static constexpr int kButtonsSubPage = 100001;
    static constexpr int kMacroPage = 100002;
    static constexpr int kLightingPage = 100003;
    static constexpr int kPerformanceSubPage = 100004;
    static constexpr int kLightingSubPage = 100005;
    static constexpr int kFourthSubPage = 100006;
    static constexpr int kDoubleClickSubPage = 100007;

    // Timers: the slot highlight, the deferred start, the profile buttons' return, a store that
    // waits for the settings file.
    static constexpr UINT_PTR kHighlightTimer = 10001;
    static constexpr UINT_PTR kStartTimer = 10002;
    static constexpr UINT_PTR kProfileButtonsTimer = 10003;
    static constexpr UINT_PTR kStoreRetryTimer = 10004;
    static constexpr UINT kHighlightMs = 200;
    static constexpr UINT kStoreRetryMs = 200;
    // How long the profile buttons wait for the service to take a profile over before they come
    // back anyway (a missing service or mouse never answers).
    static constexpr UINT kTakeOverWaitMs = 3000;

    // The program folder (with its trailing separator) holds the skins, the language file and the
    // outside programs; empty means the folder of the running program.
    explicit CLucfgDlg(std::wstring programFolder = {});
    ~CLucfgDlg() override;

    // The first entry of the profile-assignment entries other than `index` whose second byte is 1.
    static int IsOtherSlotActive(const SettingsRecord& record, int index);

    // Frame operations.
    void ShowPollingRate(int interval);
    void SetPageState(int type);
    void SetModeButtons(int mode);
    void SetTwoValues(int a, int b);
    void HighlightProfileSlot(int index);
    static int ListCount(HWND list);
    static void ListReset(HWND list);
    void WriteMouseId();
    void OpenHelp();
    // The title of the program file the user chose to link the profile to, when its path can
    // be stored.
    std::optional<std::wstring> BrowseProgram();
    void ShowSkinMenu(HWND anchor);
    void OnRateCommand(int id);

    // Page switching (CLucfgDlgPages.cpp).
    void ShowPage(int page);
    void ShowSettingsPage(int subPage);
    void RedrawButtonPage();
    // The double-click cards and switch for the stored speed.
    void ShowDoubleClick(int speed);
    void RefreshDpiStageButtons(int stage);
    void ArrangeLedControls(int mode);

    // Menus and captions (CLucfgDlgMenus.cpp).
    void ShowButtonFunctionMenu(HWND control, int button);
    void ShowLedMenu(HWND control);
    void ShowAddMacroMenu(HWND control);
    void ShowInsertActionMenu(HWND control, int target);
    void ShowInsertActionMenu2();
    void ShowClickMenu(HWND control, int target);
    static POINT FitImageToScreen(POINT at, SIZE picture);
    std::wstring KeyCodeToName(std::uint8_t position) const;
    void RefreshButtonCaptions();
    void ApplyLedModeChoice(int id);
    void ApplyAddMacroChoice(int id);
    void UpdateAddMacroTexts();

    // Working profile (CLucfgDlgEvents.cpp).
    void LoadWorkingProfile(int profileArg);
    StoreResult ApplyToDevice(int flag);
    StoreResult StoreAndNotify(UINT message, WPARAM wParam, LPARAM lParam);
    bool CopyProfileFile();
    SettingsRecord& Working() { return m_profile.Working(); }
    const SettingsRecord& Working() const { return m_profile.Working(); }
    const ConfigPaths& Paths() const { return m_paths; }

    // Service events (CLucfgDlgEvents.cpp).
    LRESULT OnDeviceEvent(WPARAM code, LPARAM value);
    // False when the event has to wait for the settings file.
    bool HandleDeviceEvent(WPARAM code, LPARAM value);
    // The store retry timer: what waits is stored, then the events that waited behind it.
    void RetryWaitingStore();
    // A change that waits for the settings file is stored on the way out, or the user is told.
    void StoreBeforeClosing();
    LRESULT OnRepaintRequest(WPARAM code);

    // Profiles (CLucfgDlgProfiles.cpp).
    bool LoadProfileList();
    void NewProfile();
    void SelectProfile(const std::wstring& name);
    void CopyProfile(const std::wstring& name);
    void DeleteProfileFile(const std::wstring& name);
    void ShowProfileName(const std::wstring& name);
    std::wstring CurrentProfileName() const { return m_profileNameBtn.GetCaption(); }

    // Macros (CLucfgDlgMacros.cpp).
    int LoadMacroList();
    int ReloadMacroList();
    void AddMacroName(const std::wstring& name);
    void RemoveMacroName(const std::wstring& name);
    int GetMacroListIndex(const std::wstring& name) const;
    void NewMacro();
    void FillMacroEventList();
    void SaveAndAnnounceMacro();
    void SumMacroTime();
    const std::vector<std::wstring>& MacroNames() const { return m_macros.List().Names(); }
    LRESULT OnMacroRecordKey(WPARAM virtualKey, LPARAM transition);
    void StopRecording();

    // Assignment (CLucfgDlgAssign.cpp).
    void AssignFunctionToButton(const MenuChoice& choice);

    int MainPage() const { return m_mainPage; }
    int SubPage() const { return m_subPage; }
    CBmpMenu* OpenPopup() const { return m_popup.get(); }
    bool HooksLoaded() const { return m_hooks.Loaded(); }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool PreTranslateMessage(MSG& msg) override;

protected:
    int OnCreate(CREATESTRUCTW& create) override;
    bool OnInitDialog() override;
    void OnDestroy() override;
    // The service closes the window this way too: it ends at once, whatever box is open.
    void OnClose() override;
    void OnTimer(UINT_PTR id) override;
    void OnPaint() override;
    bool OnEraseBkgnd(HDC dc) override;
    void OnLButtonDown(UINT flags, POINT point) override;
    HCURSOR OnQueryDragIcon() override;
    bool OnCommand(WPARAM wParam, LPARAM lParam) override;

private:
    // The tests reach the controls through it.
    friend class MainWindowProbe;

    // The seventeen pictures of the main window's pages.
    enum Picture {
        kMainNormal,
        kMainOver,
        k70A,
        k70B,
        k70C,
        kButtonNormal,
        kB2,
        kAdvanceNormal,
        kAdvanceDown,
        kG1,
        kG2,
        kColorNormal,
        kColorDown,
        kF7,
        kMacroNormal,
        kMacroDown,
        kMacroDisabled,
        kPictureCount
    };

    // CLucfgDlgBuild.cpp
    void BuildSkinControls();
    void BuildMainPage();
    void BuildButtonPage();
    void BuildAdvancePage();
    void BuildColorPage();
    void BuildMacroPage();
    CStaticTrans& AddLabel(std::vector<winlayer::Window*>& group, const std::wstring& text,
                           const RECT& rect, COLORREF color, int fontHeight, DWORD shown);

    // CLucfgDlgCommands.cpp: the command of each control, found by its window.
    using Command = std::function<void()>;
    void BuildCommandTable();
    void AddCommand(const winlayer::Window& control, Command command);
    void RegisterSettingsCommands();
    void RegisterProfileCommands();
    void RegisterLightingCommands();
    void RegisterMacroCommands();
    // The edit of a DPI stage that was typed but not taken yet, taken before anything else.
    void CommitPendingDpiEdit();
    void ShowDpiStage(int stage);
    void SetMouseModel(int model);
    void OpenCompanion();
    void SetUniversalScroll(bool on);
    void StepWheelLines(int step);
    void SetDoubleClick(ProfileEdits::DoubleClickButton button);
    static void ShowTextEdit(const winlayer::Window& edit, const TextEdit& result);

    // CLucfgDlgEvents.cpp
    LRESULT OnSliderChanged(WPARAM value, LPARAM sliderId);
    LRESULT OnColorChosen(WPARAM color);
    // 0x1402: a key-up in one of the three colour boxes or in the loop-count box.
    LRESULT OnMacroMessage1402(WPARAM key, LPARAM id);
    LRESULT OnDpiStageEnter();
    LRESULT OnWheelLinesChanged();
    // The typed wheel lines taken, kept within 1 to 100, and the box showing what is stored.
    void CommitWheelLinesEdit();
    // The end of the typing in a number box (Enter, leaving the box, a press elsewhere): the
    // box's value taken within its range and the box showing what is stored. False for a window
    // that is no number box.
    bool CommitNumberBox(HWND box);
    bool IsDpiStageEdit(HWND window);
    LRESULT OnReloadDpiStages();
    void RefreshPage();
    void ShowFirstMacro();
    // Shows a warning or question box with the slot highlight stopped; true on OK.
    bool Warn(const std::wstring& title, const std::wstring& text,
              const std::wstring& secondLine = {});

    // CLucfgDlgAssign.cpp: the assignment itself, its dialogs asking meanwhile.
    void AssignChosenFunction(const MenuChoice& choice);
    // False when the assignment ends without a store.
    bool AssignSubFunction(ButtonAssignment& entry, int button, int subCode);
    void AssignKeys(ButtonAssignment& entry, int button);
    void AssignMacroWithDialog(ButtonAssignment& entry);
    bool AssignMacroFromMenu(ButtonAssignment& entry);
    // The buttons of the profile that played the macro under its old name play it under the new
    // one: stored and announced, with the macro itself when it moved to another slot.
    void FollowRenamedMacro(const std::wstring& oldName, MacroSlot oldSlot);

    // CLucfgDlgMenus.cpp
    void OpenMenu(PopupMenu design, POINT at);
    void OpenMenuAt(PopupMenu design, HWND control);
    void OnMenuChoice(WPARAM wParam, LPARAM lParam);
    void CloseNameMenus();
    // Opens a name menu below its button.
    void ShowNameMenu(CNameMenu& menu, UINT templateId, HWND anchor);

    // CLucfgDlgProfiles.cpp
    void ApplyProfileResult(const ProfileResult& result);
    // The result of an operation that asked first.
    void ApplyAskedProfileResult(const ProfileResult& result);
    void OnProfileNameChoice(WPARAM index);
    void OnMoreChoice(WPARAM choice);
    void ImportProfile(ProfileOperations::Form form);
    void ExportProfile(ProfileOperations::Form form);
    void RenameProfile();
    void LinkProgram();
    void RemoveLink();
    void ResetProfile();

    // CLucfgDlgLighting.cpp
    void SelectLightingSlot(int slot);
    void TakePresetColor(COLORREF color);
    void ImportLighting();
    void ExportLighting();
    void ApplyLightingPoints();
    void ResetLighting();
    LRESULT OnColorBoxKeyUp();

    // CLucfgDlgMacros.cpp
    void EditMacroEvents(const MenuChoice& choice);
    void SetInsertMode(int mode);
    void OnMacroNameChoice(WPARAM index);
    void OnMacroMoreChoice(WPARAM choice);
    LRESULT OnMsg3400();
    LRESULT OnMacroListRefresh();
    LRESULT OnMsg1401(WPARAM message, LPARAM lParam);
    LRESULT OnMacroMessage3401(WPARAM delay, LPARAM row);
    LRESULT OnMacroMessage3403(WPARAM row);
    LRESULT OnLoopCountKeyUp();
    // The typed loop count taken within 0 to 255, and the box showing it.
    void CommitLoopCount();
    // The delay that a delay box gives (whole 10 ms within 10 to 65530 ms), with the box showing
    // it.
    int SettleDelayBox(CClrEdit& box);
    // Ends a recording that is running without keeping it (the page is left, the window goes).
    void CancelRecording();
    // A macro operation that asks first (a box, a file dialog): the service's refreshes while it
    // asks leave the current macro as it is and are made once the operation is done. `act` runs
    // after a yes, while the macro is still listed.
    void AskAboutMacro(const std::function<bool()>& ask, const std::function<void()>& act);
    void OpenMacroNameMenu();
    void RenameMacro();
    // True when the name box could take the name as typed (and so shows it whole).
    bool MacroNameFits(std::wstring_view name) const;
    std::wstring MacroFilter() const;
    void ImportMacro();
    void ExportMacro();
    // The current macro's name, events, loop and totals, and the controls that apply.
    void ShowCurrentMacro();
    void FillEventRows();
    void ShowLoopControls();
    void ShowEventCount();
    void EnableMacroControls(bool enable);
    int SelectedRow() const;
    // Mirrors an edit into the list, then saves and announces the macro.
    void ApplyMacroEdit(const MacroEdit& edit);
    void EditSelectedEvent();
    void MoveEventUp();
    void MoveEventDown();
    void DeleteEvent();
    void Insert();
    void ShowRecordStart(MacroRecordStart start);
    void ShowRecorded(const MacroRecordResult& result);

    // Frame helpers.
    // Brings the top-level window of that title forward, or opens the file of the program folder.
    void RaiseOrOpen(const wchar_t* title, const std::wstring& fileName) const;
    std::wstring EventName(const MacroEvent& event) const;
    void LoadHookLibrary();
    // Destroys the pop-up menu and every name menu that is open.
    void ClosePopups();
    // Closes them without a choice, as a press outside them or Escape does.
    void DismissPopups();
    // A mouse button pressed on the window or any of its controls, before the control sees it.
    void OnPressAnywhere(HWND target);
    void ClosePopupMenu();
    // Runs a modal dialog with the slot highlight stopped around it.
    INT_PTR RunModal(winlayer::Dialog& dialog);
    // Ends the window, first cancelling every box that is open over it.
    void EndWithOpenBoxes();
    void StartHighlightTimer();
    void StopHighlightTimer();
    void PaintBackground(Gdiplus::Graphics& graphics, int width, int height);
    void ShowGroup(const std::vector<winlayer::Window*>& group, bool show) const;
    void EnableProfileButtons(bool enable);
    // CLucfgDlgPages.cpp
    void HideLightingOptions();
    int LedModeOfSlot() const;
    void ShowColorValues(COLORREF color);

    // --- Paths and shared resources ---
    std::wstring m_programFolder;
    std::wstring m_languagePath;
    std::array<wchar_t, 520> m_savedDirectory{};
    LanguageText m_language;
    HookLibrary m_hooks;
    HICON m_icon = nullptr;
    winlayer::BitmapHandle m_mask;
    std::array<PicturePtr, kPictureCount> m_pictures;

    // --- The logic the window shows and edits ---
    ConfigPaths m_paths;
    WorkingProfile m_profile;
    ProfileList m_profileList;
    ProfileOperations m_profileOps;
    MacroOperations m_macros;
    MacroRecorder m_recorder;

    // --- Frame state ---
    int m_mainPage = kMainPage;
    int m_subPage = kButtonsSubPage;
    int m_pageType = 0;
    int m_menuKind = 0;
    int m_mode = 0;
    int m_lightingSlot = 0;
    std::array<int, 2> m_hover{-1, -1};
    bool m_slotHighlighting = true;
    bool m_highlightTimerOn = false;
    int m_selectedMacroRow = -1;
    int m_mouseModel = 3;
    RECT m_frameRect{};
    int m_frameFlag = 0;
    int m_selectedButton = -1;
    // The firmware version the service last read, for the firmware dialog.
    int m_fwVersion = 0;
    int m_menuTarget = 0;
    int m_insertMode = -1;
    MacroDelayMode m_delayMode = MacroDelayMode::Measured;
    // A service refresh that came during a recording or while a macro operation asked, done
    // when it ends.
    bool m_refreshDeferred = false;
    // A macro operation is asking about the current macro.
    bool m_macroKept = false;
    // A function is being assigned to a button, and the service's automatic profile choice that
    // came meanwhile waits for it.
    bool m_assigning = false;
    bool m_autoProfileDeferred = false;
    // A profile operation of this window waits for the service to take its profile over; the
    // profile buttons stay disabled until then.
    bool m_takeOverPending = false;
    // Service events that came while "Mouse.ini" could not be read or a change waited to be
    // stored, in order; the store retry timer handles them.
    std::vector<std::pair<WPARAM, LPARAM>> m_waitingEvents;
    std::unique_ptr<CBmpMenu> m_popup;
    std::optional<PopupMenu> m_openMenu;
    std::unique_ptr<CMoreMenu> m_moreMenu;
    std::unique_ptr<CProfileNameMenu> m_profileNameMenu;
    std::unique_ptr<CMacroNameMenu> m_macroNameMenu;
    std::unordered_map<HWND, Command> m_commands;

    // --- Controls, page by page (CLucfgDlgBuild.cpp says where each stands) ---
    std::vector<std::unique_ptr<CStaticTrans>> m_labels;
    // Main page frame: the profile panel and the window buttons.
    std::array<CBitmapBtn, 4> m_modelTabs;
    CBitmapBtn m_newProfileBtn;
    CBitmapBtn m_deleteProfileBtn;
    CBitmapBtn m_moreProfileBtn;
    CBitmapBtn m_profileNameBtn;
    CClrEdit m_profileNameEdit;
    CBitmapBtn m_applyBtn;
    CBitmapBtn m_applyTwinBtn;
    CBitmapBtn m_linkProgramBtn;
    CBitmapBtn m_linkToggleBtn;
    CBitmapBtn m_importProfileBtn;
    CBitmapBtn m_exportProfileBtn;
    CBitmapBtn m_resetBtn;
    CBitmapBtn m_firmwareBtn;
    CBitmapBtn m_companionBtn;
    CBitmapBtn m_minimizeBtn;
    CBitmapBtn m_closeBtn;
    // Tabs: the pages, and the main page's four sub-pages in the order of kSubPages.
    CBitmapBtn m_mainTabBtn;
    CBitmapBtn m_macroTabBtn;
    CBitmapBtn m_lightingTabBtn;
    CBitmapBtn m_statisticsTabBtn;
    std::array<CBitmapBtn, 4> m_subTabs;
    // Buttons sub-page: the function of each mouse button, and its dot on the mouse drawing.
    std::array<CBitmapBtn, kButtonCount> m_slotBtns;
    std::array<CBitmapBtn, kButtonCount> m_highlightBtns;
    // Performance sub-page.
    std::array<CBitmapBtnEdit, 4> m_dpiStageBtns;
    CPngHSliderBar m_dpiSlider;
    CPngHSliderBar m_speedSlider;
    CBitmapBtn m_pollingRateBtn;
    CClrEdit m_wheelLinesEdit;
    CBitmapBtn m_wheelUpBtn;
    CBitmapBtn m_wheelDownBtn;
    CBitmapBtn m_scrollOffBtn;
    CBitmapBtn m_scrollOnBtn;
    // Double-click sub-page.
    CBitmapBtn m_doubleClickA;
    CBitmapBtn m_doubleClickB;
    CBitmapBtn m_doubleClickC;
    // Lighting sub-page.
    std::array<CBitmapBtn, 4> m_zoneBtns;
    CBitmapBtn m_ledModeBtn;
    CBitmapBtn m_ledModeSideBtn;
    // The zone's lighting level (10009, left panel) and its effect's speed (10008, below).
    CPngHSliderBar m_ledLevelSlider;
    CPngHSliderBar m_effectSpeedSlider;
    CBitmapBtn m_ledImportBtn;
    CBitmapBtn m_ledExportBtn;
    CBitmapBtn m_ledReservedBtn;
    CBitmapBtn m_ledSpareBtn;
    std::array<CBitmapBtn, 3> m_rgbCaptionBtns;
    CBitmapBtn m_applyPointsBtn;
    CBitmapBtn m_ledDefaultsBtn;
    COwnColorSelect m_colorSelect;
    std::array<CBitmapBtn, 9> m_presetRow;
    std::array<CBitmapBtn, 7> m_presetColors;
    std::array<CClrEdit, 3> m_rgbEdits;
    CPngMultiHSliderBar m_pointsBar;
    // Macro page.
    CBitmapBtn m_macroNameBtn;
    CBitmapBtn m_newMacroBtn;
    CBitmapBtn m_deleteMacroBtn;
    CBitmapBtn m_moreMacroBtn;
    CBitmapBtn m_importMacroBtn;
    CBitmapBtn m_exportMacroBtn;
    CClrEdit m_macroNameEdit;
    CBitmapBtn m_renameMacroBtn;
    std::array<CBitmapBtn, 3> m_delayModeBtns;
    CClrEdit m_fixedDelayEdit;
    CBitmapBtn m_loopSwitchBtn;
    CClrEdit m_loopCountEdit;
    CBitmapBtn m_recordBtn;
    CBitmapBtn m_stopRecordBtn;
    CBitmapBtn m_moveUpBtn;
    CBitmapBtn m_moveDownBtn;
    CBitmapBtn m_deleteEventBtn;
    CBitmapBtn m_editEventBtn;
    CListBoxEx m_eventList;
    CBitmapBtn m_eventCountBtn;
    CStaticTrans* m_totalTimeLabel = nullptr;
    CBitmapBtn m_addMacroMenuBtn;
    CBitmapBtn m_insertActionBtn;
    CBitmapBtn m_clickActionBtn;
    CClrEdit m_insertDelayEdit;
    CBitmapBtn m_insertBtn;
    CBitmapBtn m_stopInsertBtn;

    // The controls each page shows, for the page switch.
    std::vector<winlayer::Window*> m_alwaysGroup;
    std::vector<winlayer::Window*> m_profileGroup;
    std::vector<winlayer::Window*> m_subTabGroup;
    std::vector<winlayer::Window*> m_buttonsGroup;
    std::vector<winlayer::Window*> m_performanceGroup;
    std::vector<winlayer::Window*> m_doubleClickGroup;
    std::vector<winlayer::Window*> m_lightingGroup;
    std::vector<winlayer::Window*> m_macroGroup;
};
