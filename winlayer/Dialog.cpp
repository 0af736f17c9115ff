#include "winlayer/Dialog.h"

#include "winlayer/MessageLoop.h"

#include <vector>

namespace winlayer {

namespace {
// The box that runs modally over `under`: a shown dialog window it owns. A modal box keeps the
// window under it disabled, so an enabled window has none (its menus are no boxes).
HWND BoxOver(HWND under) {
    if (IsWindowEnabled(under)) {
        return nullptr;
    }
    struct Search {
        HWND owner;
        HWND box;
    } search{under, nullptr};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND hwnd, LPARAM data) -> BOOL {
            auto* found = reinterpret_cast<Search*>(data);
            if (GetWindow(hwnd, GW_OWNER) != found->owner || !IsWindowVisible(hwnd) ||
                !Dialog::IsDialogWindow(hwnd)) {
                return TRUE;
            }
            found->box = hwnd;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.box;
}
} // namespace

bool Dialog::IsDialogWindow(HWND hwnd) {
    wchar_t name[16] = {};
    GetClassNameW(hwnd, name, 16);
    return lstrcmpW(name, L"#32770") == 0;
}

void Dialog::CancelModalBoxesOver(HWND owner) {
    std::vector<HWND> boxes;
    for (HWND box = BoxOver(owner); box != nullptr; box = BoxOver(box)) {
        boxes.push_back(box);
    }
    for (auto box = boxes.rbegin(); box != boxes.rend(); ++box) {
        if (auto* dialog = dynamic_cast<Dialog*>(Window::FromHandle(*box))) {
            dialog->EndDialog(IDCANCEL);
        } else {
            PostMessageW(*box, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        }
    }
}

Dialog::Dialog(UINT templateId, Window* parent) : templateId_(templateId), parent_(parent) {}

// The dialog's own procedure stays silent: the object sees every message first through its
// window procedure, and what reaches the dialog manager is default processing.
INT_PTR CALLBACK Dialog::DialogProc(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}

bool Dialog::CreateFromTemplate(HWND owner) {
    return CreateBound([&] {
        return CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId_), owner,
                                  &Dialog::DialogProc, 0);
    });
}

INT_PTR Dialog::DoModal() {
    HWND owner = nullptr;
    if (parent_ != nullptr && parent_->Hwnd() != nullptr) {
        owner = GetAncestor(parent_->Hwnd(), GA_ROOT);
    }
    modal_ = true;
    ended_ = false;
    result_ = IDCANCEL;
    bool ownerDisabled = owner != nullptr && IsWindowEnabled(owner);
    if (ownerDisabled) {
        EnableWindow(owner, FALSE);
    }
    if (!CreateFromTemplate(owner)) {
        if (ownerDisabled) {
            EnableWindow(owner, TRUE);
        }
        modal_ = false;
        return -1;
    }
    if (!ended_) {
        if (!IsWindowVisible(Hwnd())) {
            ShowWindow(Hwnd(), SW_SHOWNORMAL);
        }
        MessageLoop::RunUntil(ended_);
    }
    // The owner is enabled again before the dialog goes, so that it takes the activation back.
    if (ownerDisabled) {
        EnableWindow(owner, TRUE);
    }
    if (Hwnd() != nullptr) {
        if (owner != nullptr && GetActiveWindow() == Hwnd()) {
            SetActiveWindow(owner);
        }
        DestroyWindow();
    }
    modal_ = false;
    return result_;
}

bool Dialog::Create(UINT templateId, Window* owner) {
    templateId_ = templateId;
    parent_ = owner;
    modal_ = false;
    ended_ = false;
    return CreateFromTemplate(owner != nullptr ? owner->Hwnd() : nullptr);
}

void Dialog::EndDialog(INT_PTR result) {
    result_ = result;
    if (!modal_) {
        DestroyWindow();
        return;
    }
    ended_ = true;
    if (Hwnd() != nullptr) {
        // Wakes the modal loop when this was called from outside its dispatch.
        PostMessageW(Hwnd(), WM_NULL, 0, 0);
    }
}

LRESULT Dialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        return OnInitDialog() ? TRUE : FALSE;
    }
    if (message == WM_NCDESTROY) {
        ended_ = true;
    }
    return Window::WindowProc(message, wParam, lParam);
}

bool Dialog::OnInitDialog() {
    return true;
}

bool Dialog::OnCommand(WPARAM wParam, LPARAM lParam) {
    UINT id = LOWORD(wParam);
    if (HIWORD(wParam) == BN_CLICKED && (id == IDOK || id == IDCANCEL)) {
        EndDialog(static_cast<INT_PTR>(id));
        return true;
    }
    return Window::OnCommand(wParam, lParam);
}

} // namespace winlayer
