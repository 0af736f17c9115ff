#include "config/mainwindow/CLucfgDlg.h"

#include "config/core/MacroBufferChecks.h"
#include "config/core/MacroDelay.h"
#include "config/core/PopupMenus.h"
#include "config/dialogs/EditDelay/CEditDelay.h"
#include "winlayer/ClientDC.h"
#include "winlayer/FileDialog.h"
#include "winlayer/Format.h"
#include "winlayer/ObjectSelection.h"

#include <windowsx.h>

// The macro page: the macro list, the event list kept in step with the macro being edited,
// recording from the hook library's reports, and the operations on whole macros.

namespace {
constexpr int kHorizontal = 1;
constexpr wchar_t kMacroSettings[] = L"宏设置";

const wchar_t* RenameRefusal(MacroRenameResult result) {
    switch (result) {
    case MacroRenameResult::Refused:
        return L"宏名称不能用作文件名";
    case MacroRenameResult::Exists:
        return L"已有同名的宏";
    default:
        return L"宏文件无法写入";
    }
}
} // namespace

void CLucfgDlg::RegisterMacroCommands() {
    AddCommand(m_loopSwitchBtn, [this] {
        if (m_macros.ToggleLoop()) {
            ShowLoopControls();
        }
    });
    AddCommand(m_editEventBtn, [this] { EditSelectedEvent(); });
    AddCommand(m_moveUpBtn, [this] { MoveEventUp(); });
    AddCommand(m_deleteEventBtn, [this] { DeleteEvent(); });
    AddCommand(m_moveDownBtn, [this] { MoveEventDown(); });
    AddCommand(m_insertActionBtn, [this] { ShowInsertActionMenu(m_insertActionBtn.Hwnd(), 0); });
    AddCommand(m_clickActionBtn, [this] { ShowClickMenu(m_clickActionBtn.Hwnd(), 0); });
    AddCommand(m_insertBtn, [this] { Insert(); });
    AddCommand(m_stopInsertBtn, [this] { StopRecording(); });
    AddCommand(m_renameMacroBtn, [this] { RenameMacro(); });
    AddCommand(m_moreMacroBtn, [this] {
        m_moreMenu = std::make_unique<CMoreMenu>(this);
        ShowNameMenu(*m_moreMenu, CMoreMenu::kTemplate, m_moreMacroBtn.Hwnd());
    });
    AddCommand(m_addMacroMenuBtn, [this] { ShowAddMacroMenu(m_addMacroMenuBtn.Hwnd()); });
    AddCommand(m_newMacroBtn, [this] { NewMacro(); });
    AddCommand(m_importMacroBtn, [this] { ImportMacro(); });
    AddCommand(m_exportMacroBtn, [this] { ExportMacro(); });
    AddCommand(m_deleteMacroBtn, [this] {
        AskAboutMacro([this] { return Warn(L"删除宏文件", L"确定要删除这个宏文件吗？"); },
                      [this] {
                          if (m_macros.Delete()) {
                              ShowCurrentMacro();
                              // The buttons that played it say so.
                              RefreshButtonCaptions();
                          }
                      });
    });
    for (size_t i = 0; i < m_delayModeBtns.size(); ++i) {
        AddCommand(m_delayModeBtns[i], [this, i] {
            m_delayMode = static_cast<MacroDelayMode>(i);
            SetPageState(static_cast<int>(i));
        });
    }
    AddCommand(m_macroNameBtn, [this] { OpenMacroNameMenu(); });
    AddCommand(m_stopRecordBtn, [this] { StopRecording(); });
    AddCommand(m_recordBtn,
               [this] { ShowRecordStart(m_recorder.Start(m_delayMode, m_fixedDelayEdit.Text())); });
}

// --- The macro list ---

int CLucfgDlg::LoadMacroList() {
    return m_macros.List().Load();
}

int CLucfgDlg::ReloadMacroList() {
    LoadMacroList();
    return 1;
}

void CLucfgDlg::AddMacroName(const std::wstring& name) {
    m_macros.List().Add(name);
}

