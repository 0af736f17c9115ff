#pragma once
#include <windows.h>

#include <string>
#include <string_view>

namespace winlayer {

// The system's open or save file dialog. The filter lists description and pattern pairs
// separated by "|" ("Profile File(*.PROF)|*.PROF|"); the default extension may carry its dot.
// The dialog never changes the process's current directory.
class FileDialog {
public:
    enum class Kind { Open, Save };

    FileDialog(Kind kind, std::wstring defaultExtension, std::wstring fileName, DWORD flags,
               std::wstring filter, HWND owner = nullptr);

    void SetInitialFolder(std::wstring folder) { initialFolder_ = std::move(folder); }
    // IDOK when the user chose a file, else IDCANCEL.
    INT_PTR DoModal();

    // The chosen file's full path.
    const std::wstring& Path() const { return path_; }
    // The chosen file's name without folder and extension.
    std::wstring Title() const { return TitleOf(path_); }

    // Strips the folder and the last extension itself: the shell's own title depends on
    // whether the user lets Explorer show extensions.
    static std::wstring TitleOf(std::wstring_view path);
    // The filter with each "|" turned into the terminator the system expects.
    static std::wstring FilterString(std::wstring_view filter);

private:
    Kind kind_;
    std::wstring defaultExtension_;
    std::wstring fileName_;
    DWORD flags_;
    std::wstring filter_;
    HWND owner_;
    std::wstring initialFolder_;
    std::wstring path_;
};

} // namespace winlayer
