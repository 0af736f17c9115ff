#pragma once
#include <windows.h>

namespace winlayer {

class Window;

// The program's one application object: a program defines one global instance of a class
// derived from it and calls Main from wWinMain. Destroying the main window ends the message loop.
class Application {
public:
    Application();
    virtual ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    static Application* Instance();

    // InitInstance; the message loop when it returned true; then ExitInstance in every case.
    // Returns ExitInstance's result.
    int Main(HINSTANCE instance);

    virtual bool InitInstance();
    // The base returns the exit code of the message loop (0 when it did not run).
    virtual int ExitInstance();

    Window* MainWindow() const { return mainWindow_; }
    void SetMainWindow(Window* window) { mainWindow_ = window; }
    HINSTANCE InstanceHandle() const { return instance_; }

private:
    HINSTANCE instance_ = nullptr;
    Window* mainWindow_ = nullptr;
    int exitCode_ = 0;
};

} // namespace winlayer
