#include "runtime/commands/FileCommands.h"

#include <memory>
#include <string>
#include <vector>

#include "platform/kernel/FileReplacement.h"
#include "platform/kernel/ModuleFileName.h"
#include "platform/kernel/ProfileApi.h"
#include "platform/kernel/RuntimePathParts.h"
#include "runtime/ValueHelpers.h"
#include "runtime/commands/CommandArguments.h"

namespace vellumry::runtime::commands {
namespace {

// Long enough for any path the host can give.
constexpr DWORD kLongestModulePath = 1u << 16;

// A text argument as the C text the kernel functions take: never null.
const char* CText(std::string_view text)
{
    return text.data() ? text.data() : "";
}

std::string_view SkipLowBytes(std::string_view text)
{
    while (!text.empty() && static_cast<unsigned char>(text.front()) <= 0x20)
        text.remove_prefix(1);
    return text;
}

std::string ModuleFilePath()
{
    std::string path(MAX_PATH, '\0');
    while (path.size() <= kLongestModulePath) {
        DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return {};
        if (length < path.size() - 1) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
    return {};
}

}  // namespace

void ProgramFolder(TypedValue* result, std::int32_t, const TypedValue*)
{
    std::string path = ModuleFilePath();
    std::size_t folder = kernel::FolderPartLength(path);
    ReturnText(result, MakeTextOrNull(std::string_view(path).substr(0, folder == 0 ? 0 : folder - 1)));
}

void WriteToFile(TypedValue* result, std::int32_t count, const TypedValue* arguments)
{
    Arguments args(count, arguments);
    std::string_view path = args.Text(0);
    if (path.empty()) {
        ReturnBool(result, false);
        return;
    }
    std::vector<std::span<const std::uint8_t>> pieces;
    for (std::int32_t i = 1; i < args.Count(); ++i)
        if (!args.Bytes(i).empty())
            pieces.push_back(args.Bytes(i));
    ReturnBool(result, kernel::ReplaceFileContents(path.data(), pieces) != FALSE);
}

void ReadProfileItem(TypedValue* result, std::int32_t count, const TypedValue* arguments)
{
    Arguments args(count, arguments);
    std::string_view file = SkipLowBytes(args.Text(0));
    std::string_view section = SkipLowBytes(args.Text(1));
    std::string_view key = SkipLowBytes(args.Text(2));
    if (file.empty() || section.empty() || key.empty()) {
        ReturnText(result, nullptr);
        return;
    }
    auto buffer = std::make_unique<char[]>(kProfileValueBuffer);
    DWORD length = GetPrivateProfileStringA(section.data(), key.data(), CText(args.Text(3)), buffer.get(),
                                            kProfileValueBuffer, file.data());
    ReturnText(result, MakeTextOrNull(std::string_view(buffer.get(), length)));
}

void WriteProfileItem(TypedValue* result, std::int32_t count, const TypedValue* arguments)
{
    Arguments args(count, arguments);
    const char* key = args.IsGiven(2) ? CText(args.Text(2)) : nullptr;
    const char* value = args.IsGiven(3) ? CText(args.Text(3)) : nullptr;
    ReturnBool(result, WritePrivateProfileStringA(CText(args.Text(1)), key, value, CText(args.Text(0))) != FALSE);
}

}  // namespace vellumry::runtime::commands
