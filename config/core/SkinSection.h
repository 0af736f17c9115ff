#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

// One section of a skin ini file, read in one go: a window's build asks for dozens of its keys,
// and each single read opens and checks the file again. Values read as SkinFile::ReadSkinString
// reads them: keys match without regard to case, the first of two equal keys holds, one pair of
// quotes around a value is dropped, and a missing file, section or key reads empty. Comment
// lines are no keys here.
class SkinSection {
public:
    SkinSection(std::wstring_view iniName, std::wstring_view section);

    std::wstring Value(std::wstring_view key) const;
    std::wstring ButtonText(int number) const { return Value(std::to_wstring(number)); }

private:
    std::vector<std::pair<std::wstring, std::wstring>> m_entries;
};
