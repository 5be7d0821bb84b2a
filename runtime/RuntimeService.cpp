#include "runtime/RuntimeService.h"

#include <cstdarg>

#include "platform/kernel/FileSearch.h"
#include "runtime/ExitRoutines.h"
#include "runtime/HostLayers.h"
#include "runtime/Startup.h"
#include "runtime/ValueHelpers.h"

namespace vellumry::runtime {
namespace {

constexpr std::int32_t kSearchableAttributes = 0x37;

bool EntryMatches(const WIN32_FIND_DATAA& entry, std::int32_t attributeMask, bool filesOnly)
{
    DWORD attributes = entry.dwFileAttributes;
    if (filesOnly)
        return (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
    auto mask = static_cast<DWORD>(attributeMask & kSearchableAttributes);
    return mask != 0 ? (attributes & mask) != 0 : attributes == 0;
}

}  // namespace

TextValue FileSearchStep(const char* pattern, std::int32_t attributeMask, bool filesOnly, HANDLE* search)
{
    if (!search)
        return nullptr;
    WIN32_FIND_DATAA entry;
    bool found = false;
    if (pattern && *pattern) {
        CloseFileSearch(*search);
        *search = nullptr;
        HANDLE handle = FindFirstFileA(pattern, &entry);
        if (handle == INVALID_HANDLE_VALUE)
            return nullptr;
        *search = handle;
        found = true;
    } else if (*search) {
        found = FindNextFileA(*search, &entry) != FALSE;
    }
    while (found) {
        if (EntryMatches(entry, attributeMask, filesOnly))
            return MakeText(entry.cFileName);
        found = FindNextFileA(*search, &entry) != FALSE;
    }
    CloseFileSearch(*search);
    *search = nullptr;
    return nullptr;
}

void CloseFileSearch(HANDLE search)
{
    if (search)
        FindClose(search);
}

std::intptr_t RuntimeService(std::int32_t number, ...)
{
    va_list args;
    va_start(args, number);
    std::intptr_t result = 0;
    switch (number) {
    case kServiceFileSearchStep: {
        auto* pattern = va_arg(args, const char*);
        int mask = va_arg(args, int);
        int filesOnly = va_arg(args, int);
        auto* search = va_arg(args, HANDLE*);
        result = reinterpret_cast<std::intptr_t>(FileSearchStep(pattern, mask, filesOnly != 0, search));
        break;
    }
    case kServiceCloseSearch:
        CloseFileSearch(va_arg(args, HANDLE));
        break;
    case kServiceMakeArrayWritable: {
        auto** array = va_arg(args, void**);
        int elementSize = va_arg(args, int);
        MakeArrayWritable(array, elementSize);
        break;
    }
    case kServiceRegisterExitRoutine:
        RegisterExitRoutine(va_arg(args, ExitRoutine));
        break;
    case kServiceReadObjectProperty: {
        auto tag = va_arg(args, std::uint32_t);
        auto* object = va_arg(args, void*);
        int index = va_arg(args, int);
        int subIndex = va_arg(args, int);
        if (auto read = FormEngine().readObjectProperty)
            result = static_cast<std::intptr_t>(read(tag, object, index, subIndex));
        break;
    }
    case kServiceWriteObjectProperty: {
        auto tag = va_arg(args, std::uint32_t);
        auto* object = va_arg(args, void*);
        int index = va_arg(args, int);
        int subIndex = va_arg(args, int);
        auto low = va_arg(args, std::uint32_t);
        auto high = va_arg(args, std::uint32_t);
        if (auto write = FormEngine().writeObjectProperty)
            write(tag, object, index, subIndex, low, high);
        break;
    }
    case kServiceInitialize:
        InitializeRuntime();
        break;
    default:
        break;
    }
    va_end(args);
    return result;
}

}  // namespace vellumry::runtime
