#include "tests/config/main/MainWindowSession.h"

#include "config/ButtonFunctionCodes.h"
#include "shared/store/CIniFile.h"
#include "shared/store/DataPaths.h"
#include "shared/store/SettingsIni.h"
#include "tests/config/controls/ControlTestSupport.h"

#include <shlobj.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace session {

namespace {
constexpr UINT kAnswerTickMs = 20;
// A box that an answer did not end is cancelled after this many ticks (with any box it opened).
constexpr int kStuckTicks = 250;
ModalAnswers* g_answers = nullptr;

std::wstring VendorFolder() {
    wchar_t appData[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr, 0, appData);
    return std::wstring(appData) + L"\\Selvin V212 Gaming Mouse";
}

std::string Utf8(const std::wstring& text) {
    const int size =
        WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, bytes.data(), size, nullptr, nullptr);
    bytes.resize(static_cast<size_t>(size > 0 ? size - 1 : 0));
    return bytes;
}

void WriteLanguageFile(const std::wstring& path) {
    std::vector<std::wstring> keywords{L"NEWPROFILE", L"WARN1"};
    for (const auto& row : ButtonFunctionCodes::Keywords()) {
        keywords.emplace_back(row.keyword);
    }
    for (int mode = 1; mode <= 13; ++mode) {
        keywords.push_back(L"LEDMODE" + std::to_wstring(mode));
    }
    for (int mode = 1; mode <= 4; ++mode) {
        keywords.push_back(L"ADDMACRO" + std::to_wstring(mode));
    }
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<Strings><FONT><MAIN>Tahoma"
                      "</MAIN></FONT><BUTTONPAGE><DPISTAGE>DPI Stage</DPISTAGE>";
    for (const std::wstring& keyword : keywords) {
        const std::string name = Utf8(keyword);
        xml += "<" + name + ">" + Utf8(Text(keyword)) + "</" + name + ">";
    }
    xml += "</BUTTONPAGE></Strings>\r\n";
    std::ofstream(std::filesystem::path(path), std::ios::binary) << xml;
}
} // namespace

std::wstring Text(const std::wstring& keyword) {
    return L"[" + keyword + L"]";
}

std::unique_ptr<SettingsRecord> ProfileRecord(const std::wstring& name) {
    auto record = std::make_unique<SettingsRecord>();
    SettingsRecord_Reset(*record);
    SettingsRecord_FillDefaults(*record, 0);
    record->Profile = 0;
    record->MouseButtons = 8;
    record->TrayEnabled = 1;
    name.copy(record->ProfileName.data(), record->ProfileName.size() - 1);
    return record;
}

void StartDataFolder(const SettingsRecord& record, const std::vector<std::wstring>& profiles,
                     const std::vector<std::wstring>& macros) {
    std::error_code ignored;
    std::filesystem::remove_all(VendorFolder(), ignored);
    // Forming the path makes the folder and its sub-folders again.
    SettingsIni_Write(record, SettingsFilePath());
    for (const std::wstring& name : profiles) {
        auto profile = std::make_unique<SettingsRecord>(record);
        profile->ProfileName.fill(L'\0');
        name.copy(profile->ProfileName.data(), profile->ProfileName.size() - 1);
        SettingsIni_Write(*profile, ProfileFile(name));
    }
    const CIniFile settings(SettingsFilePath());
    for (size_t slot = 0; slot < macros.size(); ++slot) {
        settings.WriteString(L"MACRO_LIST", std::to_wstring(slot), macros[slot]);
    }
}

std::wstring MakeMenuSkin() {
    const std::wstring folder = MainWindowFixture::MakeTestSkin();
    struct Picture {
        const wchar_t* name;
        int width;
        int height;
    };
    const Picture pictures[] = {{L"Menu1_n.png", 180, 514},      {L"Menu1_d.png", 180, 514},
                                {L"Menu6_n.png", 180, 192},      {L"Menu6_d.png", 180, 215},
                                {L"Menu2_n.png", 145, 96},       {L"Menu2_d.png", 145, 96},
                                {L"Menu3_n.png", 186, 130},      {L"Menu3_d.png", 186, 130},
                                {L"Menu4_n.png", 188, 107},      {L"Menu4_d.png", 188, 107},
                                {L"macro_menu_n.jpg", 171, 402}, {L"macro_menu_n2.jpg", 120, 62}};
    for (const Picture& picture : pictures) {
        SaveSolidPng(folder + L"skins\\" + picture.name, picture.width, picture.height,
                     RGB(30, 30, 30));
    }
    WriteLanguageFile(folder + L"Strings.xml");
    return folder;
}

MainWindowSession::MainWindowSession(const SettingsRecord& record,
                                     const std::vector<std::wstring>& profiles,
                                     const std::vector<std::wstring>& macros) {
    StartDataFolder(record, profiles, macros);
    m_programFolder = MakeMenuSkin();
    m_window = std::make_unique<MainWindowFixture>(m_programFolder);
    Pump();
    m_service.Clear();
}

