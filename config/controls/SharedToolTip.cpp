#include "config/controls/SharedToolTip.h"

#include <commctrl.h>

#include <array>
#include <map>
#include <mutex>

namespace {
constexpr UINT_PTR kToolId = 1;

// The tooltips by top-level window, as long as a control holds them, and how many holds keep
// each window's tips off.
struct Registry {
    std::mutex mutex;
    std::map<HWND, std::weak_ptr<SharedToolTip>> tips;
    std::map<HWND, int> holds;
};

Registry& Tips() {
    static Registry registry;
    return registry;
}

TTTOOLINFOW Tool(HWND control, wchar_t* text) {
    TTTOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.hwnd = control;
    tool.uId = kToolId;
    tool.lpszText = text;
    return tool;
}

bool HeldOff(Registry& registry, HWND root) {
    const auto found = registry.holds.find(root);
    return found != registry.holds.end() && found->second > 0;
}

// The live tooltip of a top-level window, or null.
HWND TipOf(Registry& registry, HWND root) {
    const auto found = registry.tips.find(root);
    if (found == registry.tips.end()) {
        return nullptr;
    }
    const std::shared_ptr<SharedToolTip> tip = found->second.lock();
    return tip && IsWindow(tip->Hwnd()) ? tip->Hwnd() : nullptr;
}

void SwitchOff(HWND tip) {
    SendMessageW(tip, TTM_ACTIVATE, FALSE, 0);
    SendMessageW(tip, TTM_POP, 0, 0);
    // A pointer that has left every tool: a tip waiting for its delay does not show.
    MSG away{};
    away.hwnd = tip;
    away.message = WM_MOUSEMOVE;
    SendMessageW(tip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&away));
}
} // namespace

std::shared_ptr<SharedToolTip> SharedToolTip::For(HWND control) {
    const HWND root = GetAncestor(control, GA_ROOT);
    if (root == nullptr) {
        return nullptr;
    }
    Registry& registry = Tips();
    const std::lock_guard lock(registry.mutex);
    std::erase_if(registry.tips, [](const auto& entry) { return entry.second.expired(); });
    if (auto known = registry.tips[root].lock()) {
        // A handle may come back for a new window; the old window's tooltip is not the new one's.
        if (IsWindow(known->m_tip) && GetWindow(known->m_tip, GW_OWNER) == root) {
            return known;
        }
    }
    INITCOMMONCONTROLSEX init{sizeof(init), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&init);
    const HWND tip =
        CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, root, nullptr,
                        GetModuleHandleW(nullptr), nullptr);
    if (tip == nullptr) {
        registry.tips.erase(root);
        return nullptr;
    }
    if (HeldOff(registry, root)) {
        SendMessageW(tip, TTM_ACTIVATE, FALSE, 0);
    }
    std::shared_ptr<SharedToolTip> made(new SharedToolTip(tip, root));
    registry.tips[root] = made;
    return made;
}

SharedToolTip::~SharedToolTip() {
    if (IsWindow(m_tip)) {
        DestroyWindow(m_tip);
    }
}

void SharedToolTip::AddTool(HWND control, std::wstring& text) const {
    TTTOOLINFOW tool = Tool(control, text.data());
    GetClientRect(control, &tool.rect);
    SendMessageW(m_tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void SharedToolTip::SetText(HWND control, std::wstring& text) const {
    TTTOOLINFOW tool = Tool(control, text.data());
    SendMessageW(m_tip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
}

void SharedToolTip::RemoveTool(HWND control) const {
    TTTOOLINFOW tool = Tool(control, nullptr);
    SendMessageW(m_tip, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void SharedToolTip::Hide(HWND control) const {
    // The tooltip copies the current tool's text into the buffer it is given.
    std::array<wchar_t, INFOTIPSIZE> text{};
    TTTOOLINFOW current = Tool(nullptr, text.data());
    if (SendMessageW(m_tip, TTM_GETCURRENTTOOLW, 0, reinterpret_cast<LPARAM>(&current)) &&
        current.hwnd == control) {
        SendMessageW(m_tip, TTM_POP, 0, 0);
    }
}

void SharedToolTip::Relay(MSG& msg) const {
    {
        Registry& registry = Tips();
        const std::lock_guard lock(registry.mutex);
        if (HeldOff(registry, m_root)) {
            return;
        }
    }
    SendMessageW(m_tip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
}

SharedToolTip::Hold::Hold(HWND window) : m_root(GetAncestor(window, GA_ROOT)) {
    HWND tip = nullptr;
    {
        Registry& registry = Tips();
        const std::lock_guard lock(registry.mutex);
        if (++registry.holds[m_root] == 1) {
            tip = TipOf(registry, m_root);
        }
    }
    // The tip tells its tools as it goes: no lock is held meanwhile.
    if (tip != nullptr) {
        SwitchOff(tip);
    }
}

SharedToolTip::Hold::~Hold() {
    HWND tip = nullptr;
    {
        Registry& registry = Tips();
        const std::lock_guard lock(registry.mutex);
        if (--registry.holds[m_root] <= 0) {
            registry.holds.erase(m_root);
            tip = TipOf(registry, m_root);
        }
    }
    if (tip != nullptr) {
        SendMessageW(tip, TTM_ACTIVATE, TRUE, 0);
    }
}
