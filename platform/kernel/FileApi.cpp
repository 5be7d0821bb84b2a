#include "platform/kernel/FileApi.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <type_traits>

#include "platform/base/LastError.h"
#include "platform/kernel/PathMapping.h"
#include "platform/kernel/RuntimePathParts.h"
#include "platform/kernel/private/ErrnoMapping.h"
#include "platform/kernel/private/ShareRegistry.h"

namespace vellumry::kernel {
namespace {

DWORD ResolveName(LPCSTR name, std::string& host)
{
    if (name == nullptr)
        return ERROR_INVALID_PARAMETER;
    if (*name == '\0')
        return ERROR_PATH_NOT_FOUND;
    if (!IsValidRuntimeName(name))
        return ERROR_INVALID_NAME;
    host = ToHostPath(name);
    return ERROR_SUCCESS;
}

FileIdentity IdentityOf(const struct stat& info)
{
    return {info.st_dev, info.st_ino};
}

bool IsReadOnly(const struct stat& info)
{
    return (info.st_mode & S_IWUSR) == 0;
}

class FileObject final : public KernelObject {
public:
    FileObject(int fd, DWORD access, std::uint64_t ticket) : m_fd(fd), m_access(access), m_ticket(ticket) {}
    ~FileObject() override { Close(); }

    DWORD Close() override
    {
        auto fd = m_fd.Lock();
        if (*fd < 0)
            return ERROR_SUCCESS;
        int result = close(*fd);
        int error = errno;
        *fd = -1;
        OpenFiles().Lock()->Remove(m_ticket);
        // The descriptor is gone even when close reports a deferred write
        // error; the caller still learns that the data may not have landed.
        return result == 0 || error == EINTR ? ERROR_SUCCESS : ErrorFromErrno(error, ERROR_WRITE_FAULT);
    }

    // Moves `size` bytes at the file position: into a writable buffer (a
    // read, which stops early only at the end of the file) or out of a
    // read-only one (a write, which never stops early).
    template <typename Byte>
    DWORD Transfer(Byte* buffer, DWORD size, DWORD& done)
    {
        constexpr bool kWriting = std::is_const_v<Byte>;
        auto fd = m_fd.Lock();
        done = 0;
        if (!(m_access & (kWriting ? GENERIC_WRITE : GENERIC_READ)))
            return ERROR_ACCESS_DENIED;
        while (done < size) {
            ssize_t n;
            if constexpr (kWriting)
                n = write(*fd, buffer + done, size - done);
            else
                n = read(*fd, buffer + done, size - done);
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                return ErrorFromErrno(errno, kWriting ? ERROR_WRITE_FAULT : ERROR_READ_FAULT);
            if (n == 0)
                return kWriting ? ERROR_WRITE_FAULT : ERROR_SUCCESS;
            done += static_cast<DWORD>(n);
        }
        return ERROR_SUCCESS;
    }

