#include "tools/assets/AssetFile.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace vellumry::assets {

bool WriteAssetFile(const std::string& path, std::span<const std::uint8_t> bytes)
{
    const std::string temporary = path + ".part";
    std::error_code error;
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) {
            std::fprintf(stderr, "vellumry_assetgen: cannot write %s\n", temporary.c_str());
            std::filesystem::remove(temporary, error);
            return false;
        }
    }
    std::filesystem::rename(temporary, path, error);
    if (error) {
        std::fprintf(stderr, "vellumry_assetgen: cannot rename %s to %s: %s\n", temporary.c_str(), path.c_str(),
                     error.message().c_str());
        std::filesystem::remove(temporary, error);
        return false;
    }
    return true;
}

}  // namespace vellumry::assets
