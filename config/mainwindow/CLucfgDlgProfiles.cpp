#include "config/mainwindow/CLucfgDlg.h"

#include "config/core/ServiceWindow.h"
#include "winlayer/FileDialog.h"
#include "winlayer/Format.h"

// The profile panel: the profile operations and what the window shows of their results.

namespace {
constexpr int kHorizontal = 1;
constexpr UINT kLinkChanged = 0x517;
constexpr UINT kLinkSendTimeoutMs = 2000;
constexpr wchar_t kProfileFilter[] = L"Profile File(*.PROF)|*.PROF|";
constexpr wchar_t kNotice[] = L"提示";

// Links the record's profile to the program file `link`.
void SetLink(SettingsRecord& record, const std::wstring& link) {
    record.LinkName.fill(L'\0');
    link.copy(record.LinkName.data(), record.LinkName.size() - 1);
    record.Link = 1;
}

// What the warning box says when an operation was refused.
const wchar_t* RefusalText(ProfileOutcome outcome) {
    switch (outcome) {
    case ProfileOutcome::ReadOnly:
        return L"找不到用户数据文件夹，设置无法保存";
    case ProfileOutcome::LimitReached:
        return L"配置文件数量已达上限 (999)";
    case ProfileOutcome::NameEmpty:
        return L"配置文件名称不能为空";
    case ProfileOutcome::NameRefused:
        return L"配置文件名称不能用作文件名";
    case ProfileOutcome::NameExists:
        return L"已有同名的配置文件";
    case ProfileOutcome::NotFound:
        return L"找不到这个配置文件";
    case ProfileOutcome::LastProfile:
        return L"必须要保留一个配置文件";
    default:
        return L"文件操作失败";
    }
}

// The same for the debug output, which reaches a reader through a narrow code page: ASCII only.
const wchar_t* RefusalReason(ProfileOutcome outcome) {
    switch (outcome) {
    case ProfileOutcome::ReadOnly:
        return L"no data folder";
    case ProfileOutcome::LimitReached:
        return L"profile limit reached";
    case ProfileOutcome::NameEmpty:
        return L"empty name";
    case ProfileOutcome::NameRefused:
        return L"name is no file name";
    case ProfileOutcome::NameExists:
        return L"name taken";
    case ProfileOutcome::NotFound:
        return L"no such profile";
    case ProfileOutcome::LastProfile:
        return L"last profile";
    default:
        return L"file operation failed";
    }
}

// A name for the debug output: each character beyond ASCII as a backslash, "u" and four hex
// digits.
std::wstring DebugName(std::wstring_view name) {
    std::wstring text;
    for (const wchar_t c : name) {
        text += c >= L' ' && c < 0x7F ? std::wstring(1, c)
                                      : winlayer::Format(L"\\u%04x", static_cast<unsigned>(c));
    }
    return text;
}
} // namespace

void CLucfgDlg::RegisterProfileCommands() {
    AddCommand(m_newProfileBtn, [this] { NewProfile(); });
    AddCommand(m_deleteProfileBtn, [this] {
        if (m_profileList.Count() <= 1) {
            Warn(L"删除配置文件", L"必须要保留一个配置文件");
            return;
        }
        // The service may switch profiles while the box asks: the answer is about this one.
        const std::wstring name = CurrentProfileName();
        if (Warn(L"删除配置文件", L"确定要删除这个配置文件吗？")) {
            DeleteProfileFile(name);
        }
    });
    AddCommand(m_moreProfileBtn, [this] {
        // The focus goes back to the window before the menu opens: taking it afterwards would
        // put the window over the menu when no window manager keeps owned windows on top.
        SetFocus(Hwnd());
        m_moreMenu = std::make_unique<CMoreMenu>(this);
        ShowNameMenu(*m_moreMenu, CMoreMenu::kTemplate, m_moreProfileBtn.Hwnd());
    });
    AddCommand(m_applyBtn, [this] { RenameProfile(); });
    AddCommand(m_profileNameBtn, [this] {
        LoadProfileList();
        if (m_profileList.Count() == 0) {
            return;
        }
        m_profileNameMenu = std::make_unique<CProfileNameMenu>(this, m_profileList.Names());
        ShowNameMenu(*m_profileNameMenu, CProfileNameMenu::kTemplate, m_profileNameBtn.Hwnd());
    });
    AddCommand(m_linkProgramBtn, [this] { LinkProgram(); });
    AddCommand(m_linkToggleBtn, [this] { RemoveLink(); });
    AddCommand(m_importProfileBtn, [this] { ImportProfile(ProfileOperations::Form::Button); });
    AddCommand(m_exportProfileBtn, [this] { ExportProfile(ProfileOperations::Form::Button); });
    AddCommand(m_resetBtn, [this] { ResetProfile(); });
}

