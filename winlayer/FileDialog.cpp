#include "winlayer/FileDialog.h"

#include <commdlg.h>

#include <algorithm>
#include <vector>

namespace winlayer {

namespace {
constexpr size_t kPathCapacity = 4096;
}

FileDialog::FileDialog(Kind kind, std::wstring defaultExtension, std::wstring fileName, DWORD flags,
                       std::wstring filter, HWND owner)
    : kind_(kind), defaultExtension_(std::move(defaultExtension)), fileName_(std::move(fileName)),
      flags_(flags), filter_(std::move(filter)), owner_(owner) {
    if (!defaultExtension_.empty() && defaultExtension_.front() == L'.') {
        defaultExtension_.erase(0, 1);
    }
}

std::wstring FileDialog::FilterString(std::wstring_view filter) {
    std::wstring result(filter);
    for (wchar_t& c : result) {
        if (c == L'|') {
            c = L'\0';
        }
    }
    // The list ends with an empty string, whatever the caller's trailing bars.
    result.append(2, L'\0');
    return result;
}

std::wstring FileDialog::TitleOf(std::wstring_view path) {
    size_t slash = path.find_last_of(L"\\/:");
    std::wstring_view name = slash == std::wstring_view::npos ? path : path.substr(slash + 1);
    size_t dot = name.rfind(L'.');
    if (dot != std::wstring_view::npos && dot > 0) {
        name = name.substr(0, dot);
    }
    return std::wstring(name);
}

INT_PTR FileDialog::DoModal() {
    std::vector<wchar_t> file(kPathCapacity, L'\0');
    fileName_.copy(file.data(), std::min(fileName_.size(), kPathCapacity - 1));
    std::wstring filter = FilterString(filter_);

    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = owner_;
    ofn.lpstrFilter = filter_.empty() ? nullptr : filter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrInitialDir = initialFolder_.empty() ? nullptr : initialFolder_.c_str();
    ofn.lpstrDefExt = defaultExtension_.empty() ? nullptr : defaultExtension_.c_str();
    ofn.Flags = flags_ | OFN_EXPLORER | OFN_NOCHANGEDIR;

    BOOL chosen = kind_ == Kind::Open ? GetOpenFileNameW(&ofn) : GetSaveFileNameW(&ofn);
    if (!chosen) {
        return IDCANCEL;
    }
    path_ = file.data();
    return IDOK;
}

} // namespace winlayer
