#include "runtime/RuntimeInterface.h"

#include <atomic>

#include "runtime/CommandCall.h"
#include "runtime/DllCommands.h"
#include "runtime/ErrorReporter.h"
#include "runtime/RuntimeHeap.h"
#include "runtime/RuntimeService.h"
#include "runtime/RuntimeTexts.h"
#include "runtime/Shutdown.h"

namespace vellumry::runtime {
namespace {

FormEngineEntries g_formEngine;

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
    if (g_formEngine.readUnitProperty)
        return g_formEngine.readUnitProperty(formId, unitId, index, subIndex);
    ReportError(texts::kFormOfUnitNotLoaded, 0, static_cast<std::int32_t>(formId), static_cast<std::int32_t>(unitId));
}

void WriteUnitPropertyEntry(std::uint32_t formId, std::uint32_t unitId, std::int32_t index, std::int32_t subIndex,
                            std::uint32_t low, std::uint32_t high)
{
    if (g_formEngine.writeUnitProperty)
        return g_formEngine.writeUnitProperty(formId, unitId, index, subIndex, low, high);
    ReportError(texts::kFormOfUnitNotLoaded, 0, static_cast<std::int32_t>(formId), static_cast<std::int32_t>(unitId));
}

void RunMessageLoopEntry()
{
    if (g_formEngine.runMessageLoop)
        g_formEngine.runMessageLoop();
}

void LoadStartFormEntry(std::uint32_t formId)
{
    if (g_formEngine.loadStartForm)
        return g_formEngine.loadStartForm(formId);
    ReportError(texts::kStartFormLoadFailed, 0, static_cast<std::int32_t>(formId), 0);
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
    RunMessageLoopEntry,
    LoadStartFormEntry,
    RuntimeService,
};

}  // namespace

const RuntimeInterface& GetRuntimeInterface()
{
    return kInterface;
}

void SetFormEngineEntries(const FormEngineEntries& entries)
{
    g_formEngine = entries;
}

}  // namespace vellumry::runtime
