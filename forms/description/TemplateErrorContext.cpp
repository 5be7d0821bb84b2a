#include "forms/description/TemplateErrorContext.h"

namespace vellumry::forms {
namespace {

std::optional<std::string> TagOf(const std::optional<UnitRecord>& unit)
{
    if (!unit)
        return std::nullopt;
    auto tag = forms::UnitTag(unit->data);
    if (!tag)
        return std::nullopt;
    return std::string(*tag);
}

}  // namespace

std::optional<std::string> TemplateErrorContext::FormTag(std::uint32_t formId) const
{
    const TemplateForm* form = m_forms.FindForm(formId);
    if (!form)
        return std::nullopt;
    // A form whose window unit cannot be described is still a found form.
    return TagOf(form->units.UnitData(0)).value_or(std::string());
}

std::optional<std::string> TemplateErrorContext::UnitTag(std::uint32_t formId, std::uint32_t unitId) const
{
    const TemplateForm* form = m_forms.FindForm(formId);
    if (!form)
        return std::nullopt;
    return TagOf(unitId == 0 ? form->units.UnitData(0) : form->units.FindUnit(unitId));
}

}  // namespace vellumry::forms
