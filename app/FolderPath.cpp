#include "app/FolderPath.h"

#include "app/AppTexts.h"
#include "runtime/ValueHelpers.h"
#include "runtime/commands/GbkCharacters.h"

namespace vellumry::app {
namespace {

// The application's constant texts.
constexpr const auto& kText = texts::kAppStaticData;

}  // namespace

OwnedText FolderWithSeparator(const char* folder)
{
    const std::string_view text = folder ? folder : "";
    // The last character starts where the walk by characters last stopped.
    std::size_t last = text.size();
    for (std::size_t at = 0; at < text.size(); at += runtime::commands::CharacterLength(text, at))
        last = at;
    if (last + 1 == text.size() && text[last] == '\\')
        return OwnedText(runtime::MakeText(text));
    return OwnedText(runtime::ConcatTexts({folder ? folder : "", kText.kBackslash}));
}

}  // namespace vellumry::app
