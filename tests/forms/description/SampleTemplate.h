#pragma once

// A small window template with every kind of field the format has: two
// forms, a custom mouse pointer, children with a page separator, tags,
// bindings with and without handlers, menu items, and a record without
// unit-specific data.

#include <cstdint>
#include <vector>

#include "forms/description/FormTable.h"
#include "forms/description/TemplateWriter.h"

namespace vellumry::test {

inline constexpr std::uintptr_t kSampleCodeBase = 0x100;
inline constexpr std::uint32_t kSampleFormId = 0x52010001;
inline constexpr std::uint32_t kSecondFormId = 0x52010002;

std::vector<forms::FormDescription> SampleForms();
std::vector<std::uint8_t> SampleTemplate();

// The sample template read back; throws when it does not read.
forms::FormTable ReadSampleTemplate();

// The forms as the reader gives them back: handlers fixed up.
std::vector<forms::FormDescription> SampleFormsAsRead();

}  // namespace vellumry::test
