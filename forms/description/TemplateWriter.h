#pragma once

// Writing a window template: the inverse of ReadTemplate (FormTable.h), used
// by the form builder. Handlers are written as given, that is as stored
// offsets (kStoredNoHandler for none); reserved words are written as 0.
// Throws std::length_error when a length does not fit the format's 32-bit
// words.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "forms/description/Identifiers.h"
#include "forms/description/UnitRecord.h"

namespace vellumry::forms {

struct FormDescription {
    FormId formId = 0;
    std::uint32_t words[2] = {};
    std::string texts[2];
    // In stored order; the first is the form's own window unit.
    std::vector<UnitRecordFields> units;
};

// One record's data (without its length word).
std::vector<std::uint8_t> WriteUnitRecord(const UnitRecordFields& unit);
// The same with `specific` as the unit-specific data instead of the fields'
// own, written straight into the record.
std::vector<std::uint8_t> WriteUnitRecord(const UnitRecordFields& unit, std::span<const std::uint8_t> specific);

std::vector<std::uint8_t> WriteTemplate(std::span<const FormDescription> forms);

}  // namespace vellumry::forms
