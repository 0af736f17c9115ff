#include "config/dialogs/FWUpdate/FlashStages.h"

#include "winlayer/Format.h"

#include <array>

namespace FlashStages {
namespace {
struct Row {
    int stage;
    StageView view;
};

constexpr std::array kRows{
    Row{kEnterBootloader, {L"进入bootloader", 20}},
    Row{kPrepareData, {L"准备数据", 30}},
    Row{kEraseFailed, {L"擦除数据失败", 100}},
    Row{kErased, {L"擦除数据成功", 40}},
    Row{kWriteStarted, {L"开始写数据", 50}},
    Row{kWritten, {L"写入成功", 60}},
    Row{kWriteFailed, {L"写入失败", 100}},
    Row{kVerifyFailed, {L"校验失败", 100}},
    Row{kVerified, {L"校验成功", 75}},
    Row{kUpdated, {L"更新成功", 100}},
    Row{kPrepareFailed, {L"准备数据失败", kKeepPosition}},
    Row{kUpToDate, {L"已是最新版本", 100}},
    Row{kUpToDateAlso, {L"已是最新版本", 100}},
    Row{kNoMouse, {L"未找到鼠标", 100}},
};

// Characters of "硬件版本 : V" plus the first digit.
constexpr size_t kPointAt = 9;
} // namespace

std::optional<StageView> Look(WPARAM stage) {
    for (const Row& row : kRows) {
        if (static_cast<WPARAM>(row.stage) == stage) {
            return row.view;
        }
    }
    return std::nullopt;
}

std::wstring HardwareVersionText(int version, bool dotted) {
    std::wstring text = winlayer::Format(L"硬件版本 : V%x", static_cast<unsigned>(version));
    // No point when no digit follows the first.
    if (dotted && text.size() > kPointAt) {
        text.insert(kPointAt, L".");
    }
    return text;
}
} // namespace FlashStages
