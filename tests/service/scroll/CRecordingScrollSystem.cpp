#include "tests/service/scroll/CRecordingScrollSystem.h"

#include "tests/service/scroll/FakeHtmlDocument.h"
#include "winlayer/Format.h"

#include <mshtml.h>

namespace {

// The answer a document window gives to the document request.
constexpr LRESULT kDocumentAnswer = 0x5EED;

// The library's function is a plain function: it finds the test's system through this.
thread_local CRecordingScrollSystem* current = nullptr;

class RecordedAccessibility : public CScrollSystem::Accessibility {
public:
    RecordedAccessibility(int& loaded, ObjectFromLresultFunction function)
        : loaded_(++loaded), function_(function) {}
    ~RecordedAccessibility() override { --loaded_; }
    ObjectFromLresultFunction ObjectFromLresult() const override { return function_; }

private:
    int& loaded_;
    ObjectFromLresultFunction function_;
};

} // namespace

CRecordingScrollSystem::CRecordingScrollSystem(std::function<std::wstring(HWND)> nameOf)
    : nameOf_(std::move(nameOf)) {
    current = this;
}

CRecordingScrollSystem::~CRecordingScrollSystem() {
    current = nullptr;
}

void CRecordingScrollSystem::SetCursorPos(int x, int y) {
    lines_.push_back(winlayer::Format(L"cursor %d,%d", x, y));
}

void CRecordingScrollSystem::MouseEvent(DWORD flags, DWORD dx, DWORD dy, DWORD data) {
    lines_.push_back(winlayer::Format(L"mouse %lx %lu %lu %lx", flags, dx, dy, data));
}

std::wstring CRecordingScrollSystem::Name(HWND window) const {
    const std::wstring name = nameOf_(window);
    return name.empty() ? winlayer::Format(L"%llx", reinterpret_cast<unsigned long long>(window))
                        : name;
}

void CRecordingScrollSystem::Message(const wchar_t* how, HWND window, UINT message, WPARAM wParam,
                                     LPARAM lParam) {
    lines_.push_back(winlayer::Format(L"%ls %ls %x %llx %ls", how, Name(window).c_str(), message,
                                      static_cast<unsigned long long>(wParam),
                                      Name(reinterpret_cast<HWND>(lParam)).c_str()));
}

bool CRecordingScrollSystem::SendWithTimeout(HWND window, UINT message, WPARAM wParam,
                                             LPARAM lParam, UINT timeoutMs, LRESULT& result) {
    const bool documentRequest = message == RegisterWindowMessageW(L"WM_HTML_GETOBJECT") &&
                                 wParam == 0 && lParam == 0 && timeoutMs == 1000 && window == at_;
    if (hung_ || !documentRequest) {
        return false;
    }
    result = kDocumentAnswer;
    return true;
}

std::unique_ptr<CScrollSystem::Accessibility> CRecordingScrollSystem::LoadAccessibility() {
    if (library_ == Library::Missing) {
        return nullptr;
    }
    return std::make_unique<RecordedAccessibility>(
        loadedLibraries_, library_ == Library::Present ? &FakeObjectFromLresult : nullptr);
}

HRESULT WINAPI CRecordingScrollSystem::FakeObjectFromLresult(LRESULT result, REFIID iid, WPARAM,
                                                             void** object) {
    *object = nullptr;
    if (current == nullptr || current->document_ == nullptr || result != kDocumentAnswer ||
        !IsEqualIID(iid, IID_IHTMLDocument2)) {
        return E_FAIL;
    }
    *object = current->document_->NewDocumentReference();
    return S_OK;
}
