#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The skin's two lists as the build reads them: the pictures (skins/pictures.txt) with the
// rectangles several pictures must share, and the texts (skins/texts.txt).
namespace SkinLists {
struct Picture {
    std::wstring file;
    int width = 0;
    int height = 0;
};
struct Same {
    RECT rect{};
    std::vector<std::wstring> files;
};
struct Text {
    std::wstring file;
    std::wstring section;
    std::wstring key;
    bool distinct = false;
};

const std::vector<Picture>& Pictures();
const std::vector<Same>& SameAreas();
const std::vector<Text>& Texts();

// Where the build put the skin: "<build>\skins\<file>", and the program folder's files.
std::wstring BuiltSkin(const std::wstring& file);
std::wstring BuiltFile(const std::wstring& file);
} // namespace SkinLists