    DWORD Size(std::uint64_t& size)
    {
        auto fd = m_fd.Lock();
        struct stat info {};
        if (fstat(*fd, &info) != 0)
            return ErrorFromErrno(errno, ERROR_INVALID_HANDLE);
        size = static_cast<std::uint64_t>(info.st_size);
        return ERROR_SUCCESS;
    }

private:
    // The descriptor, -1 once closed. One operation at a time uses it, so
    // that a transfer's position and a close never interleave.
    base::Guarded<int> m_fd;
    const DWORD m_access;
    const std::uint64_t m_ticket;
};

// Closes a descriptor on every early return of CreateFileA.
class DescriptorGuard {
public:
    explicit DescriptorGuard(int fd) : m_fd(fd) {}
    ~DescriptorGuard()
    {
        if (m_fd >= 0)
            close(m_fd);
    }
    DescriptorGuard(const DescriptorGuard&) = delete;
    DescriptorGuard& operator=(const DescriptorGuard&) = delete;
    int Release()
    {
        int fd = m_fd;
        m_fd = -1;
        return fd;
    }

private:
    int m_fd;
};

HANDLE Fail(DWORD error)
{
    SetLastError(error);
    return INVALID_HANDLE_VALUE;
}

BOOL FailBool(DWORD error)
{
    SetLastError(error);
    return FALSE;
}

// Opens the host file as the disposition asks, without truncating. Returns the
// descriptor or -1 with `error` set; `existed` tells whether the file was
// there before.
int OpenForDisposition(const std::string& host, int accessFlags, DWORD disposition, mode_t mode, bool& existed,
                       DWORD& error)
{
    // O_NONBLOCK keeps a FIFO at that name from blocking the open; it is
    // refused as not being a file right after.
    const int base = accessFlags | O_CLOEXEC | O_NOCTTY | O_NONBLOCK;
    bool mayCreate = disposition == CREATE_NEW || disposition == CREATE_ALWAYS || disposition == OPEN_ALWAYS;
    // A file deleted between the two attempts is created on the next round.
    for (int attempt = 0; attempt < 8; ++attempt) {
        if (mayCreate) {
            int fd = open(host.c_str(), base | O_CREAT | O_EXCL, mode);
            if (fd >= 0) {
                existed = false;
                return fd;
            }
            if (errno != EEXIST || disposition == CREATE_NEW) {
                error = errno == ENOENT ? ERROR_PATH_NOT_FOUND : ErrorFromErrno(errno, ERROR_ACCESS_DENIED);
                return -1;
            }
        }
        int fd = open(host.c_str(), base);
        if (fd >= 0) {
            existed = true;
            return fd;
        }
        if (errno != ENOENT || !mayCreate) {
            error = errno == ENOENT ? MissingNameError(host) : ErrorFromErrno(errno, ERROR_ACCESS_DENIED);
            return -1;
        }
    }
    error = ERROR_ACCESS_DENIED;
    return -1;
}

// ReadFile and WriteFile: the same checks around one transfer.
template <typename Byte>
BOOL TransferFile(HANDLE file, Byte* buffer, DWORD size, LPDWORD done, LPOVERLAPPED overlapped)
{
    if (done)
        *done = 0;
    auto object = LookupHandleAs<FileObject>(file);
    if (!object)
        return FailBool(ERROR_INVALID_HANDLE);
    if (overlapped != nullptr || (buffer == nullptr && size > 0))
        return FailBool(ERROR_INVALID_PARAMETER);
    DWORD moved = 0;
    DWORD error = object->Transfer(buffer, size, moved);
    if (done)
        *done = moved;
    return error == ERROR_SUCCESS ? TRUE : FailBool(error);
}

}  // namespace
}  // namespace vellumry::kernel

using namespace vellumry::kernel;

