#pragma once

// The window template read into a form table.
//
// The template stream, read from its start (all integers little-endian
// 32-bit words, texts GBK):
//   1. the form index: a byte length L, then L bytes: n = L / 8 FormIds
//      followed by n placeholder words; a remainder of L that is not a whole
//      pair is skipped;
//   2. per form, in index order: two words and two length-prefixed texts that
//      are kept with the form and not interpreted, then the unit table: the
//      unit count, the block's byte length and the block (UnitTable.h).
//
// Reading copies each unit table out of the stream, checks every record and
// fixes the event handlers up (EventHandlers.h). A stream that ends early, a
// length that reaches past its end, a malformed unit table or a failed
// allocation makes the whole read fail; LoadTemplate reports that as the
// fatal runtime error "载入窗口模板数据段出错!".

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "forms/Identifiers.h"
#include "forms/UnitTable.h"
#include "runtime/ProgramHeader.h"

namespace vellumry::forms {

struct TemplateForm {
    FormId formId = 0;
    std::uint32_t words[2] = {};
    std::string texts[2];
    UnitTable units;
};

class FormTable {
public:
    FormTable() = default;
    explicit FormTable(std::vector<TemplateForm> forms) : m_forms(std::move(forms)) {}

    std::span<const TemplateForm> Forms() const { return m_forms; }
    std::span<TemplateForm> Forms() { return m_forms; }

    // The form with this id, or null.
    const TemplateForm* FindForm(FormId formId) const;
    TemplateForm* FindForm(FormId formId);

private:
    std::vector<TemplateForm> m_forms;
};

// Reads a template stream without reporting: nullopt on any failure.
std::optional<FormTable> ReadTemplate(std::span<const std::uint8_t> stream, std::uintptr_t codeBase);

// Reads the program's window template (header words 3, 6 and 7); a failure is
// reported and ends the program.
FormTable LoadTemplate(const runtime::ProgramHeader& header);

}  // namespace vellumry::forms
