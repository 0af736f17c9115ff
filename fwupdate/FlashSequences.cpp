#include "fwupdate/FlashSequences.h"

#include "config/dialogs/FWUpdate/FlashStages.h"

#include <array>

namespace {
using namespace FlashStages;

constexpr std::array kSuccess{int{kEnterBootloader}, int{kPrepareData}, int{kErased},
                              int{kWriteStarted},    int{kWritten},     int{kVerified},
                              int{kUpdated}};
constexpr std::array kEraseFails{int{kEnterBootloader}, int{kPrepareData}, int{kEraseFailed}};
constexpr std::array kWriteFails{int{kEnterBootloader}, int{kPrepareData}, int{kErased},
                                 int{kWriteStarted}, int{kWriteFailed}};
constexpr std::array kVerifyFails{int{kEnterBootloader}, int{kPrepareData}, int{kErased},
                                  int{kWriteStarted},    int{kWritten},     int{kVerifyFailed}};
constexpr std::array kPrepareFails{int{kEnterBootloader}, int{kPrepareFailed}};
constexpr std::array kUpToDateSequence{int{kEnterBootloader}, int{kUpToDate}};
constexpr std::array kNoMouseSequence{int{kNoMouse}};

struct Named {
    std::wstring_view argument;
    std::span<const int> stages;
};

constexpr std::array kFailures{
    Named{L"erase-fails", kEraseFails},      Named{L"write-fails", kWriteFails},
    Named{L"verify-fails", kVerifyFails},    Named{L"prepare-fails", kPrepareFails},
    Named{L"up-to-date", kUpToDateSequence}, Named{L"no-mouse", kNoMouseSequence},
};
} // namespace

std::optional<std::span<const int>> SequenceFor(std::wstring_view argument) {
    if (argument.empty()) {
        return std::span<const int>(kSuccess);
    }
    for (const Named& named : kFailures) {
        if (named.argument == argument) {
            return named.stages;
        }
    }
    return std::nullopt;
}
