#include "tests/config/mainwindow/MainWindowFixture.h"

#include "config/mainwindow/ConfigResources.h"
#include "tests/config/controls/ControlTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>

namespace {
void WriteText(const std::wstring& path, const std::string& text) {
    std::ofstream file(std::filesystem::path(path), std::ios::binary);
    file << text;
}

// White corners of 40 x 40 pixels are outside the window.
void SaveMask(const std::wstring& path) {
    auto picture =
        SolidPicture(MainWindowFixture::kWidth, MainWindowFixture::kHeight, RGB(0, 0, 0));
    {
        Gdiplus::Graphics graphics(picture.get());
        Gdiplus::SolidBrush white(Gdiplus::Color(255, 255, 255, 255));
        graphics.FillRectangle(&white, 0, 0, 40, 40);
        graphics.FillRectangle(&white, MainWindowFixture::kWidth - 40, 0, 40, 40);
    }
    const CLSID bmp = ImageEncoder(L"image/bmp");
    ASSERT_EQ(Gdiplus::Ok, picture->Save(path.c_str(), &bmp, nullptr));
}

// The folders CopiedProgramFolder copies from, made once and removed when the program ends.
class Originals {
public:
    ~Originals() {
        std::error_code ignored;
        std::filesystem::remove_all(m_root, ignored);
    }
    // The folder of this name, filled the first time it is asked for.
    std::wstring Folder(const std::wstring& name,
                        const std::function<void(const std::wstring& folder)>& fill) {
        if (m_root.empty()) {
            wchar_t temp[MAX_PATH] = {};
            GetTempPathW(MAX_PATH, temp);
            m_root = std::wstring(temp) + L"v212originals" + std::to_wstring(GetCurrentProcessId());
        }
        const std::wstring folder = m_root + L"\\" + name + L"\\";
        if (m_made.insert(name).second) {
            std::filesystem::create_directories(folder + L"skins");
            fill(folder);
        }
        return folder;
    }

private:
    std::wstring m_root;
    std::set<std::wstring> m_made;
};
Originals g_originals;
} // namespace

std::wstring MainWindowFixture::CopiedProgramFolder(
    const std::wstring& name, const std::function<void(const std::wstring& folder)>& fill) {
    const std::wstring original = g_originals.Folder(name, fill);
    const std::wstring folder = MakeSkinFolder();
    for (const auto& entry : std::filesystem::recursive_directory_iterator(original)) {
        const std::wstring copy =
            folder + std::filesystem::relative(entry.path(), original).wstring();
        if (entry.is_directory()) {
            CreateDirectoryW(copy.c_str(), nullptr);
        } else {
            CopyFileW(entry.path().wstring().c_str(), copy.c_str(), FALSE);
        }
    }
    return folder;
}

std::wstring MainWindowFixture::MakeTestSkin() {
    return CopiedProgramFolder(L"skin", &WriteTestSkin);
}

void MainWindowFixture::WriteTestSkin(const std::wstring& folder) {
    const std::wstring skins = folder + L"skins\\";
    struct Page {
        const char* ini;
        const char* screen;
    };
    const Page pages[] = {
        {"skin_main.ini", "Main=main_n.png\r\nOver=main_o.png\r\n"},
        {"skin_button.ini", "Main=button_n.png\r\n"},
        {"skin_advance.ini", "Main=advance_n.png\r\nDown=advance_d.png\r\n"},
        {"skin_color.ini", "Main=color_n.png\r\nDown=color_d.png\r\n"},
        {"skin_macro.ini", "Main=macro_n.png\r\nDown=macro_d.png\r\nDisabled=macro_x.png\r\n"},
    };
    for (const Page& page : pages) {
        WriteText(skins + std::wstring(page.ini, page.ini + strlen(page.ini)),
                  std::string("[Screen]\r\n") + page.screen +
                      "[BUTTONPOS]\r\n67=Apply\r\n13=Buttons\r\n");
    }
    const wchar_t* pictures[] = {L"main_n.png",    L"main_o.png", L"button_n.png", L"B2.png",
                                 L"70A.png",       L"70B.png",    L"70C.png",      L"advance_n.png",
                                 L"advance_d.png", L"G1.png",     L"G2.png",       L"color_n.png",
                                 L"color_d.png",   L"F7.png",     L"macro_n.png",  L"macro_d.png",
                                 L"macro_x.png"};
    COLORREF color = RGB(20, 40, 60);
    for (const wchar_t* name : pictures) {
        SaveSolidPng(skins + name, kWidth, kHeight, color);
        color += RGB(7, 5, 3);
    }
    SaveMask(skins + L"main_mask.bmp");
    WriteText(folder + L"Strings.xml",
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<Strings><FONT><MAIN>Tahoma</MAIN>"
              "</FONT><BUTTONPAGE><DPISTAGE>DPI Stage</DPISTAGE></BUTTONPAGE></Strings>\r\n");
}

std::wstring MainWindowFixture::MakeEmptyProgramFolder() {
    return MakeSkinFolder();
}

MainWindowFixture::MainWindowFixture(const std::wstring& programFolder)
    : m_dialog(std::make_unique<CLucfgDlg>(programFolder)) {
    m_dialog->Create(IDD_LUCFG_DIALOG, nullptr);
    ShowWindow(m_dialog->Hwnd(), SW_SHOW);
    Pump();
}

MainWindowFixture::~MainWindowFixture() {
    if (m_dialog->Hwnd() != nullptr) {
        m_dialog->DestroyWindow();
    }
    Pump();
}

void Click(HWND control) {
    SendMessageW(GetParent(control), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), BN_CLICKED),
                 reinterpret_cast<LPARAM>(control));
}
