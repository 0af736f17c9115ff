#include "tests/skins/SkinLists.h"

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {
std::vector<std::vector<std::wstring>> ReadRows(const wchar_t* name) {
    std::ifstream file(std::filesystem::path(std::wstring(V212_SKIN_LISTS) + name));
    std::vector<std::vector<std::wstring>> rows;
    std::string line;
    while (std::getline(file, line)) {
        line = line.substr(0, line.find('#'));
        std::istringstream fields(line);
        std::vector<std::wstring> row;
        for (std::string field; fields >> field;) {
            row.emplace_back(field.begin(), field.end());
        }
        if (!row.empty()) {
            rows.push_back(std::move(row));
        }
    }
    return rows;
}

RECT ParseRect(const std::wstring& text) {
    RECT r{};
    swscanf(text.c_str(), L"%ld,%ld,%ld,%ld", &r.left, &r.top, &r.right, &r.bottom);
    return r;
}

struct Lists {
    std::vector<SkinLists::Picture> pictures;
    std::vector<SkinLists::Same> same;
    std::vector<SkinLists::Text> texts;

    Lists() {
        for (auto& row : ReadRows(L"pictures.txt")) {
            if (row[0] == L"same" && row.size() > 3) {
                same.push_back({ParseRect(row[1]), {row.begin() + 2, row.end()}});
            } else if (row.size() == 4) {
                pictures.push_back({row[0], std::stoi(row[1]), std::stoi(row[2])});
            }
        }
        for (auto& row : ReadRows(L"texts.txt")) {
            if (row.size() >= 3) {
                texts.push_back({row[0], row[1], row[2], row.size() > 3 && row[3] == L"distinct"});
            }
        }
    }
};

const Lists& All() {
    static const Lists lists;
    return lists;
}
} // namespace

namespace SkinLists {
const std::vector<Picture>& Pictures() {
    return All().pictures;
}
const std::vector<Same>& SameAreas() {
    return All().same;
}
const std::vector<Text>& Texts() {
    return All().texts;
}
std::wstring BuiltSkin(const std::wstring& file) {
    return std::wstring(V212_BUILD_FOLDER) + L"skins\\" + file;
}
std::wstring BuiltFile(const std::wstring& file) {
    return std::wstring(V212_BUILD_FOLDER) + file;
}
} // namespace SkinLists
