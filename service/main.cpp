#include "service/CMirelhidApp.h"

namespace {
CMirelhidApp theApp;
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    return theApp.Main(instance);
}
