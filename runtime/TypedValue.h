#pragma once

// The 12-byte argument and result record of every command: an 8-byte payload
// followed by a DataTypeTag. Records lie back to back in argument arrays, so a
// record is only 4-byte aligned; the payload is therefore kept as two 32-bit
// words and wider values are moved in and out with memcpy.

#include <cstdint>
#include <cstring>

#include "runtime/DataTypeTag.h"

namespace vellumry::runtime {

struct TypedValue {
    std::uint32_t low = 0;   // first payload word
    std::uint32_t high = 0;  // second payload word
    DataTypeTag tag = kNoType;

    std::int32_t Int() const { return static_cast<std::int32_t>(low); }
    std::uint8_t Byte() const { return static_cast<std::uint8_t>(low); }
    std::int16_t Short() const { return static_cast<std::int16_t>(low); }
    bool Bool() const { return low != 0; }
    std::int64_t Long() const { return static_cast<std::int64_t>(Payload()); }
    float Float() const
    {
        float f;
        std::memcpy(&f, &low, sizeof f);
        return f;
    }
    double Double() const
    {
        double d;
        std::uint64_t bits = Payload();
        std::memcpy(&d, &bits, sizeof d);
        return d;
    }
    template <typename T>
    T* Pointer() const
    {
        return reinterpret_cast<T*>(static_cast<std::uintptr_t>(Payload()));
    }
    std::uint64_t Payload() const { return (static_cast<std::uint64_t>(high) << 32) | low; }

    void SetPayload(std::uint64_t bits)
    {
        low = static_cast<std::uint32_t>(bits);
        high = static_cast<std::uint32_t>(bits >> 32);
    }

    static TypedValue Of(DataTypeTag tag, std::uint64_t payload)
    {
        TypedValue v;
        v.SetPayload(payload);
        v.tag = tag;
        return v;
    }
    static TypedValue OfInt(std::int32_t value) { return Of(kIntType, static_cast<std::uint32_t>(value)); }
    static TypedValue OfBool(bool value) { return Of(kBoolType, value ? 1 : 0); }
    static TypedValue OfByte(std::uint8_t value) { return Of(kByteType, value); }
    static TypedValue OfShort(std::int16_t value)
    {
        return Of(kShortType, static_cast<std::uint16_t>(value));
    }
    static TypedValue OfLong(std::int64_t value) { return Of(kLongType, static_cast<std::uint64_t>(value)); }
    static TypedValue OfFloat(float value)
    {
        std::uint32_t bits;
        std::memcpy(&bits, &value, sizeof bits);
        return Of(kFloatType, bits);
    }
    static TypedValue OfDouble(double value, DataTypeTag tag = kDoubleType)
    {
        std::uint64_t bits;
        std::memcpy(&bits, &value, sizeof bits);
        return Of(tag, bits);
    }
    static TypedValue OfPointer(DataTypeTag tag, const void* pointer)
    {
        return Of(tag, static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(pointer)));
    }
    // A unit reference: FormId in the first word, UnitId in the second.
    static TypedValue OfUnit(DataTypeTag unitType, std::uint32_t formId, std::uint32_t unitId)
    {
        TypedValue v;
        v.low = formId;
        v.high = unitId;
        v.tag = unitType;
        return v;
    }
};

static_assert(sizeof(TypedValue) == 12, "a TypedValue is exactly 12 bytes");
static_assert(alignof(TypedValue) == 4, "TypedValue records are packed at 4-byte steps");

}  // namespace vellumry::runtime