HANDLE CreateFileA(LPCSTR fileName, DWORD desiredAccess, DWORD shareMode, LPSECURITY_ATTRIBUTES,
                   DWORD creationDisposition, DWORD flagsAndAttributes, HANDLE)
{
    std::string host;
    if (DWORD error = ResolveName(fileName, host); error != ERROR_SUCCESS)
        return Fail(error);
    if (creationDisposition < CREATE_NEW || creationDisposition > TRUNCATE_EXISTING)
        return Fail(ERROR_INVALID_PARAMETER);
    DWORD access = desiredAccess & (GENERIC_READ | GENERIC_WRITE);
    if (creationDisposition == TRUNCATE_EXISTING && !(access & GENERIC_WRITE))
        return Fail(ERROR_INVALID_PARAMETER);
    int accessFlags = access == (GENERIC_READ | GENERIC_WRITE) ? O_RDWR : access == GENERIC_WRITE ? O_WRONLY : O_RDONLY;
    mode_t mode = (flagsAndAttributes & FILE_ATTRIBUTE_READONLY) ? 0444 : 0666;

    auto registry = OpenFiles().Lock();
    bool existed = false;
    DWORD error = ERROR_SUCCESS;
    int raw = OpenForDisposition(host, accessFlags, creationDisposition, mode, existed, error);
    if (raw < 0)
        return Fail(error);
    DescriptorGuard owned(raw);
    struct stat info {};
    if (fstat(raw, &info) != 0)
        return Fail(ErrorFromErrno(errno, ERROR_ACCESS_DENIED));
    if (!S_ISREG(info.st_mode))
        return Fail(ERROR_ACCESS_DENIED);
    // The read-only attribute binds every opener, including a privileged one;
    // the handle that created the file may still write it.
    if (existed && (access & GENERIC_WRITE) && IsReadOnly(info))
        return Fail(ERROR_ACCESS_DENIED);
    FileIdentity identity = IdentityOf(info);
    if (!registry->Allows(identity, access, shareMode))
        return Fail(ERROR_SHARING_VIOLATION);
    bool truncate = existed && (creationDisposition == CREATE_ALWAYS || creationDisposition == TRUNCATE_EXISTING);
    if (truncate && ftruncate(raw, 0) != 0)
        return Fail(ErrorFromErrno(errno, ERROR_ACCESS_DENIED));
    int flags = fcntl(raw, F_GETFL);
    if (flags < 0 || fcntl(raw, F_SETFL, flags & ~O_NONBLOCK) != 0)
        return Fail(ErrorFromErrno(errno, ERROR_ACCESS_DENIED));
    std::uint64_t ticket = registry->Add(identity, access, shareMode);
    registry.Lock().unlock();

    HANDLE handle = InsertHandle(std::make_shared<FileObject>(owned.Release(), access, ticket));
    bool reportExisting = existed && (creationDisposition == CREATE_ALWAYS || creationDisposition == OPEN_ALWAYS);
    SetLastError(reportExisting ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
    return handle;
}

BOOL ReadFile(HANDLE file, LPVOID buffer, DWORD bytesToRead, LPDWORD bytesRead, LPOVERLAPPED overlapped)
{
    return TransferFile(file, static_cast<char*>(buffer), bytesToRead, bytesRead, overlapped);
}

BOOL WriteFile(HANDLE file, LPCVOID buffer, DWORD bytesToWrite, LPDWORD bytesWritten, LPOVERLAPPED overlapped)
{
    return TransferFile(file, static_cast<const char*>(buffer), bytesToWrite, bytesWritten, overlapped);
}

DWORD GetFileSize(HANDLE file, LPDWORD fileSizeHigh)
{
    auto object = LookupHandleAs<FileObject>(file);
    if (!object) {
        SetLastError(ERROR_INVALID_HANDLE);
        return INVALID_FILE_SIZE;
    }
    std::uint64_t size = 0;
    if (DWORD error = object->Size(size); error != ERROR_SUCCESS) {
        SetLastError(error);
        return INVALID_FILE_SIZE;
    }
    if (fileSizeHigh)
        *fileSizeHigh = static_cast<DWORD>(size >> 32);
    // A size whose low half is INVALID_FILE_SIZE is told apart by the last
    // error, as documented.
    SetLastError(ERROR_SUCCESS);
    return static_cast<DWORD>(size);
}

BOOL DeleteFileA(LPCSTR fileName)
{
    std::string host;
    if (DWORD error = ResolveName(fileName, host); error != ERROR_SUCCESS)
        return FailBool(error);
    auto registry = OpenFiles().Lock();
    struct stat info {};
    if (lstat(host.c_str(), &info) != 0)
        return FailBool(errno == ENOENT ? MissingNameError(host) : ErrorFromErrno(errno, ERROR_ACCESS_DENIED));
    if (S_ISDIR(info.st_mode) || (S_ISREG(info.st_mode) && IsReadOnly(info)))
        return FailBool(ERROR_ACCESS_DENIED);
    if (!registry->AllowsDelete(IdentityOf(info)))
        return FailBool(ERROR_SHARING_VIOLATION);
    if (unlink(host.c_str()) != 0)
        return FailBool(ErrorFromErrno(errno, ERROR_ACCESS_DENIED));
    return TRUE;
}

BOOL MoveFileExA(LPCSTR existingFileName, LPCSTR newFileName, DWORD flags)
{
    std::string from;
    std::string to;
    if (DWORD error = ResolveName(existingFileName, from); error != ERROR_SUCCESS)
        return FailBool(error);
    if (DWORD error = ResolveName(newFileName, to); error != ERROR_SUCCESS)
        return FailBool(error);
    auto registry = OpenFiles().Lock();
    struct stat source {};
    if (lstat(from.c_str(), &source) != 0)
        return FailBool(errno == ENOENT ? MissingNameError(from) : ErrorFromErrno(errno, ERROR_ACCESS_DENIED));
    if (!registry->AllowsDelete(IdentityOf(source)))
        return FailBool(ERROR_SHARING_VIOLATION);
    struct stat target {};
    if (lstat(to.c_str(), &target) == 0) {
        if (!(flags & MOVEFILE_REPLACE_EXISTING))
            return FailBool(ERROR_ALREADY_EXISTS);
        if (S_ISDIR(target.st_mode) || (S_ISREG(target.st_mode) && IsReadOnly(target)))
            return FailBool(ERROR_ACCESS_DENIED);
        if (!registry->AllowsDelete(IdentityOf(target)))
            return FailBool(ERROR_SHARING_VIOLATION);
    } else if (errno != ENOENT) {
        return FailBool(ErrorFromErrno(errno, ERROR_ACCESS_DENIED));
    }
    if (rename(from.c_str(), to.c_str()) != 0)
        return FailBool(errno == ENOENT ? ERROR_PATH_NOT_FOUND : ErrorFromErrno(errno, ERROR_ACCESS_DENIED));
    return TRUE;
}