void CLucfgDlg::RemoveMacroName(const std::wstring& name) {
    m_macros.List().Remove(name);
}

int CLucfgDlg::GetMacroListIndex(const std::wstring& name) const {
    return static_cast<int>(m_macros.List().SlotOf(name));
}

void CLucfgDlg::NewMacro() {
    m_hooks.EnableBoth(false);
    if (m_macros.New(m_language.ButtonPage(L"NEWMACRO"))) {
        ShowCurrentMacro();
    }
}

void CLucfgDlg::AskAboutMacro(const std::function<bool()>& ask, const std::function<void()>& act) {
    m_macroKept = true;
    const bool yes = ask();
    m_macroKept = false;
    LoadMacroList();
    // A macro that left the list while the user was asked is not acted on.
    if (yes && m_macros.List().FindMacroName(m_macros.Current()) != MacroListPosition::None) {
        act();
    }
    if (m_refreshDeferred && !m_recorder.Active()) {
        m_refreshDeferred = false;
        RefreshPage();
    }
}

void CLucfgDlg::ShowFirstMacro() {
    m_macros.ChooseFirst();
    ShowCurrentMacro();
}

void CLucfgDlg::OpenMacroNameMenu() {
    m_hooks.EnableBoth(false);
    LoadMacroList();
    if (MacroNames().empty()) {
        return;
    }
    m_macroNameMenu = std::make_unique<CMacroNameMenu>(this, MacroNames());
    ShowNameMenu(*m_macroNameMenu, CMacroNameMenu::kTemplate, m_macroNameBtn.Hwnd());
}

void CLucfgDlg::OnMacroNameChoice(WPARAM index) {
    const bool menuOpen = m_macroNameMenu != nullptr;
    CloseNameMenus();
    if (!menuOpen || index >= MacroNames().size()) {
        return;
    }
    if (m_macros.Choose(MacroListPosition{static_cast<int>(index)})) {
        ShowCurrentMacro();
    }
}

void CLucfgDlg::OnMacroMoreChoice(WPARAM choice) {
    const bool menuOpen = m_moreMenu != nullptr;
    CloseNameMenus();
    if (!menuOpen) {
        return;
    }
    switch (choice) {
    case 0:
        if (m_macros.Copy([this](std::wstring_view name) { return MacroNameFits(name); })) {
            ShowCurrentMacro();
        }
        break;
    case 1:
        ImportMacro();
        break;
    case 2:
        ExportMacro();
        break;
    default:
        break;
    }
}

void CLucfgDlg::RenameMacro() {
    const std::wstring oldName = m_macros.Current();
    const MacroSlot oldSlot = m_macros.List().SlotOf(oldName);
    const MacroRenameResult result = m_macros.Rename(m_macroNameEdit.Text());
    if (result == MacroRenameResult::Renamed) {
        ShowCurrentMacro();
        FollowRenamedMacro(oldName, oldSlot);
        return;
    }
    SetWindowTextW(m_macroNameEdit.Hwnd(), m_macros.Current().c_str());
    if (result != MacroRenameResult::Unchanged && result != MacroRenameResult::NoMacro) {
        Warn(kMacroSettings, RenameRefusal(result));
    }
}

bool CLucfgDlg::MacroNameFits(std::wstring_view name) const {
    // The box takes no more than its limit, and no more than its field shows in its own font.
    const HWND edit = m_macroNameEdit.Hwnd();
    if (name.size() > static_cast<size_t>(SendMessageW(edit, EM_GETLIMITTEXT, 0, 0))) {
        return false;
    }
    const winlayer::ClientDC dc(edit);
    const winlayer::ObjectSelection font(
        dc.Get(), reinterpret_cast<HGDIOBJ>(SendMessageW(edit, WM_GETFONT, 0, 0)));
    SIZE extent{};
    GetTextExtentPoint32W(dc.Get(), name.data(), static_cast<int>(name.size()), &extent);
    RECT field{};
    SendMessageW(edit, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&field));
    return extent.cx <= field.right - field.left;
}

