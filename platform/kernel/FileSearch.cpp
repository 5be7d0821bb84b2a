#include "platform/kernel/FileSearch.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/base/Guarded.h"
#include "platform/base/LastError.h"
#include "platform/codepage/CodePage.h"
#include "platform/kernel/PathMapping.h"

namespace vellumry::kernel {
namespace {

char FoldCase(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
}

bool MatchFrom(const char* p, const char* n)
{
    for (; *p; ++p) {
        if (*p == '*') {
            while (p[1] == '*')
                ++p;
            if (!p[1])
                return true;
            for (const char* rest = n;; ++rest) {
                if (MatchFrom(p + 1, rest))
                    return true;
                if (!*rest)
                    return false;
            }
        }
        if (!*n)
            return false;
        if (*p != '?' && FoldCase(*p) != FoldCase(*n))
            return false;
        ++n;
    }
    return *n == '\0';
}

struct Entry {
    std::string name;  // GBK
    WIN32_FIND_DATAA data;
};

struct Search {
    std::vector<Entry> entries;
    size_t next = 0;
};

// Open searches by handle; the handle is the search's address.
base::Guarded<std::map<HANDLE, std::unique_ptr<Search>>> g_searches;

FILETIME ToFileTime(const timespec& t)
{
    // 100-nanosecond intervals since 1601-01-01.
    constexpr std::uint64_t kEpochDifference = 116444736000000000ULL;
    std::uint64_t value = kEpochDifference + static_cast<std::uint64_t>(t.tv_sec) * 10000000ULL +
                          static_cast<std::uint64_t>(t.tv_nsec) / 100;
    return {static_cast<DWORD>(value), static_cast<DWORD>(value >> 32)};
}

bool Describe(const std::string& folder, const std::string& hostName, Entry& entry)
{
    struct stat info {};
    if (stat((folder + "/" + hostName).c_str(), &info) != 0)
        return false;
    entry.name = codepage::Utf8ToGbk(hostName);
    if (entry.name.size() >= MAX_PATH)
        return false;
    WIN32_FIND_DATAA& d = entry.data;
    std::memset(&d, 0, sizeof d);
    d.dwFileAttributes = S_ISDIR(info.st_mode) ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_ARCHIVE;
    if ((info.st_mode & S_IWUSR) == 0)
        d.dwFileAttributes |= FILE_ATTRIBUTE_READONLY;
    if (hostName[0] == '.' && hostName != "." && hostName != "..")
        d.dwFileAttributes |= FILE_ATTRIBUTE_HIDDEN;
    d.ftCreationTime = ToFileTime(info.st_ctim);
    d.ftLastAccessTime = ToFileTime(info.st_atim);
    d.ftLastWriteTime = ToFileTime(info.st_mtim);
    auto size = static_cast<std::uint64_t>(S_ISDIR(info.st_mode) ? 0 : info.st_size);
    d.nFileSizeHigh = static_cast<DWORD>(size >> 32);
    d.nFileSizeLow = static_cast<DWORD>(size);
    std::memcpy(d.cFileName, entry.name.c_str(), entry.name.size() + 1);
    return true;
}

bool NameLess(const Entry& a, const Entry& b)
{
    auto dots = [](const std::string& n) { return n == "." ? 0 : n == ".." ? 1 : 2; };
    if (dots(a.name) != dots(b.name))
        return dots(a.name) < dots(b.name);
    return std::lexicographical_compare(a.name.begin(), a.name.end(), b.name.begin(), b.name.end(),
                                        [](char x, char y) {
                                            return static_cast<unsigned char>(FoldCase(x)) <
                                                   static_cast<unsigned char>(FoldCase(y));
                                        });
}

}  // namespace

bool MatchesWildcard(const char* pattern, const char* name)
{
    if (std::strcmp(pattern, "*.*") == 0)
        return true;
    return MatchFrom(pattern, name);
}

}  // namespace vellumry::kernel

using namespace vellumry::kernel;

HANDLE FindFirstFileA(LPCSTR fileName, WIN32_FIND_DATAA* findData)
{
    if (fileName == nullptr || findData == nullptr || *fileName == '\0') {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    std::string host = ToHostPath(fileName);
    size_t slash = host.rfind('/');
    std::string folder = slash == std::string::npos ? "." : (slash == 0 ? "/" : host.substr(0, slash));
    std::string pattern = vellumry::codepage::Utf8ToGbk(slash == std::string::npos ? host : host.substr(slash + 1));
    if (pattern.empty()) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    DIR* dir = opendir(folder.c_str());
    if (!dir) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    auto search = std::make_unique<Search>();
    bool root = folder == "/";
    while (dirent* d = readdir(dir)) {
        std::string name = d->d_name;
        if (root && (name == "." || name == ".."))
            continue;
        Entry entry;
        if (Describe(folder, name, entry) && MatchesWildcard(pattern.c_str(), entry.name.c_str()))
            search->entries.push_back(std::move(entry));
    }
    closedir(dir);
    if (search->entries.empty()) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    std::sort(search->entries.begin(), search->entries.end(), NameLess);
    *findData = search->entries[0].data;
    search->next = 1;
    HANDLE handle = search.get();
    g_searches.Lock()->emplace(handle, std::move(search));
    return handle;
}

BOOL FindNextFileA(HANDLE handle, WIN32_FIND_DATAA* findData)
{
    auto searches = g_searches.Lock();
    auto found = searches->find(handle);
    if (found == searches->end() || findData == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    Search* search = found->second.get();
    if (search->next >= search->entries.size()) {
        SetLastError(ERROR_NO_MORE_FILES);
        return FALSE;
    }
    *findData = search->entries[search->next++].data;
    return TRUE;
}

BOOL FindClose(HANDLE handle)
{
    if (g_searches.Lock()->erase(handle) == 0) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    return TRUE;
}
