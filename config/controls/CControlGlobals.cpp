#include "config/controls/CControlGlobals.h"

namespace {
struct State {
    std::wstring faceName;
    bool editInProgress = false;
    bool secondEditFlag = false;
};

State& Globals() {
    static State state;
    return state;
}
} // namespace

const std::wstring& CControlGlobals::FaceName() {
    return Globals().faceName;
}
void CControlGlobals::SetFaceName(std::wstring face) {
    Globals().faceName = std::move(face);
}

bool CControlGlobals::EditInProgress() {
    return Globals().editInProgress;
}
void CControlGlobals::SetEditInProgress(bool on) {
    Globals().editInProgress = on;
}
bool CControlGlobals::SecondEditFlag() {
    return Globals().secondEditFlag;
}
void CControlGlobals::SetSecondEditFlag(bool on) {
    Globals().secondEditFlag = on;
}
