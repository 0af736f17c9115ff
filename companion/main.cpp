#include "companion/CCompanionWindow.h"
#include "winlayer/MessageLoop.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    CCompanionWindow window;
    if (!window.CreateAndShow()) {
        return 1;
    }
    return winlayer::MessageLoop::Run();
}
