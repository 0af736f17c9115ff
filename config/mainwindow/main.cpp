#include "config/mainwindow/CLucfgApp.h"

namespace {
CLucfgApp theApp;
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    return theApp.Main(instance);
}
