#include "forms/description/FormTable.h"

#include <algorithm>
#include <new>
#include <utility>

#include "runtime/ByteReader.h"

namespace vellumry::forms {
namespace {

using runtime::ByteReader;

// The two words, two text lengths, the unit count and the block length.
constexpr std::size_t kSmallestForm = 24;

bool ReadText(ByteReader& reader, std::string& text)
{
    std::span<const std::uint8_t> bytes;
    if (!reader.ReadLengthPrefixed(bytes))
        return false;
    text.assign(runtime::AsText(bytes));
    return true;
}

bool ReadForm(ByteReader& reader, std::uintptr_t codeBase, TemplateForm& form)
{
    std::int32_t unitCount = 0;
    std::span<const std::uint8_t> block;
    if (!reader.ReadU32(form.words[0]) || !reader.ReadU32(form.words[1]) || !ReadText(reader, form.texts[0]) ||
        !ReadText(reader, form.texts[1]) || !reader.ReadI32(unitCount) || !reader.ReadLengthPrefixed(block))
        return false;
    auto units = UnitTable::FromTemplate(unitCount, block, codeBase);
    if (!units)
        return false;
    form.units = std::move(*units);
    return true;
}

std::optional<FormTable> Read(std::span<const std::uint8_t> stream, std::uintptr_t codeBase)
{
    ByteReader reader(stream);
    std::span<const std::uint8_t> index;
    if (!reader.ReadLengthPrefixed(index))
        return std::nullopt;
    std::size_t formCount = index.size() / 8;
    ByteReader ids(index);
    std::vector<TemplateForm> forms;
    // Every form takes at least kSmallestForm bytes of what is left.
    forms.reserve(std::min(formCount, reader.Remaining() / kSmallestForm));
    for (std::size_t i = 0; i < formCount; ++i) {
        TemplateForm form;
        ids.ReadU32(form.formId);  // inside the index, checked above
        if (!ReadForm(reader, codeBase, form))
            return std::nullopt;
        forms.push_back(std::move(form));
    }
    return FormTable(std::move(forms));
}

}  // namespace

const TemplateForm* FormTable::FindForm(FormId formId) const
{
    for (const TemplateForm& form : m_forms)
        if (form.formId == formId)
            return &form;
    return nullptr;
}

TemplateForm* FormTable::FindForm(FormId formId)
{
    return const_cast<TemplateForm*>(std::as_const(*this).FindForm(formId));
}

std::optional<FormTable> ReadTemplate(std::span<const std::uint8_t> stream, std::uintptr_t codeBase)
{
    try {
        return Read(stream, codeBase);
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
}

std::span<const std::uint8_t> TemplateStream(const runtime::ProgramHeader& header)
{
    if (!header.windowTemplateStart || header.windowTemplateSize <= 0)
        return {};
    return {header.windowTemplateStart, static_cast<std::size_t>(header.windowTemplateSize)};
}

}  // namespace vellumry::forms
