#include "runtime/RuntimeInterface.h"

#include <atomic>

#include "runtime/CommandCall.h"
#include "runtime/DllCommands.h"
#include "runtime/ErrorReporter.h"
#include "runtime/HostLayers.h"
#include "runtime/RuntimeHeap.h"
#include "runtime/RuntimeService.h"
#include "runtime/RuntimeTexts.h"
#include "runtime/Shutdown.h"
#include "runtime/Startup.h"

namespace vellumry::runtime {
namespace {

void ReportErrorCodeEntry(std::int32_t code, std::int32_t related1, std::int32_t related2)
{
    ReportErrorCode(code, related1, related2);
}

void EndProgramEntry(std::int32_t code)
{
    EndProgram(code);
}

std::uint64_t ReadUnitPropertyEntry(std::uint32_t formId, std::uint32_t unitId, std::int32_t index,
                                    std::int32_t subIndex)
{
    if (auto read = FormEngine().readUnitProperty)
        return read(formId, unitId, index, subIndex);
    ReportError(texts::kFormOfUnitNotLoaded, 0, static_cast<std::int32_t>(formId), static_cast<std::int32_t>(unitId));
}

void WriteUnitPropertyEntry(std::uint32_t formId, std::uint32_t unitId, std::int32_t index, std::int32_t subIndex,
                            std::uint32_t low, std::uint32_t high)
{
    if (auto write = FormEngine().writeUnitProperty)
        return write(formId, unitId, index, subIndex, low, high);
    ReportError(texts::kFormOfUnitNotLoaded, 0, static_cast<std::int32_t>(formId), static_cast<std::int32_t>(unitId));
}

const RuntimeInterface kInterface = {
    ReportErrorCodeEntry,
    CheckedDllCommandAddress,
    CallLibraryCommand,
    CallCoreCommand,
    ReadUnitPropertyEntry,
    WriteUnitPropertyEntry,
    RuntimeAlloc,
    RuntimeRealloc,
    RuntimeFree,
    EndProgramEntry,
    RunMessageLoop,
    LoadStartForm,
    RuntimeService,
};

}  // namespace

const RuntimeInterface& GetRuntimeInterface()
{
    return kInterface;
}

}  // namespace vellumry::runtime
