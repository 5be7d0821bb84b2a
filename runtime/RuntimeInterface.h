#pragma once

// The runtime interface: the fixed table of thirteen entry points through which
// the application reaches the runtime. The application binds to positions, so
// the order of the members is part of the interface.
//
// Entries 4 and 5 reach the form engine through its hooks (HostLayers.h).
// Without a form engine the form table is empty: property access reports the
// missing form, LoadStartForm reports the failed load and RunMessageLoop
// returns at once.

#include <cstdint>
#include <type_traits>
#include <utility>

#include "platform/base/WinTypes.h"
#include "platform/modules/ExportSignature.h"
#include "runtime/LibraryCommand.h"
#include "runtime/TypedValue.h"

namespace vellumry::runtime {

struct RuntimeInterface {
    void (*reportErrorCode)(std::int32_t code, std::int32_t related1, std::int32_t related2);  // 0
    FARPROC (*callDllCommand)(std::int32_t index, modules::ExportSignature declared, std::int32_t related1,
                              std::int32_t related2);                                          // 1
    TypedValue (*callLibraryCommand)(LibraryCommand, std::int32_t count, const TypedValue*);   // 2
    TypedValue (*callCoreCommand)(LibraryCommand, std::int32_t count, const TypedValue*);      // 3
    std::uint64_t (*readUnitProperty)(std::uint32_t formId, std::uint32_t unitId, std::int32_t index,
                                      std::int32_t subIndex);                                  // 4
    void (*writeUnitProperty)(std::uint32_t formId, std::uint32_t unitId, std::int32_t index,
                              std::int32_t subIndex, std::uint32_t low, std::uint32_t high);   // 5
    void* (*runtimeAlloc)(std::int32_t size);                                                  // 6
    void* (*runtimeRealloc)(void* block, std::int32_t size);                                   // 7
    void (*runtimeFree)(void* block);                                                          // 8
    void (*endProgram)(std::int32_t code);                                                     // 9
    void (*runMessageLoop)();                                                                  // 10
    void (*loadStartForm)(std::uint32_t formId);                                               // 11
    std::intptr_t (*runtimeService)(std::int32_t number, ...);                                 // 12
};

const RuntimeInterface& GetRuntimeInterface();

// Calls DLL command `index` as the function type `Function` the caller
// declared it with. The related values are the caller's source position,
// reported with runtime error 6 when the declaration does not match the
// export.
template <typename Function, typename... Args>
std::invoke_result_t<Function*, Args...> CallDllCommand(std::int32_t index, std::int32_t related1,
                                                        std::int32_t related2, Args&&... args)
{
    FARPROC address =
        GetRuntimeInterface().callDllCommand(index, modules::SignatureOf<Function>(), related1, related2);
    return reinterpret_cast<Function*>(address)(std::forward<Args>(args)...);
}

}  // namespace vellumry::runtime
