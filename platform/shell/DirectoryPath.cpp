#include "platform/shell/DirectoryPath.h"

#include <sys/stat.h>

#include <cerrno>
#include <string>

#include "platform/base/LastError.h"
#include "platform/kernel/PathMapping.h"
#include "platform/kernel/private/ErrnoMapping.h"
#include "platform/shell/PathFunctions.h"

namespace {

// A prefix that names no folder to create: the root ("" before a leading
// "\") or a bare drive ("C:").
bool IsRootPrefix(const std::string& prefix)
{
    return prefix.empty() || (prefix.size() == 2 && prefix[1] == ':');
}

// Makes one folder unless it exists; the last error on failure.
bool EnsureOneFolder(const std::string& runtimePrefix)
{
    std::string host = vellumry::kernel::ToHostPath(runtimePrefix);
    struct stat info {};
    if (stat(host.c_str(), &info) == 0) {
        if (S_ISDIR(info.st_mode))
            return true;
        SetLastError(ERROR_ALREADY_EXISTS);
        return false;
    }
    if (mkdir(host.c_str(), 0777) == 0 || errno == EEXIST)
        return true;
    SetLastError(vellumry::kernel::ErrorFromErrno(errno, ERROR_PATH_NOT_FOUND));
    return false;
}

}  // namespace

BOOL MakeSureDirectoryPathExists(LPCSTR dirPath)
{
    if (!dirPath || !*dirPath) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const std::string path(dirPath);
    for (size_t at = 0; at < path.size(); at += static_cast<size_t>(vellumry::shell::GbkCharLength(&path[at]))) {
        if (path[at] != '\\' && path[at] != '/')
            continue;
        std::string prefix = path.substr(0, at);
        if (!IsRootPrefix(prefix) && !EnsureOneFolder(prefix))
            return FALSE;
    }
    return TRUE;
}
