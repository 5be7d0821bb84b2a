#include "platform/kernel/FileReplacement.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "platform/base/LastError.h"
#include "platform/kernel/FileApi.h"
#include "platform/kernel/PathMapping.h"
#include "platform/kernel/FileCommitGuard.h"
#include "platform/kernel/RuntimePathParts.h"
#include "platform/kernel/ScopedHandle.h"
#include "platform/kernel/ThreadStop.h"

namespace vellumry::kernel {
namespace {

constexpr int kTemporaryNameAttempts = 64;
// WriteFile takes a 32-bit count; larger pieces go in steps.
constexpr std::size_t kWriteStep = 0x40000000;
// Links followed to the file they name, at most; a longer chain is a loop.
constexpr int kMostLinks = 40;
constexpr mode_t kPermissionBits = 07777;

// A temporary name in `folder` that no other thread or process can make:
// the process and thread ids, which no two running threads share, and a
// count of this process's names. A file left behind by an ended process of
// the same ids only makes the next attempt take the next number. The ids
// are asked for once per thread (two system calls per file otherwise); a
// child forked without a new program keeps its parent's, and a name it
// shares with its parent is taken by one of them and the other takes the
// next number.
std::string TemporaryName(std::string_view folder)
{
    static std::atomic<std::uint64_t> counter{0};
    static thread_local const std::string ids = [] {
        char text[40];
        std::snprintf(text, sizeof text, "%X-%lX", static_cast<unsigned>(getpid()),
                      static_cast<long>(syscall(SYS_gettid)));
        return std::string(text);
    }();
    char number[24];
    std::snprintf(number, sizeof number, "-%llX.tmp",
                  static_cast<unsigned long long>(counter.fetch_add(1, std::memory_order_relaxed)));
    return std::string(folder) + "~vlm" + ids + number;
}

// The file a name finally names, when it names a symbolic link: the link
// stays a link and the file it points to is replaced, as writing through it
// replaces that file. A name that is no link is itself; nullopt for a chain
// of links that does not end (ERROR_CANT_RESOLVE_FILENAME's case, reported
// as a path that cannot be found). `missing` tells whether nothing is at the
// final name.
struct FinalName {
    std::string host;
    bool missing = false;
};

std::optional<FinalName> FinalHostName(std::string host)
{
    for (int i = 0; i < kMostLinks; ++i) {
        struct stat info {};
        if (lstat(host.c_str(), &info) != 0)
            return FinalName{std::move(host), errno == ENOENT};
        if (!S_ISLNK(info.st_mode))
            return FinalName{std::move(host)};
        char target[PATH_MAX];
        ssize_t length = readlink(host.c_str(), target, sizeof target - 1);
        if (length < 0)
            return FinalName{std::move(host)};
        std::string next(target, static_cast<std::size_t>(length));
        if (next.empty() || next[0] != '/') {
            std::size_t slash = host.rfind('/');
            next = (slash == std::string::npos ? std::string() : host.substr(0, slash + 1)) + next;
        }
        host = std::move(next);
    }
    return std::nullopt;
}

// The permission bits of an existing file, to give its replacement.
std::optional<mode_t> PermissionsOf(const std::string& host)
{
    struct stat info {};
    if (stat(host.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return std::nullopt;
    return info.st_mode & kPermissionBits;
}

BOOL WriteAll(HANDLE file, std::span<const std::uint8_t> bytes)
{
    while (!bytes.empty()) {
        auto step = static_cast<DWORD>(std::min(bytes.size(), kWriteStep));
        DWORD written = 0;
        if (CurrentThreadStopRequested()) {
            SetLastError(ERROR_OPERATION_ABORTED);
            return FALSE;
        }
        if (!WriteFile(file, bytes.data(), step, &written, nullptr))
            return FALSE;
        bytes = bytes.subspan(written);
    }
    return TRUE;
}

// Writes the pieces into a file without a name in the folder of `host` and
// then gives it `host` as its first name: the file appears whole or not at
// all, with one name made instead of a temporary one made, renamed and
// removed, and nothing is left behind should the program end in between.
// For a name nothing is at. nullopt where this cannot be done (a file system
// without unnamed files, no /proc, the name taken meanwhile, a write that
// failed): the caller then goes the way of a named temporary file, which
// also reports the failure.
std::optional<BOOL> WriteUnnamed(const std::string& host, std::span<const std::span<const std::uint8_t>> pieces)
{
    std::size_t slash = host.rfind('/');
    std::string folder = slash == std::string::npos ? std::string(".") : host.substr(0, slash + 1);
    int fd = open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    if (fd < 0)
        return std::nullopt;
    struct Closer {
        int fd;
        ~Closer() { close(fd); }
    } closer{fd};
    for (std::span<const std::uint8_t> piece : pieces) {
        while (!piece.empty()) {
            if (CurrentThreadStopRequested()) {
                SetLastError(ERROR_OPERATION_ABORTED);
                return FALSE;
            }
            ssize_t written = write(fd, piece.data(), std::min(piece.size(), kWriteStep));
            if (written < 0 && errno == EINTR)
                continue;
            if (written <= 0)
                return std::nullopt;
            piece = piece.subspan(static_cast<std::size_t>(written));
        }
    }
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    // A worker's stop either comes before the name is given, which it then
    // refuses, or waits until it is given.
    FileCommitGuard commit;
    if (!commit.MayCommit()) {
        SetLastError(ERROR_OPERATION_ABORTED);
        return FALSE;
    }
    if (linkat(AT_FDCWD, self.c_str(), AT_FDCWD, host.c_str(), AT_SYMLINK_FOLLOW) != 0)
        return std::nullopt;
    return TRUE;
}

}  // namespace

BOOL ReplaceFileContents(LPCSTR fileName, std::span<const std::span<const std::uint8_t>> pieces)
{
    if (fileName == nullptr || *fileName == '\0') {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return FALSE;
    }
    if (CurrentThreadStopRequested()) {
        SetLastError(ERROR_OPERATION_ABORTED);
        return FALSE;
    }
    if (FolderPartLength(fileName) == std::string_view(fileName).size()) {
        SetLastError(ERROR_INVALID_NAME);
        return FALSE;
    }
    // Through a symbolic link, the file it names is the one replaced.
    std::string host = ToHostPath(fileName);
    std::optional<FinalName> finalHost = FinalHostName(host);
    if (!finalHost) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return FALSE;
    }
    std::string finalName = finalHost->host == host ? std::string(fileName) : ToRuntimePath(finalHost->host);
    std::string_view name(finalName);
    std::size_t folderLength = FolderPartLength(name);
    // A name Windows would refuse is refused the named way, with its error.
    if (finalHost->missing && IsValidRuntimeName(finalName)) {
        if (std::optional<BOOL> written = WriteUnnamed(finalHost->host, pieces))
            return *written;
    }

    // The exclusive hold on an existing target; a missing one is fine (one
    // made meanwhile is checked again when the new file takes its name).
    ScopedHandle target;
    if (!finalHost->missing) {
        target = ScopedHandle(
            CreateFileA(finalName.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!target && GetLastError() != ERROR_FILE_NOT_FOUND)
            return FALSE;
    }
    std::optional<mode_t> permissions = target ? PermissionsOf(finalHost->host) : std::nullopt;

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
    // An overwritten file keeps its permission bits.
    if (written && permissions && chmod(ToHostPath(temporary).c_str(), *permissions) != 0) {
        written = false;
        SetLastError(ERROR_ACCESS_DENIED);
    }
    if (written) {
        target.Close();
        // A worker's stop either comes before the rename, which it then
        // refuses, or waits until the rename is done.
        FileCommitGuard commit;
        if (!commit.MayCommit())
            SetLastError(ERROR_OPERATION_ABORTED);
        else if (MoveFileExA(temporary.c_str(), finalName.c_str(), MOVEFILE_REPLACE_EXISTING))
            return TRUE;
    }
    DWORD error = GetLastError();
    DeleteFileA(temporary.c_str());
    SetLastError(error);
    return FALSE;
}

}  // namespace vellumry::kernel
