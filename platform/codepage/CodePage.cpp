#include "platform/codepage/CodePage.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <optional>
#include <stdexcept>

namespace vellumry::codepage {
namespace {

enum class Encoding { Gbk, Utf8, Utf16 };

const char* IconvName(Encoding e)
{
    switch (e) {
    case Encoding::Gbk: return "CP936";
    case Encoding::Utf8: return "UTF-8";
    case Encoding::Utf16: return "UTF-16LE";
    }
    return "";
}

// The replacement written for an unconvertible input unit, in the target
// encoding's bytes.
std::string_view Replacement(Encoding target)
{
    switch (target) {
    case Encoding::Gbk: return {"?", 1};
    case Encoding::Utf8: return {"\xEF\xBF\xBD", 3};
    case Encoding::Utf16: return {"\xFD\xFF", 2};
    }
    return {};
}

// How many input bytes to skip past a sequence that failed to convert: a
// whole character when it is well-formed but has no mapping in the target, a
// single unit when it is malformed.
size_t FailedUnitSize(Encoding source, const char* in, size_t left)
{
    auto byte = [&](size_t i) { return static_cast<unsigned char>(in[i]); };
    if (source == Encoding::Utf16) {
        if (left >= 4 && (byte(1) & 0xFC) == 0xD8 && (byte(3) & 0xFC) == 0xDC)
            return 4;
        return std::min<size_t>(2, left);
    }
    if (source == Encoding::Utf8) {
        unsigned char lead = byte(0);
        size_t length = lead >= 0xF0 && lead <= 0xF4 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 && lead <= 0xDF ? 2 : 1;
        if (lead > 0xF4 || length > left)
            return 1;
        for (size_t i = 1; i < length; ++i)
            if ((byte(i) & 0xC0) != 0x80)
                return 1;
        return length;
    }
    return 1;
}

// iconv descriptors are not thread-safe and slow to open, so each thread keeps
// one per direction for its lifetime.
class Converter {
public:
    Converter(Encoding from, Encoding to)
        : m_handle(iconv_open(IconvName(to), IconvName(from)))
    {
        if (m_handle == reinterpret_cast<iconv_t>(-1))
            throw std::runtime_error("iconv lacks a code page 936 converter");
    }
    ~Converter() { iconv_close(m_handle); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    iconv_t Handle() const { return m_handle; }

private:
    iconv_t m_handle;
};

Converter& ConverterFor(Encoding from, Encoding to)
{
    thread_local std::unique_ptr<Converter> table[3][3];
    auto& slot = table[static_cast<int>(from)][static_cast<int>(to)];
    if (!slot)
        slot = std::make_unique<Converter>(from, to);
    return *slot;
}

// Converts `input` into the `capacity` bytes at `out`, substituting the
// target's replacement for every invalid or unmappable input unit. Returns
// the bytes written, or no value when the room ran out. Sets `clean` to false
// when a substitution was made.
std::optional<size_t> ConvertInto(std::string_view input, Encoding from, Encoding to, char* out, size_t capacity,
                                  bool* clean)
{
    if (clean)
        *clean = true;
    if (input.empty())
        return 0;
    iconv_t cd = ConverterFor(from, to).Handle();
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char* in = const_cast<char*>(input.data());
    size_t inLeft = input.size();
    char* cursor = out;
    size_t outLeft = capacity;
    while (inLeft > 0) {
        size_t rc = iconv(cd, &in, &inLeft, &cursor, &outLeft);
        if (rc != static_cast<size_t>(-1))
            break;
        if (errno == E2BIG)
            return std::nullopt;
        // EILSEQ (invalid or unmappable) or EINVAL (truncated at the end).
        if (clean)
            *clean = false;
        std::string_view rep = Replacement(to);
        if (outLeft < rep.size())
            return std::nullopt;
        std::memcpy(cursor, rep.data(), rep.size());
        cursor += rep.size();
        outLeft -= rep.size();
        size_t skip = FailedUnitSize(from, in, inLeft);
        in += skip;
        inLeft -= skip;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    return static_cast<size_t>(cursor - out);
}

// Converts into a new text of `Text`'s code units. Room for twice the input
// and a little more holds every conversion here; should it not, the
// conversion starts again with more.
template <typename Text>
Text Convert(std::string_view input, Encoding from, Encoding to, bool* clean = nullptr)
{
    using Unit = typename Text::value_type;
    size_t capacity = input.size() * 2 + 16;
    for (;;) {
        Text output(capacity / sizeof(Unit), Unit{});
        std::optional<size_t> written = ConvertInto(input, from, to, reinterpret_cast<char*>(output.data()),
                                                    output.size() * sizeof(Unit), clean);
        if (written) {
            output.resize(*written / sizeof(Unit));
            return output;
        }
        capacity *= 2;
    }
}

bool IsAscii(std::string_view bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

bool IsAscii(std::u16string_view units)
{
    return std::all_of(units.begin(), units.end(), [](char16_t c) { return c < 0x80; });
}

std::string_view AsBytes(std::u16string_view text)
{
    return {reinterpret_cast<const char*>(text.data()), text.size() * sizeof(char16_t)};
}


}  // namespace

std::string GbkToUtf8(std::string_view gbk)
{
    return IsAscii(gbk) ? std::string(gbk) : Convert<std::string>(gbk, Encoding::Gbk, Encoding::Utf8);
}

std::string Utf8ToGbk(std::string_view utf8)
{
    return IsAscii(utf8) ? std::string(utf8) : Convert<std::string>(utf8, Encoding::Utf8, Encoding::Gbk);
}

std::u16string GbkToUtf16(std::string_view gbk)
{
    if (IsAscii(gbk))
        return std::u16string(gbk.begin(), gbk.end());
    return Convert<std::u16string>(gbk, Encoding::Gbk, Encoding::Utf16);
}

std::string Utf16ToGbk(std::u16string_view utf16)
{
    if (IsAscii(utf16))
        return std::string(utf16.begin(), utf16.end());
    return Convert<std::string>(AsBytes(utf16), Encoding::Utf16, Encoding::Gbk);
}

std::u16string Utf8ToUtf16(std::string_view utf8)
{
    if (IsAscii(utf8))
        return std::u16string(utf8.begin(), utf8.end());
    return Convert<std::u16string>(utf8, Encoding::Utf8, Encoding::Utf16);
}

std::string Utf16ToUtf8(std::u16string_view utf16)
{
    if (IsAscii(utf16))
        return std::string(utf16.begin(), utf16.end());
    return Convert<std::string>(AsBytes(utf16), Encoding::Utf16, Encoding::Utf8);
}

size_t GbkToUtf16(std::string_view gbk, char16_t* out)
{
    if (IsAscii(gbk)) {
        std::copy(gbk.begin(), gbk.end(), out);
        return gbk.size();
    }
    std::optional<size_t> written =
        ConvertInto(gbk, Encoding::Gbk, Encoding::Utf16, reinterpret_cast<char*>(out), gbk.size() * sizeof(char16_t),
                    nullptr);
    if (written)
        return *written / sizeof(char16_t);
    // Not reached for code page 936, whose characters all lie in the basic
    // plane; kept whole should a conversion ever need more room.
    std::u16string wide = GbkToUtf16(gbk);
    size_t count = std::min(wide.size(), gbk.size());
    std::copy_n(wide.begin(), count, out);
    return count;
}

bool IsValidGbk(std::string_view gbk)
{
    bool clean = true;
    if (!IsAscii(gbk))
        Convert<std::u16string>(gbk, Encoding::Gbk, Encoding::Utf16, &clean);
    return clean;
}

bool IsEncodableAsGbk(std::u16string_view utf16)
{
    bool clean = true;
    Convert<std::string>(AsBytes(utf16), Encoding::Utf16, Encoding::Gbk, &clean);
    return clean;
}

}  // namespace vellumry::codepage
