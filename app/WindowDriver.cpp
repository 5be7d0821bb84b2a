#include "app/WindowDriver.h"

#include <thread>

#include "app/MainFormUnitIds.h"
#include "app/StartFormCalls.h"
#include "app/description/ProgramDescription.h"
#include "forms/engine/FormEngine.h"
#include "platform/kernel/ThreadApi.h"
#include "platform/ui/UiApplication.h"
#include "platform/ui/WinUser.h"
#include "runtime/Values.h"
#include "units/statusbar/StatusBarParts.h"

namespace vellumry::app {
namespace {

// The status bar's Parts block, a byte-set property after the unit's own
// five (units/statusbar): it follows every SetPartText.
constexpr std::int32_t kPartsProperty = 13;

}  // namespace

bool PressButton(forms::UnitId button)
{
    ui::WindowObject* unit = forms::ResolveUnit(kStartFormId, button);
    if (!unit || !unit->Handle())
        return false;
    SendMessageA(unit->Handle(), BM_CLICK, 0, 0);
    return true;
}

std::string StatusText()
{
    if (!forms::ResolveUnit(kStartFormId, kStatusBarId))
        return {};
    OwnedByteSet block = ReadByteSetProperty(kStatusBarId, kPartsProperty);
    auto parts = units::ParseStatusBarParts(runtime::ByteSetBytes(block.get()));
    return parts && !parts->empty() ? parts->front().Text : std::string();
}

void PumpWindow()
{
    if (ui::UiApplication* application = ui::UiApplication::Instance())
        application->PumpWaiting();
}

bool RunUntilWorkersEnd(std::chrono::milliseconds limit)
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    for (;;) {
        PumpWindow();
        if (kernel::LiveWorkerCount() == 0) {
            PumpWindow();  // what the last worker queued before it ended
            return true;
        }
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

}  // namespace vellumry::app
