#include "app/description/ProgramDescription.h"

#include "app/AppTexts.h"
#include "app/description/DllCommandTable.h"
#include "forms/description/EventHandlers.h"
#include "forms/description/SupportLibraries.h"

// Defined by EmbeddedData.S.
extern "C" const std::uint8_t vellumry_window_template[];
extern "C" const std::uint8_t vellumry_window_template_end[];
extern "C" const std::uint8_t vellumry_program_icon[];
extern "C" const std::uint8_t vellumry_program_icon_end[];

namespace vellumry::app {

std::span<const std::uint8_t> WindowTemplateBytes()
{
    return {vellumry_window_template, vellumry_window_template_end};
}

std::span<const std::uint8_t> ProgramIconBytes()
{
    return {vellumry_program_icon, vellumry_program_icon_end};
}

const runtime::ProgramHeader& ProgramDescription()
{
    static const runtime::ProgramHeader header = [] {
        runtime::ProgramHeader h;
        h.runMode = kRunMode;
        h.reserved = 0;
        h.buildNumber = kBuildNumber;
        h.codeBase = forms::kHandlerCodeBase;
        h.staticDataStart = texts::kAppStaticDataStart();
        h.staticDataSize = static_cast<std::int32_t>(texts::kAppStaticDataSize);
        h.windowTemplateStart = WindowTemplateBytes().data();
        h.windowTemplateSize = static_cast<std::int32_t>(WindowTemplateBytes().size());
        h.libraryCount = forms::kSupportLibraryCount;
        h.libraries = forms::SupportLibraries();
        h.dllCommandCount = kDllCommandCount;
        h.dllLibraryNames = kDllLibraryNames;
        h.dllExportNames = kDllExportNames;
        return h;
    }();
    return header;
}

}  // namespace vellumry::app
