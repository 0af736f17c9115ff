#pragma once

#include <string>
#include <string_view>

// The skin ini files under "skins\" in the program folder. Section "Screen" names a window's
// full-window state pictures ("Main", "Over", "Down", "Disabled"); section "BUTTONPOS" holds the
// window's texts under numbered keys. Positions are fixed in the program.
namespace SkinFile {
// A value of a skin ini file, read with a 4096-character buffer; empty when the file, section or
// key is missing.
std::wstring ReadSkinString(const std::wstring& iniPath, std::wstring_view section,
                            std::wstring_view key);
// The full path of a file under "skins\" in the program folder.
std::wstring Path(std::wstring_view fileName);
// The text of "BUTTONPOS" key `number` of skin ini `iniName` (a file name under "skins\").
std::wstring ButtonText(std::wstring_view iniName, int number);
// The full path of the picture that section "Screen" names under `state` in skin ini `iniName`;
// empty when the key is missing or empty.
std::wstring ScreenPicture(std::wstring_view iniName, std::wstring_view state);
} // namespace SkinFile
