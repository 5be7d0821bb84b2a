#include "forms/engine/FormEngineWiring.h"

#include <memory>

#include "forms/description/TemplateErrorContext.h"
#include "forms/engine/FormEngine.h"
#include "forms/engine/HostNotify.h"
#include "forms/engine/TemplateLoading.h"
#include "forms/engine/UnitProperties.h"
#include "runtime/ErrorContext.h"
#include "runtime/ErrorReporter.h"
#include "runtime/HostLayers.h"
#include "runtime/RuntimeTexts.h"

namespace vellumry::forms {
namespace {

void InstallTemplate(const runtime::ProgramHeader& header)
{
    InstallFormTable(LoadTemplate(header));
    // Error reports describe forms and units from the installed table.
    static std::unique_ptr<TemplateErrorContext> context;
    context = std::make_unique<TemplateErrorContext>(Forms());
    runtime::SetErrorContextSource(context.get());
}

void LoadStartForm(std::uint32_t formId)
{
    if (!FindLoadedForm(formId) || !LoadForm(formId, false, nullptr))
        runtime::ReportError(runtime::texts::kStartFormLoadFailed, 0, static_cast<std::int32_t>(formId), 0);
}

void Release()
{
    runtime::SetErrorContextSource(nullptr);
    ReleaseForms();
}

}  // namespace

void InstallFormEngine()
{
    runtime::FormEngineHooks hooks;
    hooks.installTemplate = InstallTemplate;
    hooks.hostNotify = HostNotify;
    hooks.loadStartForm = LoadStartForm;
    hooks.readUnitProperty = ReadUnitProperty;
    hooks.writeUnitProperty = WriteUnitProperty;
    hooks.readObjectProperty = ReadObjectProperty;
    hooks.writeObjectProperty = WriteObjectProperty;
    hooks.anyLiveForm = AnyLiveForm;
    hooks.idleForms = IdleForms;
    hooks.releaseForms = Release;
    hooks.releaseProgramIcons = ReleaseProgramIcons;
    runtime::SetFormEngineHooks(hooks);
}

}  // namespace vellumry::forms