std::wstring CLucfgDlg::MacroFilter() const {
    return m_language.ButtonPage(L"MACROFILENAME") + L"(*.MACRO)|*.MACRO|";
}

void CLucfgDlg::ImportMacro() {
    if (!m_macros.CanAdd()) {
        return;
    }
    winlayer::FileDialog dialog(winlayer::FileDialog::Kind::Open, L".MACRO", L"*.MACRO",
                                OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, MacroFilter(), Hwnd());
    dialog.SetInitialFolder(m_paths.DataFolder() + m_language.ButtonPage(L"MACRO") + L"\\");
    if (dialog.DoModal() != IDOK) {
        return;
    }
    const MacroImportResult result =
        m_macros.Import(dialog.Path(), [this](const std::wstring& title) {
            return Warn(kMacroSettings, L"已有同名的宏：" + title, L"确定要替换它吗？");
        });
    switch (result) {
    case MacroImportResult::Imported:
        ShowCurrentMacro();
        break;
    case MacroImportResult::NotAMacro:
        Warn(kMacroSettings, L"这个文件不是宏文件");
        break;
    case MacroImportResult::Refused:
        Warn(kMacroSettings, L"宏名称不能用作文件名");
        break;
    case MacroImportResult::WriteFailed:
        Warn(kMacroSettings, L"宏文件无法写入");
        break;
    default:
        break;
    }
}

void CLucfgDlg::ExportMacro() {
    if (m_macros.Current().empty()) {
        return;
    }
    winlayer::FileDialog dialog(winlayer::FileDialog::Kind::Save, L".MACRO", L"*.MACRO",
                                OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, MacroFilter(), Hwnd());
    dialog.SetInitialFolder(m_paths.DataFolder());
    AskAboutMacro([&] { return dialog.DoModal() == IDOK; },
                  [&] {
                      if (!m_macros.Export(dialog.Path())) {
                          Warn(kMacroSettings, L"宏文件无法写入");
                      }
                  });
}

// --- What the page shows ---

void CLucfgDlg::ShowCurrentMacro() {
    const std::wstring& name = m_macros.Current();
    m_macroNameBtn.SetCaption(name, 0, kHorizontal);
    SetWindowTextW(m_macroNameEdit.Hwnd(), name.c_str());
    FillEventRows();
    ShowLoopControls();
    EnableMacroControls(true);
}

void CLucfgDlg::FillMacroEventList() {
    ClosePopups();
    m_macros.ReloadEvents();
    FillEventRows();
}

