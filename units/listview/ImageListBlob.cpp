#include "units/listview/ImageListBlob.h"

#include <cstring>

namespace vellumry::units {
namespace {

constexpr char kMagic[4] = {'M', 'I', 'T', 'L'};
constexpr std::size_t kHeadSize = 8;

}  // namespace

bool IsImageListBlob(std::span<const std::uint8_t> blob)
{
    return blob.size() > kHeadSize && std::memcmp(blob.data(), kMagic, sizeof kMagic) == 0;
}

std::span<const std::uint8_t> ImageListStream(std::span<const std::uint8_t> blob)
{
    return IsImageListBlob(blob) ? blob.subspan(kHeadSize) : std::span<const std::uint8_t>();
}

}  // namespace vellumry::units
