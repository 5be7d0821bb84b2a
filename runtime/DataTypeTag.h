#pragma once

// The 32-bit type identifier of a value and the by-reference flag.

#include <cstdint>

namespace vellumry::runtime {

using DataTypeTag = std::uint32_t;

inline constexpr DataTypeTag kNoType = 0;

// System data types.
inline constexpr DataTypeTag kByteType = 0x80000101;
inline constexpr DataTypeTag kShortType = 0x80000201;
inline constexpr DataTypeTag kIntType = 0x80000301;
inline constexpr DataTypeTag kLongType = 0x80000401;
inline constexpr DataTypeTag kFloatType = 0x80000501;
inline constexpr DataTypeTag kDoubleType = 0x80000601;
inline constexpr DataTypeTag kBoolType = 0x80000002;
inline constexpr DataTypeTag kDateTimeType = 0x80000003;
inline constexpr DataTypeTag kTextType = 0x80000004;
inline constexpr DataTypeTag kByteSetType = 0x80000005;
inline constexpr DataTypeTag kSubroutineType = 0x80000006;
inline constexpr DataTypeTag kTwoWordType = 0x80000008;

// Library data types of the core library (1) and the extended-UI library (2).
inline constexpr DataTypeTag kWindowType = 0x00010001;
inline constexpr DataTypeTag kMenuItemType = 0x00010003;
inline constexpr DataTypeTag kEditBoxType = 0x00010005;
inline constexpr DataTypeTag kPicBoxType = 0x00010006;
inline constexpr DataTypeTag kButtonType = 0x0001000B;
inline constexpr DataTypeTag kComObjectType = 0x00010030;
inline constexpr DataTypeTag kVariantType = 0x00010031;
inline constexpr DataTypeTag kStatusBarType = 0x00020002;
inline constexpr DataTypeTag kListViewType = 0x00020004;
inline constexpr DataTypeTag kTransLabelType = 0x00020005;

// Added to a tag in an argument: the payload holds the variable's address.
inline constexpr DataTypeTag kByReference = 0x20000000;

enum class TagClass { None, System, UserDefined, Library };

constexpr TagClass ClassOf(DataTypeTag tag)
{
    if (tag == 0)
        return TagClass::None;
    if (tag >= 0x80000000u && tag <= 0xBFFFFFFFu)
        return TagClass::System;
    if (tag >= 0x40000000u && tag <= 0x7FFFFFFFu)
        return TagClass::UserDefined;
    return TagClass::Library;
}

// The by-reference flag is only ever added to a plain argument tag; a system
// tag keeps bit 31 set, a library tag is below 0x20000000 before the flag.
constexpr bool IsByReference(DataTypeTag tag)
{
    return (tag & kByReference) != 0 && ClassOf(tag & ~kByReference) != TagClass::UserDefined;
}

constexpr DataTypeTag WithoutReference(DataTypeTag tag)
{
    return IsByReference(tag) ? tag & ~kByReference : tag;
}

constexpr DataTypeTag ByReference(DataTypeTag tag)
{
    return tag | kByReference;
}

// Added with kByReference to the element type (a system type) of an argument
// that passes an array variable: the payload is the address of the variable,
// which holds an ArrayBlock. A by-reference argument without it names a
// variable of the type itself, never an array.
inline constexpr DataTypeTag kArrayFlag = 0x10000000;

constexpr DataTypeTag ArrayReference(DataTypeTag elementType)
{
    return elementType | kArrayFlag | kByReference;
}

constexpr bool IsArrayReference(DataTypeTag tag)
{
    constexpr DataTypeTag kBoth = kArrayFlag | kByReference;
    return (tag & kBoth) == kBoth && ClassOf(tag) == TagClass::System;
}

// The element type of an array reference.
constexpr DataTypeTag ElementTypeOf(DataTypeTag tag)
{
    return tag & ~(kArrayFlag | kByReference);
}

// For a library tag: library number (high half) and type number (low half),
// both counted from 1.
constexpr std::uint16_t LibraryNumberOf(DataTypeTag tag)
{
    return static_cast<std::uint16_t>(tag >> 16);
}

constexpr std::uint16_t TypeNumberOf(DataTypeTag tag)
{
    return static_cast<std::uint16_t>(tag & 0xFFFF);
}

constexpr DataTypeTag LibraryTag(std::uint16_t library, std::uint16_t type)
{
    return (static_cast<DataTypeTag>(library) << 16) | type;
}

}  // namespace vellumry::runtime
