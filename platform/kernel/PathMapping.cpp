#include "platform/kernel/PathMapping.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <climits>

#include "platform/codepage/CodePage.h"

namespace vellumry::kernel {

std::string ToHostPath(std::string_view runtimePath)
{
    std::string path = codepage::GbkToUtf8(runtimePath);
    if (path.size() >= 2 && path[1] == ':' &&
        ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z')))
        path.erase(0, 2);
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

std::string ToRuntimePath(std::string_view hostPath)
{
    std::string path(hostPath);
    std::replace(path.begin(), path.end(), '/', '\\');
    return codepage::Utf8ToGbk(path);
}

const std::string& HostProgramPath()
{
    static const std::string path = [] {
        char buffer[PATH_MAX];
        ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
        return n > 0 ? std::string(buffer, static_cast<size_t>(n)) : std::string();
    }();
    return path;
}

bool HostFileExists(const std::string& hostPath)
{
    struct stat info {};
    return !hostPath.empty() && stat(hostPath.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

}  // namespace vellumry::kernel
