#pragma once

// Where an installed program that a benchmark compares with lives: the path
// of an executable `name` in the usual folders, or empty when it is not
// installed.

#include <unistd.h>

#include <string>

namespace vellumry::bench {

inline std::string FindProgram(const char* name)
{
    for (const char* folder : {"/usr/bin/", "/bin/", "/usr/local/bin/"}) {
        std::string path = std::string(folder) + name;
        if (access(path.c_str(), X_OK) == 0)
            return path;
    }
    return {};
}

}  // namespace vellumry::bench
