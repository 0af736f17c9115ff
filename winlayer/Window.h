#pragma once
// winlayer: the suite's own small window layer.
//   Application  the process's one application object (InitInstance / ExitInstance)
//   Window       binds a window handle to an object and routes its messages to virtual handlers
//   Dialog       a Window made from a dialog template, modal (DoModal) or modeless (Create)
//   MessageLoop  the loop used by both: PreTranslateMessage chain, then IsDialogMessage
//   RawSubclass  plain window-procedure replacement for windows that have no Window object
// Helpers: FileDialog, Format (wide printf), GdiObject and UniqueHandle (RAII handles), PaintDC,
// ClientDC, MemoryDC, ObjectSelection and DoubleBuffer (painting). The layer keeps its binding in
// a table of its own, so GWLP_USERDATA stays free for the windows' own use.
//
// How a message reaches a handler: every bound window's procedure is Window::StaticProc, which
// finds the object and calls the virtual WindowProc; its one switch calls OnCreate, OnTimer,
// OnCommand and the other handlers; everything else goes to the virtual DefWindowProc. A handler
// that wants the normal processing calls Default(), which hands the message being handled to
// DefWindowProc, which calls the window's previous (class) procedure.
//
// Ways in: CreateEx/Create for windows of any class (the layer's own DefaultClass(), standard
// controls such as BUTTON or EDIT); Attach/AttachDlgItem for an existing window; Dialog for
// templates. Windows created through the layer are bound before their first message, so
// OnCreate runs for them.
//
// Reflection: a parent hands WM_COMMAND notifications, WM_DRAWITEM, WM_MEASUREITEM and
// WM_CTLCOLOR* first to the object of the child control concerned (OnReflected...).
#include "winlayer/GdiObject.h"

#include <windows.h>

#include <functional>
#include <string>

namespace winlayer {

class Window {
public:
    Window() = default;
    // Destroys a window that the object still holds; OnDestroy of the object no longer runs
    // then, so owners destroy windows before deleting their objects when they need it.
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    HWND Hwnd() const { return hwnd_; }
    static Window* FromHandle(HWND hwnd);

    // The layer's plain window class: double clicks, arrow cursor, no brush, no icon.
    static const wchar_t* DefaultClass();

    // className null means DefaultClass(). For a child, menuOrId carries the control id.
    bool CreateEx(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style, int x,
                  int y, int width, int height, HWND parent, HMENU menuOrId);
    // A child window (usually a standard control) over rect in the parent's client area.
    bool Create(const wchar_t* className, const wchar_t* text, DWORD style, const RECT& rect,
                HWND parent, int id);
    // Takes over an existing window: its messages reach this object from now on.
    bool Attach(HWND hwnd);
    bool AttachDlgItem(int id, HWND dialog);
    // Gives the window its previous procedure back and forgets it.
    HWND Detach();
    virtual bool DestroyWindow();

    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Overridable default processing; the base calls the window's previous procedure.
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Default processing of the message currently being handled by this window.
    LRESULT Default();
    // Called by the message loops for the message's window and each parent up to the top-level
    // window, before dialog keyboard handling; true consumes the message.
    virtual bool PreTranslateMessage(MSG& msg);

    UINT_PTR SetTimer(UINT_PTR id, UINT milliseconds);
    bool KillTimer(UINT_PTR id);
    // On success the system owns the region; on failure it is deleted.
    bool SetWindowRegion(RegionHandle region, bool redraw);
    std::wstring Text() const;

protected:
    // Handlers: the base versions call Default().
    virtual int OnCreate(CREATESTRUCTW& create);
    virtual void OnDestroy();
    virtual void OnClose();
    virtual void OnTimer(UINT_PTR id);
    virtual void OnPaint();
    virtual bool OnEraseBkgnd(HDC dc);
    virtual void OnMouseMove(UINT flags, POINT point);
    virtual void OnLButtonDown(UINT flags, POINT point);
    virtual void OnLButtonUp(UINT flags, POINT point);
    virtual void OnLButtonDblClk(UINT flags, POINT point);
    virtual void OnRButtonDown(UINT flags, POINT point);
    virtual void OnRButtonUp(UINT flags, POINT point);
    virtual void OnMButtonDown(UINT flags, POINT point);
    virtual void OnMouseLeave();
    virtual void OnCaptureChanged(HWND newCapture);
    // flags: the high word of lParam (scan code in the low byte, extended key bit 8, previous
    // state bit 14).
    virtual void OnKeyDown(UINT key, UINT repeat, UINT flags);
    virtual void OnKeyUp(UINT key, UINT repeat, UINT flags);
    virtual void OnSysKeyDown(UINT key, UINT repeat, UINT flags);
    virtual void OnSysKeyUp(UINT key, UINT repeat, UINT flags);
    virtual void OnSetFocus(HWND previous);
    virtual void OnKillFocus(HWND next);
    virtual void OnEnable(bool enabled);
    virtual HCURSOR OnQueryDragIcon();
    virtual LRESULT OnDeviceChange(UINT event, DWORD_PTR data);
    // True when handled; otherwise the command goes on to DefWindowProc.
    virtual bool OnCommand(WPARAM wParam, LPARAM lParam);

    // Reflected from the parent to this control's object; true (or a brush) when handled.
    // These run inside the parent's message: Default() does not apply to them.
    virtual bool OnReflectedCommand(UINT code);
    virtual bool OnReflectedDrawItem(const DRAWITEMSTRUCT& item);
    virtual bool OnReflectedMeasureItem(MEASUREITEMSTRUCT& item);
    virtual HBRUSH OnReflectedCtlColor(HDC dc, UINT message);

    // After Attach has taken over an existing window.
    virtual void OnAttached();

    // Runs create (which makes one window) with the first window it makes bound to this object.
    bool CreateBound(const std::function<HWND()>& create);

private:
    static LRESULT CALLBACK StaticProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK CbtHook(int code, WPARAM wParam, LPARAM lParam);
    bool Bind(HWND hwnd);
    void Unbind();
    Window* MeasureItemTarget(const MEASUREITEMSTRUCT& item) const;

    HWND hwnd_ = nullptr;
    WNDPROC previous_ = nullptr;
    bool created_ = false;
};

} // namespace winlayer
