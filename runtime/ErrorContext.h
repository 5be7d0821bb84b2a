#pragma once

// What the error reporter needs to know about forms and units to describe the
// values related to an error. The form engine, which owns the loaded program
// description, provides it; without a provider every form counts as missing.

#include <cstdint>
#include <optional>
#include <string>

namespace vellumry::runtime {

class ErrorContextSource {
public:
    virtual ~ErrorContextSource() = default;
    // The tag text (GBK) of the form's own window unit; nullopt when the form
    // is not in the window template.
    virtual std::optional<std::string> FormTag(std::uint32_t formId) const = 0;
    // The tag text of a unit on the form (unitId 0: the form's window unit);
    // nullopt when there is no such unit or it is a menu item.
    virtual std::optional<std::string> UnitTag(std::uint32_t formId, std::uint32_t unitId) const = 0;
};

// Installs the provider (null removes it). The provider must outlive its use.
void SetErrorContextSource(const ErrorContextSource* source);

}  // namespace vellumry::runtime
