#include "config/controls/CMoreMenu.h"

#include "config/core/SkinFile.h"

#include <array>

namespace {
std::vector<std::wstring> EntryTexts() {
    const std::wstring ini = SkinFile::Path(L"skin_main.ini");
    std::vector<std::wstring> texts;
    for (const wchar_t* key : {L"1", L"2", L"3"}) {
        std::array<wchar_t, 4096> buffer{};
        GetPrivateProfileStringW(L"BUTTONPOS", key, L"", buffer.data(),
                                 static_cast<DWORD>(buffer.size()), ini.c_str());
        texts.emplace_back(buffer.data());
    }
    return texts;
}
} // namespace

CMoreMenu::CMoreMenu(winlayer::Window* owner, int value)
    : CNameMenu(kTemplate, owner, value, L"macro_menu_n2.jpg", kChoice, EntryTexts()) {}
