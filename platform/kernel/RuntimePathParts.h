#pragma once

// Splitting runtime paths (GBK, "\" separators) into folder and name, and
// telling names Windows would refuse. The walks step over two-byte characters
// whole, since a trail byte may have the code of "\" or "|".

#include <cstddef>
#include <string_view>

namespace vellumry::kernel {

// Length of the folder part, its last separator included: up to the last "\"
// or "/", or the "C:" of a bare drive prefix; 0 when the path has neither.
inline std::size_t FolderPartLength(std::string_view path)
{
    std::size_t length = 0;
    for (std::size_t i = 0; i < path.size(); ++i) {
        auto c = static_cast<unsigned char>(path[i]);
        if (c >= 0x80)
            ++i;
        else if (c == '\\' || c == '/' || (c == ':' && i == 1))
            length = i + 1;
    }
    return length;
}

// A name Windows would refuse: a control character or one of < > : " | ? *
// anywhere but a drive letter's colon. The walk steps over two-byte GBK
// characters, whose trail byte may have the code of "|" or "\".
inline bool IsValidRuntimeName(std::string_view name)
{
    for (std::size_t i = 0; i < name.size(); ++i) {
        auto c = static_cast<unsigned char>(name[i]);
        if (c >= 0x80) {
            ++i;
            continue;
        }
        if (c < 0x20)
            return false;
        switch (c) {
        case '<':
        case '>':
        case '"':
        case '|':
        case '?':
        case '*':
            return false;
        case ':':
            if (i != 1 || !((name[0] >= 'A' && name[0] <= 'Z') || (name[0] >= 'a' && name[0] <= 'z')))
                return false;
            break;
        default:
            break;
        }
    }
    return true;
}

// Maps a runtime name to a host path, or answers the last-error code.

}  // namespace vellumry::kernel
