#include "platform/kernel/FileReplacement.h"

#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>
#include <string_view>

#include "platform/base/LastError.h"
#include "platform/kernel/FileApi.h"
#include "platform/kernel/RuntimePathParts.h"
#include "platform/kernel/ScopedHandle.h"

namespace vellumry::kernel {
namespace {

constexpr int kTemporaryNameAttempts = 64;
// WriteFile takes a 32-bit count; larger pieces go in steps.
constexpr std::size_t kWriteStep = 0x40000000;

std::string TemporaryName(std::string_view folder)
{
    static std::atomic<std::uint32_t> counter{0};
    auto clock = static_cast<std::uint32_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    std::uint32_t number = (clock ^ static_cast<std::uint32_t>(getpid()) * 0x9E3779B9u) +
                           counter.fetch_add(1, std::memory_order_relaxed) * 0x85EBCA6Bu;
    char name[32];
    std::snprintf(name, sizeof name, "~vlm%08X.tmp", number);
    return std::string(folder) + name;
}

BOOL WriteAll(HANDLE file, std::span<const std::uint8_t> bytes)
{
    while (!bytes.empty()) {
        auto step = static_cast<DWORD>(std::min(bytes.size(), kWriteStep));
        DWORD written = 0;
        if (!WriteFile(file, bytes.data(), step, &written, nullptr))
            return FALSE;
        bytes = bytes.subspan(written);
    }
    return TRUE;
}

}  // namespace

BOOL ReplaceFileContents(LPCSTR fileName, std::span<const std::span<const std::uint8_t>> pieces)
{
    if (fileName == nullptr || *fileName == '\0') {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return FALSE;
    }
    std::string_view name(fileName);
    std::size_t folderLength = FolderPartLength(name);
    if (folderLength == name.size()) {
        SetLastError(ERROR_INVALID_NAME);
        return FALSE;
    }

    // The exclusive hold on an existing target; a missing one is fine.
    ScopedHandle target(CreateFileA(fileName, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!target && GetLastError() != ERROR_FILE_NOT_FOUND)
        return FALSE;

    std::string temporary;
    ScopedHandle file;
    for (int attempt = 0; attempt < kTemporaryNameAttempts && !file; ++attempt) {
        temporary = TemporaryName(name.substr(0, folderLength));
        file = ScopedHandle(
            CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file && GetLastError() != ERROR_FILE_EXISTS)
            return FALSE;
    }
    if (!file)
        return FALSE;

    bool written = true;
    for (std::span<const std::uint8_t> piece : pieces)
        if (!WriteAll(file.Get(), piece)) {
            written = false;
            break;
        }
    if (!file.Close())
        written = false;
    if (written) {
        target.Close();
        if (MoveFileExA(temporary.c_str(), fileName, MOVEFILE_REPLACE_EXISTING))
            return TRUE;
    }
    DWORD error = GetLastError();
    DeleteFileA(temporary.c_str());
    SetLastError(error);
    return FALSE;
}

}  // namespace vellumry::kernel
