#include "tests/config/mainwindow/ModalBoxes.h"

#include "tests/config/dialogs/ModalSteps.h"
#include "winlayer/Dialog.h"

#include <algorithm>

namespace {
constexpr UINT kTickMs = 10;
constexpr int kIdleTicksAllowed = 300;
ModalBoxes* g_running = nullptr;

void PostCommand(HWND box, WORD id) {
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
}
} // namespace

ModalBoxes::ModalBoxes(HWND owner, std::vector<Step> steps)
    : m_owner(owner), m_steps(std::move(steps)) {
    g_running = this;
    m_timer = SetTimer(nullptr, 0, kTickMs, &ModalBoxes::Tick);
}

ModalBoxes::~ModalBoxes() {
    KillTimer(nullptr, m_timer);
    g_running = nullptr;
}

HWND ModalBoxes::OpenBox(HWND owner) {
    // A modal box disables the window under it; pop-ups that disable nothing are not boxes.
    HWND box = nullptr;
    for (HWND under = owner; under != nullptr && !IsWindowEnabled(under);) {
        const std::vector<HWND> owned = OwnedWindows(under);
        const auto dialog = std::find_if(owned.begin(), owned.end(), IsDialogWindow);
        under = dialog != owned.end() ? *dialog : nullptr;
        if (under != nullptr) {
            box = under;
        }
    }
    return box;
}

void ModalBoxes::Seen(HWND box) {
    if (box != m_lastBox) {
        m_lastBox = box;
        m_boxes.push_back(Labels(box));
    }
}

void CALLBACK ModalBoxes::Tick(HWND, UINT, UINT_PTR, DWORD) {
    ModalBoxes* self = g_running;
    if (self == nullptr) {
        return;
    }
    const HWND box = OpenBox(self->m_owner);
    if (box == nullptr) {
        return;
    }
    self->Seen(box);
    if (self->m_next < self->m_steps.size()) {
        // Counted before it runs: a step may start a nested loop in which the next ticks come.
        const size_t step = self->m_next++;
        self->m_steps[step](box);
        return;
    }
    if (++self->m_idleTicks > kIdleTicksAllowed) {
        self->m_idleTicks = 0;
        self->m_timedOut = true;
        // The system's boxes end by their Cancel command.
        if (auto* dialog = dynamic_cast<winlayer::Dialog*>(winlayer::Window::FromHandle(box))) {
            dialog->EndDialog(IDABORT);
        } else {
            PostCommand(box, IDCANCEL);
        }
    }
}

ModalBoxes::Step ModalBoxes::Ok() {
    return [](HWND box) { PostCommand(box, IDOK); };
}

ModalBoxes::Step ModalBoxes::Cancel() {
    return [](HWND box) { PostCommand(box, IDCANCEL); };
}

ModalBoxes::Step ModalBoxes::ChooseFile(std::wstring path) {
    return [path](HWND box) {
        // The file name box: a combo box's edit, or an edit of its own.
        HWND name = GetDlgItem(box, 0x47c);
        if (HWND inner = FindWindowExW(name, nullptr, L"Edit", nullptr)) {
            name = inner;
        }
        if (name == nullptr) {
            name = GetDlgItem(box, 0x480);
        }
        SetWindowTextW(name, path.c_str());
        PostCommand(box, IDOK);
    };
}

std::vector<std::wstring> ModalBoxes::Labels(HWND box) {
    std::vector<std::pair<LONG, std::wstring>> labels;
    for (HWND child = GetWindow(box, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t cls[16] = {};
        GetClassNameW(child, cls, 16);
        if (lstrcmpiW(cls, L"Static") != 0) {
            continue;
        }
        wchar_t text[256] = {};
        GetWindowTextW(child, text, 256);
        RECT rect{};
        GetWindowRect(child, &rect);
        labels.emplace_back(rect.top, text);
    }
    std::stable_sort(labels.begin(), labels.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<std::wstring> texts;
    for (const auto& label : labels) {
        texts.push_back(label.second);
    }
    return texts;
}

std::wstring ModalBoxes::Text(HWND box) {
    std::wstring text;
    for (const std::wstring& label : Labels(box)) {
        text += (text.empty() ? L"" : L"|") + label;
    }
    return text;
}
