#include "platform/shell/PathFunctions.h"

#include <sys/stat.h>

#include "platform/kernel/FileSearch.h"
#include "platform/kernel/PathMapping.h"

using vellumry::shell::GbkCharLength;

namespace {

bool IsSeparator(char c)
{
    return c == '\\' || c == '/' || c == ':';
}

}  // namespace

LPSTR PathFindFileNameA(LPCSTR path)
{
    if (!path)
        return nullptr;
    LPCSTR name = path;
    for (LPCSTR at = path; *at; at += GbkCharLength(at)) {
        // A separator starts a new name only when a name follows it.
        if (IsSeparator(*at) && at[1] != '\0' && at[1] != '\\' && at[1] != '/')
            name = at + 1;
    }
    return const_cast<LPSTR>(name);
}

LPSTR PathFindExtensionA(LPCSTR path)
{
    if (!path)
        return nullptr;
    LPCSTR dot = nullptr;
    LPCSTR at = path;
    for (; *at; at += GbkCharLength(at)) {
        if (*at == '\\' || *at == ' ')
            dot = nullptr;
        else if (*at == '.')
            dot = at;
    }
    return const_cast<LPSTR>(dot ? dot : at);
}

BOOL PathIsDirectoryA(LPCSTR path)
{
    if (!path || !*path)
        return FALSE;
    struct stat info {};
    std::string host = vellumry::kernel::ToHostPath(path);
    if (stat(host.c_str(), &info) != 0 || !S_ISDIR(info.st_mode))
        return FALSE;
    return static_cast<BOOL>(FILE_ATTRIBUTE_DIRECTORY);
}
