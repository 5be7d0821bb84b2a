#pragma once

// The program's fixed description records: the program header, the
// support-library records, data type records and property records. They keep
// the documented field order; fields that held 32-bit addresses hold pointers.

#include <cstdint>

#include "runtime/LibraryCommand.h"

namespace vellumry::runtime {

// Routine a library exposes to the runtime, called with (code, value 1, value 2).
using LibraryNotifyRoutine = std::intptr_t (*)(std::int32_t code, std::intptr_t value1, std::intptr_t value2);

// A unit type's interface routine: given an operation code, the routine that
// implements it (cast by the caller to that operation's shape), or null.
using UnitOperation = void (*)();
using UnitInterfaceRoutine = UnitOperation (*)(std::int32_t code);

struct PropertyRecord {
    const char* name = nullptr;
    const char* programmingName = nullptr;
    const char* explanation = nullptr;
    std::int16_t kind = 0;
    std::uint16_t stateFlags = 0;
    const char* const* pickList = nullptr;
};

// State flags of a data type.
inline constexpr std::uint32_t kTypeCanRaiseEvents = 0x04;
inline constexpr std::uint32_t kTypeHasWindow = 0x40;
inline constexpr std::uint32_t kTypePageContainer = 0x100;
inline constexpr std::uint32_t kTypeVisibilitySelfManaged = 0x8000;

struct DataTypeRecord {
    const char* displayName = nullptr;
    const char* programmingName = nullptr;
    const char* explanation = nullptr;
    std::int32_t typeCommandCount = 0;
    const std::int32_t* typeCommandIndexes = nullptr;
    std::uint32_t stateFlags = 0;
    std::int32_t pictureResource = 0;
    std::int32_t eventCount = 0;
    const void* events = nullptr;
    std::int32_t propertyCount = 0;
    const PropertyRecord* properties = nullptr;
    UnitInterfaceRoutine interfaceRoutine = nullptr;
    std::int32_t memberCount = 0;
    const void* members = nullptr;
};

struct LibraryRecord {
    std::int32_t formatNumber = 20000101;
    const char* identifier = nullptr;
    std::int32_t majorVersion = 0;
    std::int32_t minorVersion = 0;
    std::int32_t build = 0;
    std::int32_t requiredRuntimeMajor = 0;
    std::int32_t requiredRuntimeMinor = 0;
    std::int32_t requiredCoreMajor = 0;
    std::int32_t requiredCoreMinor = 0;
    const char* displayName = nullptr;
    std::int32_t language = 1;
    const char* explanation = nullptr;
    std::uint32_t stateFlags = 0;
    const char* authorTexts[8] = {};
    std::int32_t dataTypeCount = 0;
    const DataTypeRecord* dataTypes = nullptr;
    std::int32_t categoryCount = 0;
    const char* categoryNames = nullptr;
    std::int32_t commandCount = 0;
    const void* commandDescriptions = nullptr;
    const LibraryCommand* commands = nullptr;
    const void* addInFunction = nullptr;
    const void* addInDescription = nullptr;
    LibraryNotifyRoutine notify = nullptr;
    std::int32_t reserved[5] = {};
};

struct ProgramHeader {
    std::int32_t runMode = 0;
    std::int32_t reserved = 0;
    std::int32_t buildNumber = 0;
    std::uintptr_t codeBase = 0;
    const void* staticDataStart = nullptr;
    std::int32_t staticDataSize = 0;
    const std::uint8_t* windowTemplateStart = nullptr;
    std::int32_t windowTemplateSize = 0;
    std::int32_t libraryCount = 0;
    const LibraryRecord* const* libraries = nullptr;
    std::int32_t dllCommandCount = 0;
    const char* const* dllLibraryNames = nullptr;
    const char* const* dllExportNames = nullptr;
};

}  // namespace vellumry::runtime