void CLucfgDlg::FillEventRows() {
    RedrawWindow(m_eventList.Hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    ListReset(m_eventList.Hwnd());
    for (const MacroRow& row : m_macros.Editor().Rows()) {
        m_eventList.AddItem(row.Item, row.Text);
    }
    const int rows = ListCount(m_eventList.Hwnd());
    if (rows > 0) {
        m_eventList.SetCurSel(rows - 1);
    }
    m_selectedMacroRow = rows - 1;
    ShowEventCount();
}

void CLucfgDlg::MoveEventUp() {
    ApplyMacroEdit(m_macros.Editor().MoveUp(SelectedRow()));
}

void CLucfgDlg::MoveEventDown() {
    ApplyMacroEdit(m_macros.Editor().MoveDown(SelectedRow()));
}

void CLucfgDlg::DeleteEvent() {
    ApplyMacroEdit(m_macros.Editor().Delete(SelectedRow()));
}

void CLucfgDlg::ShowLoopControls() {
    const bool current = !m_macros.Current().empty();
    m_loopSwitchBtn.SetCheck(current && m_macros.LoopOn());
    SetWindowTextW(m_loopCountEdit.Hwnd(), winlayer::Format(L"%d", m_macros.LoopCount()).c_str());
    EnableWindow(m_loopCountEdit.Hwnd(), current && m_macros.LoopOn() ? TRUE : FALSE);
}

void CLucfgDlg::ShowEventCount() {
    m_eventCountBtn.SetCaption(winlayer::Format(L"%d", ListCount(m_eventList.Hwnd())), 0,
                               kHorizontal);
    SumMacroTime();
}

void CLucfgDlg::SumMacroTime() {
    const std::wstring total =
        winlayer::Format(L"%d", static_cast<int>(m_macros.Editor().TotalMilliseconds()));
    if (m_totalTimeLabel != nullptr) {
        SetWindowTextW(m_totalTimeLabel->Hwnd(), total.c_str());
    }
    const RECT area{291, 453, 383, 502};
    InvalidateRect(Hwnd(), &area, TRUE);
}

void CLucfgDlg::EnableMacroControls(bool enable) {
    // Without a macro the page offers only what makes or brings one; while recording, only
    // what ends the recording.
    const bool current = !m_macros.Current().empty();
    for (winlayer::Window* control : m_macroGroup) {
        const bool makesMacro =
            control == &m_newMacroBtn || control == &m_importMacroBtn || control == &m_macroNameBtn;
        bool on = enable && (current || makesMacro);
        if (control == &m_eventList) {
            // The list only shows; it stays readable in every state.
            on = true;
        } else if (control == &m_fixedDelayEdit) {
            on = on && m_delayMode == MacroDelayMode::Fixed;
        } else if (control == &m_loopCountEdit) {
            on = on && m_macros.LoopOn();
        } else if (control == &m_stopInsertBtn) {
            on = !enable;
        } else if (control == &m_editEventBtn && m_recorder.Replacing()) {
            // A second press of edit ends the replacement.
            on = true;
        }
        EnableWindow(control->Hwnd(), on ? TRUE : FALSE);
    }
    EnableWindow(m_stopRecordBtn.Hwnd(), TRUE);
}

int CLucfgDlg::SelectedRow() const {
    return m_eventList.GetCurSel();
}

// --- Editing the events ---

void CLucfgDlg::ApplyMacroEdit(const MacroEdit& edit) {
    if (edit.Rebuild) {
        FillEventRows();
    } else {
        MirrorMacroEdit(m_eventList, edit);
        if (edit.Selection) {
            m_selectedMacroRow = *edit.Selection;
        }
    }
    // Moves at the ends change nothing but are still saved and told, as every edit is.
    SaveAndAnnounceMacro();
    ShowEventCount();
}

void CLucfgDlg::SaveAndAnnounceMacro() {
    m_macros.SaveAndAnnounce();
}

void CLucfgDlg::EditMacroEvents(const MenuChoice& choice) {
    const int row = SelectedRow();
    if (!m_macros.Editor().IsRow(row)) {
        return;
    }
    MacroEditor& editor = m_macros.Editor();
    if (choice.kind == MenuKind::MouseButton) {
        const std::optional<int> button = PopupMenus::MouseButtonOfId(choice.id);
        if (!button) {
            return;
        }
        const FixedDelay delay = ClickDelay(m_delayMode, m_fixedDelayEdit.Text());
        if (delay.BoxCorrected) {
            m_fixedDelayEdit.ShowCorrectedText(std::to_wstring(delay.Milliseconds));
        }
        ApplyMacroEdit(
            editor.InsertClick(row, MacroEditor::ClickButtonCode(*button), delay.Milliseconds));
        return;
    }
    switch (choice.position) {
    case PopupMenus::kInsertNewAction: {
        const auto mode = m_insertMode == 2 || m_insertMode == 3
                              ? static_cast<MacroInsertMode>(m_insertMode)
                              : MacroInsertMode::Append;
        ShowRecordStart(m_recorder.StartInserting(mode, row, m_delayMode, m_fixedDelayEdit.Text()));
        break;
    }
    case PopupMenus::kCopyAction:
        editor.Copy(row);
        break;
    case PopupMenus::kCutAction:
        ApplyMacroEdit(editor.Cut(row));
        break;
    case PopupMenus::kPasteAction:
        ApplyMacroEdit(editor.Paste(row));
        break;
    default:
        break;
    }
}

void CLucfgDlg::EditSelectedEvent() {
    const int row = SelectedRow();
    if (!m_macros.Editor().IsRow(row)) {
        return;
    }
    if (m_recorder.Replacing()) {
        StopRecording();
        return;
    }
    if (m_macros.Editor().IsKeyRow(row)) {
        ShowRecordStart(m_recorder.StartReplacing(row));
    } else if (m_macros.Editor().IsDelayRow(row)) {
        m_eventList.EditDelay(row, MacroRow::kDelayItem);
    }
}

void CLucfgDlg::Insert() {
    const int row = SelectedRow();
    if (!m_macros.Editor().IsRow(row)) {
        return;
    }
    if (m_insertMode == 0 || m_insertMode == 1) {
        const int delay = SettleDelayBox(m_insertDelayEdit);
        ApplyMacroEdit(m_macros.Editor().InsertDelay(
            row, m_insertMode == 0 ? MacroInsertPlace::Before : MacroInsertPlace::After, delay));
    } else if (m_insertMode == 2 || m_insertMode == 3) {
        ShowRecordStart(m_recorder.StartInserting(static_cast<MacroInsertMode>(m_insertMode), row,
                                                  m_delayMode, m_fixedDelayEdit.Text()));
    }
}

void CLucfgDlg::SetInsertMode(int mode) {
    m_insertMode = mode;
    // Only the delay inserts take the delay box's value.
    EnableWindow(m_insertDelayEdit.Hwnd(), mode == 0 || mode == 1 ? TRUE : FALSE);
}

LRESULT CLucfgDlg::OnMacroMessage3401(WPARAM delay, LPARAM row) {
    const MacroEdit edit =
        m_macros.Editor().SetDelay(static_cast<int>(row), static_cast<int>(delay));
    if (edit.Changed) {
        ApplyMacroEdit(edit);
    }
    return 0;
}

LRESULT CLucfgDlg::OnMacroMessage3403(WPARAM wParam) {
    const int row = static_cast<int>(wParam);
    if (!m_macros.Editor().IsDelayRow(row)) {
        return 0;
    }
    CEditDelay dialog(this);
    dialog.SetDelay(static_cast<int>(m_macros.Editor().EventAt(row)->DelayMilliseconds()));
    AskAboutMacro([&] { return RunModal(dialog) == IDOK; },
                  [&] {
                      ApplyMacroEdit(m_macros.Editor().SetDelay(row, dialog.Delay()));
                      m_eventList.SetCurSel(row);
                  });
    return 0;
}

LRESULT CLucfgDlg::OnLoopCountKeyUp() {
    // What is being typed stays as it is: an empty or out-of-range count waits for the commit.
    m_macros.TypeLoopCount(m_loopCountEdit.Text());
    SaveAndAnnounceMacro();
    return 0;
}

int CLucfgDlg::SettleDelayBox(CClrEdit& box) {
    const FixedDelay delay = ReadFixedDelay(box.Text());
    if (delay.BoxCorrected) {
        box.ShowCorrectedText(std::to_wstring(delay.Milliseconds));
    }
    return delay.Milliseconds;
}

void CLucfgDlg::CommitLoopCount() {
    const int before = m_macros.LoopCount();
    if (const auto corrected = m_macros.SetLoopCount(m_loopCountEdit.Text())) {
        m_loopCountEdit.ShowCorrectedText(*corrected);
    }
    if (m_macros.LoopCount() != before) {
        SaveAndAnnounceMacro();
    }
}

LRESULT CLucfgDlg::OnMsg3400() {
    if (m_mainPage == kMacroPage && !m_recorder.Active()) {
        ShowInsertActionMenu2();
    }
    return 0;
}

LRESULT CLucfgDlg::OnMacroListRefresh() {
    m_mainPage = kLightingSubPage;
    ShowPage(m_mainPage);
    return 0;
}

// --- Recording ---

void CLucfgDlg::ShowRecordStart(MacroRecordStart start) {
    switch (start) {
    case MacroRecordStart::Started:
        if (m_recorder.InsertMode() == MacroInsertMode::Append && !m_recorder.Replacing()) {
            FillEventRows();
        }
        EnableMacroControls(false);
        ShowWindow(m_recordBtn.Hwnd(), SW_HIDE);
        ShowWindow(m_stopRecordBtn.Hwnd(), SW_SHOWNA);
        break;
    case MacroRecordStart::HooksMissing:
        Warn(kMacroSettings, L"找不到键盘钩子库 (Tarrow.dll)，", L"无法录制按键");
        break;
    default:
        break;
    }
}

LRESULT CLucfgDlg::OnMacroRecordKey(WPARAM virtualKey, LPARAM transition) {
    // The mouse hook reports buttons as their virtual keys; they are recorded as buttons.
    if (virtualKey == VK_LBUTTON || virtualKey == VK_RBUTTON || virtualKey == VK_MBUTTON) {
        static constexpr std::array<UINT, 3> kDown{WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN};
        const size_t index = virtualKey == VK_LBUTTON ? 0 : virtualKey == VK_RBUTTON ? 1 : 2;
        // Each button's release message follows its press message.
        const UINT message = kDown[index] + ((transition & 0x80) != 0 ? 1 : 0);
        POINT cursor{};
        GetCursorPos(&cursor);
        ScreenToClient(Hwnd(), &cursor);
        OnMsg1401(message, MAKELPARAM(cursor.x, cursor.y));
        return 0;
    }
    const MacroRecordResult result = m_recorder.RecordKey(virtualKey, transition);
    ShowRecorded(result);
    if (result.Done) {
        StopRecording();
    }
    return result.Taken ? 1 : 0;
}

LRESULT CLucfgDlg::OnMsg1401(WPARAM message, LPARAM lParam) {
    if (!m_recorder.Active()) {
        return 0;
    }
    if (message == WM_LBUTTONDOWN || message == WM_LBUTTONUP) {
        // The clicks that start and end a recording are not part of it.
        const POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        for (const CBitmapBtn* control : {&m_recordBtn, &m_stopRecordBtn, &m_stopInsertBtn}) {
            RECT rect{};
            GetWindowRect(control->Hwnd(), &rect);
            MapWindowPoints(nullptr, Hwnd(), reinterpret_cast<POINT*>(&rect), 2);
            if (PtInRect(&rect, point)) {
                return 0;
            }
        }
    }
    ShowRecorded(m_recorder.RecordMouse(message, lParam));
    return 0;
}

void CLucfgDlg::ShowRecorded(const MacroRecordResult& result) {
    if (!result.Taken) {
        return;
    }
    if (result.Edit.Rebuild) {
        FillEventRows();
    } else {
        MirrorMacroEdit(m_eventList, result.Edit);
    }
    if (result.DelayBoxText) {
        SetWindowTextW(m_fixedDelayEdit.Hwnd(), result.DelayBoxText->c_str());
    }
    ShowEventCount();
}

void CLucfgDlg::StopRecording() {
    const MacroRecordStop stop = m_recorder.Stop();
    if (!stop.WasRecording && !stop.WasReplacing) {
        return;
    }
    ShowWindow(m_stopRecordBtn.Hwnd(), SW_HIDE);
    ShowWindow(m_recordBtn.Hwnd(), SW_SHOWNA);
    EnableMacroControls(true);
    const bool keysHeld = stop.WasRecording && !m_macros.Current().empty() && !stop.KeysReleased;
    // Saved after the warning, whatever the answer.
    AskAboutMacro(
        [&] {
            if (keysHeld) {
                Warn(kMacroSettings, L"有一个或者多个按键没有被松开，", L"可能会造成按键无法停止");
            }
            return true;
        },
        [this] {
            SaveAndAnnounceMacro();
            ShowEventCount();
        });
}

void CLucfgDlg::CancelRecording() {
    if (!m_recorder.Cancel()) {
        return;
    }
    ShowWindow(m_stopRecordBtn.Hwnd(), SW_HIDE);
    ShowWindow(m_recordBtn.Hwnd(), SW_SHOWNA);
    FillEventRows();
    EnableMacroControls(true);
    m_refreshDeferred = false;
}
