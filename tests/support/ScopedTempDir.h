#pragma once

// A fresh folder under the system's temporary folder, removed with everything
// in it when the object goes away.

#include <string>

namespace vellumry::test {

class ScopedTempDir {
public:
    ScopedTempDir();
    ~ScopedTempDir();
    ScopedTempDir(const ScopedTempDir&) = delete;
    ScopedTempDir& operator=(const ScopedTempDir&) = delete;

    // Host path (UTF-8, "/" separators), without a trailing "/".
    const std::string& Path() const { return m_path; }
    // Host path of a file inside the folder.
    std::string File(const std::string& name) const { return m_path + "/" + name; }
    // Writes a file inside the folder and returns its host path.
    std::string Write(const std::string& name, const std::string& content) const;

private:
    std::string m_path;
};

// Reads a whole file; empty when it cannot be read.
std::string ReadHostFile(const std::string& path);

}  // namespace vellumry::test
