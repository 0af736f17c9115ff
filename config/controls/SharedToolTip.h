#pragma once

#include <windows.h>

#include <memory>
#include <string>

// One tooltip window for all the controls of a top-level window that show a tip, each control a
// tool of it (its own window, id 1, over its client area): a tooltip is a top-level window of its
// own, far dearer to make than a tool. The window lives as long as a control holds it.
class SharedToolTip {
public:
    // The tooltip of control's top-level window, made on first use; null when it cannot be made.
    static std::shared_ptr<SharedToolTip> For(HWND control);

    ~SharedToolTip();
    SharedToolTip(const SharedToolTip&) = delete;
    SharedToolTip& operator=(const SharedToolTip&) = delete;

    HWND Hwnd() const { return m_tip; }
    // The tooltip reads the text from the caller's string, which must stay while the tool does.
    void AddTool(HWND control, std::wstring& text) const;
    void SetText(HWND control, std::wstring& text) const;
    void RemoveTool(HWND control) const;
    // Hides the tip when it is showing for control.
    void Hide(HWND control) const;
    // Tells the tip about a control's mouse message; nothing while a Hold keeps the tips off.
    void Relay(MSG& msg) const;

    // Keeps the tips of a top-level window off while it lives: a pop-up menu of the window holds
    // one, so that no tip covers its entries. A tip that shows or is about to show goes at once.
    class Hold {
    public:
        explicit Hold(HWND window);
        ~Hold();
        Hold(const Hold&) = delete;
        Hold& operator=(const Hold&) = delete;

    private:
        HWND m_root;
    };

private:
    SharedToolTip(HWND tip, HWND root) : m_tip(tip), m_root(root) {}

    HWND m_tip;
    HWND m_root;
};
