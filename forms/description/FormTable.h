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
// Reading takes each unit table from the stream (sharing the stream's pages
// where it can, UnitTable.h), checks every record and fixes the event
// handlers up (EventHandlers.h). A stream that ends early, a length that
// reaches past its end, a malformed unit table or a failed allocation makes
// the whole read fail; the form engine reports that as a runtime error
// (forms/engine/TemplateLoading.h).

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "forms/description/Identifiers.h"
#include "forms/description/UnitTable.h"
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

// Reads a template stream: nullopt on any failure.
std::optional<FormTable> ReadTemplate(std::span<const std::uint8_t> stream, std::uintptr_t codeBase);

// The template stream of a program header (words 6 and 7); empty when the
// header gives none.
std::span<const std::uint8_t> TemplateStream(const runtime::ProgramHeader& header);

}  // namespace vellumry::forms
