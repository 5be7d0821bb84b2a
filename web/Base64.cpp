#include "web/Base64.h"

#include <algorithm>

namespace vellumry::web {

std::string Base64Encode(std::span<const std::uint8_t> data)
{
    static constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve((data.size() + 2) / 3 * 4);
    for (std::size_t i = 0; i < data.size(); i += 3) {
        // Missing bytes of the last group count as zero and become fill.
        std::size_t present = std::min<std::size_t>(3, data.size() - i);
        std::uint32_t group = static_cast<std::uint32_t>(data[i]) << 16;
        if (present > 1)
            group |= static_cast<std::uint32_t>(data[i + 1]) << 8;
        if (present > 2)
            group |= data[i + 2];
        out += kAlphabet[(group >> 18) & 0x3F];
        out += kAlphabet[(group >> 12) & 0x3F];
        out += present > 1 ? kAlphabet[(group >> 6) & 0x3F] : '=';
        out += present > 2 ? kAlphabet[group & 0x3F] : '=';
    }
    return out;
}

}  // namespace vellumry::web
