#include "config/core/SkinFile.h"

#include "config/core/ProgramFolder.h"

#include <windows.h>

#include <array>

namespace SkinFile {

std::wstring ReadSkinString(const std::wstring& iniPath, std::wstring_view section,
                            std::wstring_view key) {
    std::array<wchar_t, 4096> buffer{};
    GetPrivateProfileStringW(std::wstring(section).c_str(), std::wstring(key).c_str(), L"",
                             buffer.data(), static_cast<DWORD>(buffer.size()), iniPath.c_str());
    return buffer.data();
}

std::wstring Path(std::wstring_view fileName) {
    return ProgramFolder::Path() + L"skins\\" + std::wstring(fileName);
}

std::wstring ButtonText(std::wstring_view iniName, int number) {
    return ReadSkinString(Path(iniName), L"BUTTONPOS", std::to_wstring(number));
}

std::wstring ScreenPicture(std::wstring_view iniName, std::wstring_view state) {
    const std::wstring name = ReadSkinString(Path(iniName), L"Screen", state);
    return name.empty() ? std::wstring() : Path(name);
}

} // namespace SkinFile
