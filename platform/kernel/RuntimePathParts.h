#pragma once

// Splitting runtime paths (GBK, "\" separators) into folder and name. The
// walk steps over two-byte characters whole, since a trail byte may have the
// code of "\".

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

}  // namespace vellumry::kernel
