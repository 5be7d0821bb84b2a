#include "tests/support/ScopedTempDir.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace vellumry::test {

ScopedTempDir::ScopedTempDir()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "vellumry-test-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("cannot create a temporary folder");
    m_path = pattern;
}

ScopedTempDir::~ScopedTempDir()
{
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

std::string ScopedTempDir::Write(const std::string& name, const std::string& content) const
{
    std::string path = File(name);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << content;
    return path;
}

std::string ReadHostFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

}  // namespace vellumry::test
