#include "winlayer/Application.h"

#include "winlayer/MessageLoop.h"

namespace winlayer {

namespace {
Application* g_instance = nullptr;
}

Application::Application() {
    if (g_instance == nullptr) {
        g_instance = this;
    }
}

Application::~Application() {
    if (g_instance == this) {
        g_instance = nullptr;
    }
}

Application* Application::Instance() {
    return g_instance;
}

int Application::Main(HINSTANCE instance) {
    instance_ = instance;
    if (InitInstance()) {
        exitCode_ = MessageLoop::Run();
    }
    return ExitInstance();
}

bool Application::InitInstance() {
    return true;
}

int Application::ExitInstance() {
    return exitCode_;
}

} // namespace winlayer
