#include "forms/engine/TemplateLoading.h"

#include "runtime/ErrorReporter.h"
#include "runtime/RuntimeTexts.h"

namespace vellumry::forms {

FormTable LoadTemplate(const runtime::ProgramHeader& header)
{
    auto table = ReadTemplate(TemplateStream(header), header.codeBase);
    if (!table)
        runtime::ReportError(runtime::texts::kTemplateLoadFailed, 0, 0, 0);
    return std::move(*table);
}

}  // namespace vellumry::forms