bool CLucfgDlg::LoadProfileList() {
    return m_profileList.Load();
}

void CLucfgDlg::ShowProfileName(const std::wstring& name) {
    m_profileNameBtn.SetCaption(name, 0, kHorizontal);
    m_profileNameBtn.SetToolTipText(name, true);
    SetWindowTextW(m_profileNameEdit.Hwnd(), name.c_str());
    RedrawButtonPage();
    RefreshButtonCaptions();
}

void CLucfgDlg::ApplyProfileResult(const ProfileResult& result) {
    if (!result.CurrentName.empty()) {
        ShowProfileName(result.CurrentName);
    }
    if (result.DisableProfileButtons) {
        // Back when the service reports the profile taken over, or after a bounded wait when
        // it never does (no mouse, a service that ended meanwhile).
        m_takeOverPending = true;
        EnableProfileButtons(false);
        KillTimer(kProfileButtonsTimer);
        SetTimer(kProfileButtonsTimer, kTakeOverWaitMs);
    }
    if (result.NeedsWarning()) {
        Warn(kNotice, RefusalText(result.Outcome));
    }
}

void CLucfgDlg::NewProfile() {
    ApplyProfileResult(m_profileOps.New(m_language.ButtonPage(L"NEWPROFILE")));
}

void CLucfgDlg::SelectProfile(const std::wstring& name) {
    ProfileResult result = m_profileOps.Select(name);
    if (result.NeedsWarning()) {
        // The service's choice, not the user's: refused, it changes nothing and opens no box.
        OutputDebugStringW(winlayer::Format(L"AutoProfile \"%ls\" refused: %ls\n",
                                            DebugName(name).c_str(), RefusalReason(result.Outcome))
                               .c_str());
        return;
    }
    // An automatic switch leaves the buttons as they are; the menu's caller disables them.
    result.DisableProfileButtons = false;
    ApplyProfileResult(result);
}

void CLucfgDlg::CopyProfile(const std::wstring& name) {
    ApplyProfileResult(m_profileOps.Copy(name));
}

void CLucfgDlg::DeleteProfileFile(const std::wstring& name) {
    ApplyAskedProfileResult(m_profileOps.Delete(name));
}

void CLucfgDlg::ApplyAskedProfileResult(const ProfileResult& result) {
    // The profile the user was asked about went meanwhile: there is nothing left to do.
    if (result.Outcome != ProfileOutcome::NotFound) {
        ApplyProfileResult(result);
    }
}

void CLucfgDlg::RenameProfile() {
    const std::wstring oldName = CurrentProfileName();
    const ProfileResult result = m_profileOps.Rename(oldName, m_profileNameEdit.Text());
    if (!result.Succeeded()) {
        // The caption stays the profile's own name.
        SetWindowTextW(m_profileNameEdit.Hwnd(), oldName.c_str());
        ApplyProfileResult(result);
        return;
    }
    ApplyProfileResult(result);
    Warn(L"应用", L"应用成功");
}

