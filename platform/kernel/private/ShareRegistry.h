#pragma once

// Who has which file open in this process, with what access and share mode.
// CreateFileA, DeleteFileA and MoveFileExA consult it to refuse what the
// documented sharing rules refuse. A file is known by its device and inode,
// so two spellings of one path are one file.
//
// The registry is reached only through OpenFiles(), which holds its lock: a
// caller keeps the view across its check and the file-system step that
// follows, so that no other opener slips in between.

#include <sys/types.h>

#include <cstdint>
#include <vector>

#include "platform/base/Guarded.h"
#include "platform/base/WinTypes.h"

namespace vellumry::kernel {

struct FileIdentity {
    dev_t device = 0;
    ino_t inode = 0;
    bool operator==(const FileIdentity&) const = default;
};

class ShareRegistry {
public:
    // True when an open with `access` and `share` is compatible with every
    // open of the file already registered.
    bool Allows(const FileIdentity& file, DWORD access, DWORD share) const;
    // True when every open of the file shares delete access.
    bool AllowsDelete(const FileIdentity& file) const;
    // Registers an open and returns its ticket for Remove.
    std::uint64_t Add(const FileIdentity& file, DWORD access, DWORD share);
    void Remove(std::uint64_t ticket);

private:
    struct Open {
        FileIdentity file;
        DWORD access;
        DWORD share;
        std::uint64_t ticket;
    };

    std::vector<Open> m_opens;
    std::uint64_t m_nextTicket = 1;
};

// The process's one registry, behind its lock.
base::Guarded<ShareRegistry>& OpenFiles();

}  // namespace vellumry::kernel
