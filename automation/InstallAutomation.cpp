// Puts the automation commands into their slots of the core library and
// wires the component model into the runtime.

#include "automation/AutomationCommands.h"
#include "platform/com/Apartment.h"
#include "platform/com/ComExports.h"
#include "runtime/CoreCommandSlots.h"
#include "runtime/HostLayers.h"

namespace vellumry::automation {
namespace {

bool InitializeComponentModel()
{
    return SUCCEEDED(OleInitialize(nullptr));
}

void UninitializeComponentModel()
{
    OleUninitialize();
}

}  // namespace

void InstallAutomation()
{
    using runtime::CoreCommand;
    struct Entry {
        CoreCommand slot;
        runtime::LibraryCommand command;
    };
    static constexpr Entry kCommands[] = {
        {CoreCommand::CreateObject, CreateObject},
        {CoreCommand::ClearObject, ClearObject},
        {CoreCommand::IsEmptyObject, IsEmptyObject},
        {CoreCommand::CopyObject, CopyObject},
        {CoreCommand::ReadTextProperty, ReadTextProperty},
        {CoreCommand::ReadNumberProperty, ReadNumberProperty},
        {CoreCommand::ReadObjectProperty, ReadObjectProperty},
        {CoreCommand::ReadProperty, ReadProperty},
        {CoreCommand::WriteProperty, WriteProperty},
        {CoreCommand::CallMethod, CallMethod},
        {CoreCommand::CallTextMethod, CallTextMethod},
        {CoreCommand::CallObjectMethod, CallObjectMethod},
        {CoreCommand::AssignVariant, AssignVariant},
        {CoreCommand::VariantToText, VariantToText},
        {CoreCommand::VariantToByteSet, VariantToByteSet},
        {CoreCommand::CopyVariant, CopyVariant},
        {CoreCommand::ClearVariant, ClearVariant},
    };
    for (const Entry& entry : kCommands)
        runtime::CoreCommandSlot(entry.slot) = entry.command;
    com::RegisterComExports();
    runtime::SetComponentModelHooks({&InitializeComponentModel, &UninitializeComponentModel});
}

}  // namespace vellumry::automation