void CLucfgDlg::OnProfileNameChoice(WPARAM index) {
    const bool menuOpen = m_profileNameMenu != nullptr;
    CloseNameMenus();
    const auto& names = m_profileList.Names();
    if (!menuOpen || index >= names.size()) {
        return;
    }
    const std::wstring name = names[index];
    ProfileResult result = m_profileOps.Select(name);
    ApplyProfileResult(result);
}

void CLucfgDlg::OnMoreChoice(WPARAM choice) {
    const bool menuOpen = m_moreMenu != nullptr;
    CloseNameMenus();
    if (!menuOpen) {
        return;
    }
    switch (choice) {
    case 0:
        CopyProfile(CurrentProfileName());
        break;
    case 1:
        ImportProfile(ProfileOperations::Form::Menu);
        break;
    case 2:
        ExportProfile(ProfileOperations::Form::Menu);
        break;
    default:
        break;
    }
}

void CLucfgDlg::ImportProfile(ProfileOperations::Form form) {
    winlayer::FileDialog dialog(winlayer::FileDialog::Kind::Open, L".PROF", L"*.PROF",
                                OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, kProfileFilter, Hwnd());
    dialog.SetInitialFolder(m_paths.DataFolder());
    if (dialog.DoModal() != IDOK) {
        return;
    }
    ApplyProfileResult(m_profileOps.Import(dialog.Path(), form, [this](const std::wstring& name) {
        return Warn(L"导入配置文件", L"已有同名的配置文件：" + name, L"确定要替换它吗？");
    }));
}

void CLucfgDlg::ExportProfile(ProfileOperations::Form form) {
    const std::wstring name = CurrentProfileName();
    winlayer::FileDialog dialog(winlayer::FileDialog::Kind::Save, L".PROF", L"*.PROF",
                                OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, kProfileFilter, Hwnd());
    dialog.SetInitialFolder(m_paths.DataFolder());
    if (dialog.DoModal() != IDOK) {
        return;
    }
    ApplyAskedProfileResult(m_profileOps.Export(dialog.Path(), form, name));
}

void CLucfgDlg::LinkProgram() {
    const std::wstring name = CurrentProfileName();
    const std::optional<std::wstring> program = BrowseProgram();
    if (!program) {
        return;
    }
    const std::wstring link = winlayer::Format(L"%ls.exe", program->c_str());
    if (CurrentProfileName() == name) {
        m_linkProgramBtn.SetToolTipText(*program, true);
        m_linkToggleBtn.SetCheck(true);
        SetLink(Working(), link);
        m_profile.Store();
        LoadProfileList();
    } else if (const ProfileResult result = m_profileOps.ChangeStored(
                   name, [&](SettingsRecord& record) { SetLink(record, link); });
               !result.Succeeded()) {
        ApplyAskedProfileResult(result);
        return;
    }
    // Sent, so the service has its new list before the user goes on; a hung service cannot
    // hang this window.
    ServiceWindow::SendWithTimeout(kLinkChanged, 0, 0, kLinkSendTimeoutMs);
}

void CLucfgDlg::RemoveLink() {
    Working().LinkName.fill(L'\0');
    Working().Link = 0;
    m_linkProgramBtn.SetToolTipText(L"", true);
    m_linkToggleBtn.SetCheck(false);
    // The service's list is rebuilt from the stored profile before it is told.
    m_profile.Store();
    LoadProfileList();
    ServiceWindow::Post(kLinkChanged, 0, 0);
}

void CLucfgDlg::ResetProfile() {
    const std::wstring name = CurrentProfileName();
    if (!Warn(L"复位", m_language.ButtonPage(L"WARN1"))) {
        return;
    }
    if (CurrentProfileName() != name) {
        // The service switched profiles while the box asked: the one asked about is reset.
        ApplyAskedProfileResult(m_profileOps.ChangeStored(name, [](SettingsRecord& record) {
            SettingsRecord_FillDefaults(record, record.Profile);
        }));
        return;
    }
    m_profile.ResetToDefaults();
    RedrawButtonPage();
    RefreshButtonCaptions();
    ApplyToDevice(0);
    CopyProfileFile();
}
