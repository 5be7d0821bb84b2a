#pragma once

// Reading a command's arguments and writing its result. An argument the
// caller left out arrives with tag 0, and one beyond the count the caller
// passed counts as left out; readers then give the command's default.
// Readers never trust a payload whose tag does not say what it is: a text
// reader given a number sees the empty text.

#include <cstdint>
#include <span>
#include <string_view>

#include "runtime/DataTypeTag.h"
#include "runtime/TypedValue.h"
#include "runtime/Values.h"

namespace vellumry::runtime::commands {

class Arguments {
public:
    Arguments(std::int32_t count, const TypedValue* values) : m_count(count < 0 ? 0 : count), m_values(values) {}

    std::int32_t Count() const { return m_count; }
    bool IsGiven(std::int32_t i) const { return i < m_count && m_values[i].tag != kNoType; }
    // The record, or a zero record for an argument beyond the count.
    const TypedValue& At(std::int32_t i) const;

    std::string_view Text(std::int32_t i) const;
    std::span<const std::uint8_t> Bytes(std::int32_t i) const;
    // Any value read as ToInteger reads it; `fallback` when left out.
    std::int32_t Integer(std::int32_t i, std::int32_t fallback = 0) const;
    double Number(std::int32_t i) const;
    // Nonzero is true; `fallback` when left out.
    bool Flag(std::int32_t i, bool fallback = false) const;

private:
    std::int32_t m_count;
    const TypedValue* m_values;
};

// Results. Ownership of texts, byte-sets and arrays passes to the caller.
inline void ReturnInteger(TypedValue* result, std::int32_t value)
{
    *result = TypedValue::OfInt(value);
}

inline void ReturnBool(TypedValue* result, bool value)
{
    *result = TypedValue::OfBool(value);
}

inline void ReturnDouble(TypedValue* result, double value)
{
    *result = TypedValue::OfDouble(value);
}

inline void ReturnText(TypedValue* result, TextValue text)
{
    *result = TypedValue::OfPointer(kTextType, text);
}

inline void ReturnByteSet(TypedValue* result, ByteSet bytes)
{
    *result = TypedValue::OfPointer(kByteSetType, bytes);
}

// An array result carries the tag of its element type.
inline void ReturnArray(TypedValue* result, ArrayBlock array, DataTypeTag elementType)
{
    *result = TypedValue::OfPointer(elementType, array);
}

}  // namespace vellumry::runtime::commands