std::unique_ptr<SettingsRecord> StoredSettings() {
    auto record = std::make_unique<SettingsRecord>();
    SettingsRecord_Reset(*record);
    SettingsIni_Read(*record, SettingsFilePath(), -1);
    return record;
}

std::wstring ProfileFile(const std::wstring& name) {
    return ProfileFolder() + name + L".ini";
}

bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    while (!done()) {
        if (GetTickCount64() > end) {
            return false;
        }
        Pump();
        Sleep(10);
    }
    return true;
}

std::vector<HWND> OwnedPopups(HWND owner) {
    struct Search {
        HWND owner;
        std::vector<HWND> found;
    } search{owner, {}};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND hwnd, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            if (GetWindow(hwnd, GW_OWNER) == s->owner && IsWindowVisible(hwnd)) {
                s->found.push_back(hwnd);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::vector<HWND> ShownDialogs(HWND except) {
    struct Search {
        HWND except;
        std::vector<HWND> found;
    } search{except, {}};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND hwnd, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            wchar_t name[16] = {};
            GetClassNameW(hwnd, name, 16);
            if (hwnd != s->except && IsWindowVisible(hwnd) && lstrcmpW(name, L"#32770") == 0) {
                s->found.push_back(hwnd);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND OpenBoxOf(HWND owner) {
    for (HWND box : OwnedPopups(owner)) {
        wchar_t name[16] = {};
        GetClassNameW(box, name, 16);
        if (IsWindowEnabled(box) && lstrcmpW(name, L"#32770") == 0) {
            return box;
        }
    }
    return nullptr;
}

std::vector<std::wstring> LabelTexts(HWND box) {
    std::vector<std::pair<LONG, std::wstring>> labels;
    for (HWND child = GetWindow(box, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t name[16] = {};
        wchar_t text[256] = {};
        GetClassNameW(child, name, 16);
        GetWindowTextW(child, text, 256);
        RECT rect{};
        GetWindowRect(child, &rect);
        if (lstrcmpiW(name, L"Static") == 0) {
            labels.emplace_back(rect.top, text);
        }
    }
    std::stable_sort(labels.begin(), labels.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<std::wstring> texts;
    for (const auto& label : labels) {
        texts.push_back(label.second);
    }
    return texts;
}

bool TimerSet(HWND hwnd, UINT_PTR id, UINT periodMs) {
    if (!KillTimer(hwnd, id)) {
        return false;
    }
    SetTimer(hwnd, id, periodMs, nullptr);
    return true;
}

void ClickListRow(HWND list, int row) {
    RECT item{};
    SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    const LPARAM at = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
    SendMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(list, WM_LBUTTONUP, 0, at);
}

ModalAnswers::ModalAnswers(HWND owner, std::vector<Answer> answers)
    : m_owner(owner), m_answers(std::move(answers)) {
    g_answers = this;
    m_timer = SetTimer(nullptr, 0, kAnswerTickMs, &ModalAnswers::Tick);
}

ModalAnswers::~ModalAnswers() {
    KillTimer(nullptr, m_timer);
    g_answers = nullptr;
}

void CALLBACK ModalAnswers::Tick(HWND, UINT, UINT_PTR, DWORD) {
    ModalAnswers* self = g_answers;
    if (self == nullptr) {
        return;
    }
    if (self->m_lastBox != nullptr && IsWindow(self->m_lastBox)) {
        if (++self->m_stuckTicks > kStuckTicks) {
            self->m_stuckTicks = 0;
            if (HWND inner = OpenBoxOf(self->m_lastBox)) {
                Cancel()(inner);
            }
            Cancel()(self->m_lastBox);
        }
        return;
    }
    self->m_stuckTicks = 0;
    HWND box = OpenBoxOf(self->m_owner);
    if (box == nullptr) {
        return;
    }
    self->m_lastBox = box;
    self->m_boxes.push_back(LabelTexts(box));
    if (self->m_next < self->m_answers.size()) {
        self->m_answers[self->m_next++](box);
    } else {
        Cancel()(box);
    }
}

ModalAnswers::Answer ModalAnswers::Ok() {
    return [](HWND box) { PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0); };
}

ModalAnswers::Answer ModalAnswers::Cancel() {
    return [](HWND box) { PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0); };
}

ModalAnswers::Answer ModalAnswers::ChooseFile(std::wstring path) {
    return [path](HWND box) {
        HWND name = GetDlgItem(box, 0x47c);
        if (HWND inner = FindWindowExW(name, nullptr, L"Edit", nullptr)) {
            name = inner;
        }
        if (name == nullptr) {
            name = GetDlgItem(box, 0x480);
        }
        SetWindowTextW(name, path.c_str());
        PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    };
}

} // namespace session
