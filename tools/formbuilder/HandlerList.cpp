#include "tools/formbuilder/HandlerList.h"

#include <algorithm>

#include "tools/formbuilder/FormTokens.h"

namespace vellumry::formbuilder {
namespace {

constexpr std::string_view kOpening = "VELLUMRY_HANDLER(";

std::string_view Trimmed(std::string_view line)
{
    auto first = line.find_first_not_of(" \t\r");
    if (first == std::string_view::npos)
        return {};
    auto last = line.find_last_not_of(" \t\r");
    return line.substr(first, last - first + 1);
}

bool IsName(std::string_view name)
{
    auto isNameChar = [](char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
    };
    return !name.empty() && !(name[0] >= '0' && name[0] <= '9') && std::all_of(name.begin(), name.end(), isNameChar);
}

}  // namespace

std::vector<std::string> ParseHandlerList(std::string_view text)
{
    std::vector<std::string> names;
    int lineNumber = 0;
    while (!text.empty()) {
        auto end = text.find('\n');
        std::string_view line = Trimmed(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        ++lineNumber;
        if (line.empty() || line.starts_with("//"))
            continue;
        std::string where = "handler list line " + std::to_string(lineNumber) + ": ";
        if (!line.starts_with(kOpening) || !line.ends_with(")"))
            throw FormBuildError(where + "expected VELLUMRY_HANDLER(Name)");
        std::string_view name = line.substr(kOpening.size(), line.size() - kOpening.size() - 1);
        if (!IsName(name))
            throw FormBuildError(where + "not a name: " + std::string(name));
        if (std::find(names.begin(), names.end(), name) != names.end())
            throw FormBuildError(where + "handler listed twice: " + std::string(name));
        names.emplace_back(name);
    }
    return names;
}

}  // namespace vellumry::formbuilder
