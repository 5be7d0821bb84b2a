#pragma once

// Describes forms and units in error reports from a loaded window template:
// a form's tag is the tag of its own window unit (the first record), a unit's
// tag is its record's tag; unit 0 names the window unit. Menu items and
// records that cannot be walked count as not found.
//
// It reads the template's unit tables, which the runtime never writes, so it
// may be asked from any thread while the form table lives.

#include <optional>
#include <string>

#include "forms/description/FormTable.h"
#include "runtime/ErrorContext.h"

namespace vellumry::forms {

class TemplateErrorContext final : public runtime::ErrorContextSource {
public:
    explicit TemplateErrorContext(const FormTable& forms) : m_forms(forms) {}

    std::optional<std::string> FormTag(std::uint32_t formId) const override;
    std::optional<std::string> UnitTag(std::uint32_t formId, std::uint32_t unitId) const override;

private:
    const FormTable& m_forms;
};

}  // namespace vellumry::forms
