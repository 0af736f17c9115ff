#include "tests/config/mainwindow/MainWindowSession.h"

#include "shared/codes/ButtonFunctionCodes.h"
#include "tests/config/controls/ControlTestSupport.h"
#include "tests/config/dialogs/ModalSteps.h"

#include <filesystem>
#include <fstream>

namespace {
// The service's "read-back done": the window reads the data folder again.
constexpr UINT kServiceEvent = 0x505;

std::string Utf8(const std::wstring& text) {
    const int size =
        WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, bytes.data(), size, nullptr, nullptr);
    bytes.resize(static_cast<size_t>(size > 0 ? size - 1 : 0));
    return bytes;
}

std::string Element(const std::wstring& keyword, const std::wstring& text) {
    const std::string name = Utf8(keyword);
    return "<" + name + ">" + Utf8(text) + "</" + name + ">";
}

struct MenuPicture {
    const wchar_t* name;
    int width;
    int height;
    COLORREF color = RGB(30, 30, 30);
};
// The menus' pictures, and the sliders' thumbs in a colour of their own.
constexpr MenuPicture kMenuPictures[] = {{L"Menu1_n.png", 180, 514},
                                         {L"Menu1_d.png", 180, 514},
                                         {L"Menu6_n.png", 180, 192},
                                         {L"Menu6_d.png", 180, 215},
                                         {L"Menu2_n.png", 145, 96},
                                         {L"Menu2_d.png", 145, 96},
                                         {L"Menu3_n.png", 186, 130},
                                         {L"Menu3_d.png", 186, 130},
                                         {L"Menu4_n.png", 188, 107},
                                         {L"Menu4_d.png", 188, 107},
                                         {L"macro_menu_n.jpg", 171, 402},
                                         {L"macro_menu_n2.jpg", 120, 62},
                                         {L"arrow1.png", 18, 35, MainWindowSession::kThumbColor},
                                         {L"arrow2.png", 16, 29, MainWindowSession::kThumbColor},
                                         {L"arrow3.png", 14, 23, MainWindowSession::kThumbColor},
                                         {L"arrow4.png", 12, 15, MainWindowSession::kThumbColor}};

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
                      "</MAIN></FONT><BUTTONPAGE>";
    // Texts that become names or whole sentences.
    xml += Element(L"DPISTAGE", L"DPI Stage") + Element(L"NEWMACRO", L"Macro") +
           Element(L"WARN3", L"One button keeps the left click");
    for (const std::wstring& keyword : keywords) {
        xml += Element(keyword, MainWindowSession::Text(keyword));
    }
    xml += "</BUTTONPAGE></Strings>\r\n";
    std::ofstream(std::filesystem::path(path), std::ios::binary) << xml;
}
} // namespace

std::wstring MainWindowSession::Text(const std::wstring& keyword) {
    return L"[" + keyword + L"]";
}

std::wstring MainWindowSession::MakeProgramFolder(bool withHooks) {
    const std::wstring folder =
        MainWindowFixture::CopiedProgramFolder(L"session", [](const std::wstring& original) {
            MainWindowFixture::WriteTestSkin(original);
            for (const MenuPicture& picture : kMenuPictures) {
                SaveSolidPng(original + L"skins\\" + picture.name, picture.width, picture.height,
                             picture.color);
            }
            WriteLanguageFile(original + L"Strings.xml");
        });
    if (withHooks) {
        CopyFileW(MainWindowData::BuiltFile(V212_TARROW_DLL).c_str(),
                  (folder + L"Tarrow.dll").c_str(), FALSE);
    }
    return folder;
}

MainWindowSession::MainWindowSession(const SettingsRecord& record,
                                     const std::vector<std::wstring>& profiles,
                                     const std::vector<Macro>& macros, bool withHooks)
    : m_hooks(withHooks) {
    MainWindowData::Start(record, profiles, macros);
    m_programFolder = MakeProgramFolder(withHooks);
    m_window = std::make_unique<MainWindowFixture>(m_programFolder);
    Pump();
    m_service.Clear();
}

void MainWindowSession::Restart(const SettingsRecord& record,
                                const std::vector<std::wstring>& profiles,
                                const std::vector<Macro>& macros) {
    MainWindowData::Start(record, profiles, macros);
    SendMessageW(Hwnd(), kServiceEvent, 0, 0);
    Pump();
    m_service.Clear();
}

std::vector<MainWindowSession::Post> MainWindowSession::Posts() const {
    std::vector<Post> posts;
    for (const RecorderWindow::Message& m : m_service.Messages()) {
        posts.emplace_back(m.message, m.wParam, m.lParam);
    }
    return posts;
}

std::vector<WPARAM> MainWindowSession::Posts(UINT message) const {
    std::vector<WPARAM> posts;
    for (const RecorderWindow::Message& m : m_service.Messages()) {
        if (m.message == message) {
            posts.push_back(m.wParam);
        }
    }
    return posts;
}

void ClickListRow(HWND list, int row) {
    RECT item{};
    SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    const LPARAM at = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
    SendMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(list, WM_LBUTTONUP, 0, at);
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

std::vector<HWND> ShownDialogs(HWND except) {
    return ShownWindows([except](HWND hwnd) { return hwnd != except && IsDialogWindow(hwnd); });
}

bool TimerSet(HWND hwnd, UINT_PTR id, UINT periodMs) {
    if (!KillTimer(hwnd, id)) {
        return false;
    }
    SetTimer(hwnd, id, periodMs, nullptr);
    return true;
}

int DrawnOverArrow(HWND dropDown) {
    constexpr int kArrowEnd = 25;
    RedrawWindow(dropDown, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    RECT client{};
    GetClientRect(dropDown, &client);
    const ScreenShot shot(dropDown);
    const RECT arrow{client.right - kArrowEnd, 0, client.right, client.bottom};
    const int pixels = kArrowEnd * client.bottom;
    return pixels - shot.Count(arrow, shot.At(client.right - 1, 0));
}
