#include "tray/CMireltraApp.h"

namespace {
CMireltraApp theApp;
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    return theApp.Main(instance);
}
