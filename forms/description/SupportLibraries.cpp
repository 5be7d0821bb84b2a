#include "forms/description/SupportLibraries.h"

#include <array>
#include <cstddef>
#include <span>

#include "forms/description/LibraryTexts.h"
#include "forms/description/PropertyKinds.h"
#include "runtime/base/CommandTables.h"

namespace vellumry::forms {
namespace {

using runtime::DataTypeRecord;
using runtime::LibraryRecord;
using runtime::PropertyRecord;

template <std::size_t N>
constexpr std::array<PropertyRecord, kCommonPropertyCount + N> PropertyTable(const std::int16_t (&own)[N])
{
    constexpr std::int16_t kCommonKinds[kCommonPropertyCount] = {
        kPlacementKind, kPlacementKind, kPlacementKind, kPlacementKind,  // left, top, width, height
        kTextKind,                                                       // tag
        kBooleanKind,   kBooleanKind,                                    // visible, disabled
        kMousePointerKind,                                               // mouse pointer
    };
    std::array<PropertyRecord, kCommonPropertyCount + N> table{};
    for (int i = 0; i < kCommonPropertyCount; ++i) {
        table[i].kind = kCommonKinds[i];
        table[i].stateFlags = kCommonPropertyState;
    }
    for (std::size_t i = 0; i < N; ++i)
        table[kCommonPropertyCount + i].kind = own[i];
    return table;
}

// Each unit's own properties in the unit's numbering.
constexpr std::int16_t kWindowKinds[] = {
    kTextKind,      kPickListKind, kIntegerKind,  kPictureKind,  kPickListKind, kSoundKind,    // 0-5
    kPickListKind,  kBooleanKind,  kBooleanKind,  kBooleanKind,  kPickListKind, kBooleanKind,  // 6-11
    kPictureKind,   kBooleanKind,  kBooleanKind,  kBooleanKind,  kTextKind,     kIntegerKind,  // 12-17
    kBooleanKind,   kBooleanKind,  kPickListKind, kBooleanKind,  kBooleanKind,  kTextKind,     // 18-23
};
constexpr std::int16_t kEditBoxKinds[] = {
    kTextKind,     kPickListKind, kIntegerKind,  kIntegerKind,  kFontKind,     kBooleanKind,   // 0-5
    kIntegerKind,  kBooleanKind,  kPickListKind, kPickListKind, kPickListKind, kTextKind,      // 6-11
    kPickListKind, kPickListKind, kIntegerKind,  kIntegerKind,  kIntegerKind,  kIntegerKind,   // 12-17
    kTextKind,     kTextKind,     kTextKind,                                                   // 18-20
};
constexpr std::int16_t kPicBoxKinds[] = {
    kPickListKind, kIntegerKind, kPictureKind, kPickListKind, kBooleanKind, kTextKind, kTextKind,
};
constexpr std::int16_t kButtonKinds[] = {
    kPictureKind, kBooleanKind, kTextKind, kPickListKind, kPickListKind, kFontKind,
};
constexpr std::int16_t kStatusBarKinds[] = {
    kIntegerKind, kPickListKind, kBooleanKind, kFontKind, kByteDataKind, kByteDataKind,
};
constexpr std::int16_t kListViewKinds[] = {
    kPickListKind, kIntegerKind,  kIntegerKind,  kIntegerKind,  kFontKind,     kPickListKind,  // 0-5
    kPickListKind, kBooleanKind,  kBooleanKind,  kByteDataKind, kBooleanKind,  kByteDataKind,  // 6-11
    kBooleanKind,  kBooleanKind,  kBooleanKind,  kBooleanKind,  kByteDataKind, kByteDataKind,  // 12-17
    kBooleanKind,  kBooleanKind,  kBooleanKind,  kBooleanKind,  kBooleanKind,  kPickListKind,  // 18-23
    kBooleanKind,  kBooleanKind,  kBooleanKind,  kIntegerKind,  kBooleanKind,  kByteDataKind,  // 24-29
    kTextKind,                                                                                 // 30
};
constexpr std::int16_t kTransLabelKinds[] = {
    kTextKind, kPickListKind, kFontKind, kIntegerKind, kPickListKind, kBooleanKind, kPickListKind,
};

constexpr auto kWindowProperties = PropertyTable(kWindowKinds);
constexpr auto kEditBoxProperties = PropertyTable(kEditBoxKinds);
constexpr auto kPicBoxProperties = PropertyTable(kPicBoxKinds);
constexpr auto kButtonProperties = PropertyTable(kButtonKinds);
constexpr auto kStatusBarProperties = PropertyTable(kStatusBarKinds);
constexpr auto kListViewProperties = PropertyTable(kListViewKinds);
constexpr auto kTransLabelProperties = PropertyTable(kTransLabelKinds);

static_assert(kWindowProperties.size() == 32 && kEditBoxProperties.size() == 29 && kPicBoxProperties.size() == 15 &&
              kButtonProperties.size() == 14 && kStatusBarProperties.size() == 14 &&
              kListViewProperties.size() == 39 && kTransLabelProperties.size() == 15);

constexpr DataTypeRecord DataType(const char* displayName, const char* programmingName, std::uint32_t stateFlags,
                                  std::span<const PropertyRecord> properties = {})
{
    DataTypeRecord type{};
    type.displayName = displayName;
    type.programmingName = programmingName;
    type.stateFlags = stateFlags;
    type.propertyCount = static_cast<std::int32_t>(properties.size());
    type.properties = properties.empty() ? nullptr : properties.data();
    return type;
}

constexpr std::array<DataTypeRecord, kCoreDataTypeCount> CoreTypes()
{
    std::array<DataTypeRecord, kCoreDataTypeCount> types{};
    types[1 - 1] = DataType(texts::kWindowTypeName, "window", 0x800000D0, kWindowProperties);
    types[5 - 1] = DataType(texts::kEditBoxTypeName, "EditBox", 0x80000040, kEditBoxProperties);
    types[6 - 1] = DataType(texts::kPicBoxTypeName, "PicBox", 0x840100C0, kPicBoxProperties);
    types[11 - 1] = DataType(texts::kButtonTypeName, "Button", 0x80000840, kButtonProperties);
    types[48 - 1] = DataType(texts::kComObjectTypeName, "ComObject", 0x80000000);
    types[49 - 1] = DataType(texts::kVariantTypeName, "Variant", 0x80000000);
    return types;
}

constexpr std::array<DataTypeRecord, kExtendedUiDataTypeCount> ExtendedUiTypes()
{
    std::array<DataTypeRecord, kExtendedUiDataTypeCount> types{};
    types[2 - 1] = DataType(texts::kStatusBarTypeName, "StatusBar", 0x00110040, kStatusBarProperties);
    types[4 - 1] = DataType(texts::kListViewTypeName, "ListView", 0x00000040, kListViewProperties);
    types[5 - 1] = DataType(texts::kTransLabelTypeName, "TransLabel", 0x00012040, kTransLabelProperties);
    return types;
}

// Writable: the interface routines are filled in at start-up.
constinit std::array<DataTypeRecord, kCoreDataTypeCount> g_coreTypes = CoreTypes();
constinit std::array<DataTypeRecord, kExtendedUiDataTypeCount> g_extendedUiTypes = ExtendedUiTypes();

LibraryRecord Library(const char* identifier, const char* displayName, std::span<DataTypeRecord> types,
                      std::span<runtime::LibraryCommand> commands)
{
    LibraryRecord library;
    library.identifier = identifier;
    library.majorVersion = 1;
    library.minorVersion = 0;
    library.build = 1;
    library.requiredRuntimeMajor = 1;
    library.requiredRuntimeMinor = 0;
    library.requiredCoreMajor = 1;
    library.requiredCoreMinor = 0;
    library.displayName = displayName;
    library.dataTypeCount = static_cast<std::int32_t>(types.size());
    library.dataTypes = types.empty() ? nullptr : types.data();
    library.commandCount = static_cast<std::int32_t>(commands.size());
    library.commands = commands.empty() ? nullptr : commands.data();
    return library;
}

struct LibraryTable {
    LibraryRecord records[kSupportLibraryCount];
    const LibraryRecord* pointers[kSupportLibraryCount];
};

LibraryTable& Libraries()
{
    static LibraryTable table = [] {
        LibraryTable t{{
            Library("8E3F0A52C1D94B7AA0F6D2B4E19C7035", texts::kCoreLibraryName, g_coreTypes,
                    runtime::CoreCommandSlots()),
            Library("2B7D94E1F0A64C58B3E2C9D07F15A6E4", texts::kExtendedUiLibraryName, g_extendedUiTypes,
                    runtime::ExtendedUiCommandSlots()),
            Library("C05A1E7B94D2463F8B9E0A7D2C6F41B3", texts::kSpecialFunctionLibraryName, {}, {}),
        }, {}};
        for (int i = 0; i < kSupportLibraryCount; ++i)
            t.pointers[i] = &t.records[i];
        return t;
    }();
    return table;
}

DataTypeRecord* TypeRecord(runtime::DataTypeTag tag)
{
    if (runtime::ClassOf(tag) != runtime::TagClass::Library)
        return nullptr;
    std::span<DataTypeRecord> types;
    switch (runtime::LibraryNumberOf(tag)) {
    case 1: types = g_coreTypes; break;
    case 2: types = g_extendedUiTypes; break;
    default: return nullptr;
    }
    std::size_t number = runtime::TypeNumberOf(tag);
    if (number < 1 || number > types.size() || types[number - 1].programmingName == nullptr)
        return nullptr;
    return &types[number - 1];
}

}  // namespace

const runtime::LibraryRecord* const* SupportLibraries()
{
    return Libraries().pointers;
}

const runtime::DataTypeRecord* FindDataType(runtime::DataTypeTag tag)
{
    return TypeRecord(tag);
}

runtime::DataTypeTag FindDataTypeByName(std::string_view programmingName)
{
    auto search = [&](std::uint16_t library, std::span<const DataTypeRecord> types) -> runtime::DataTypeTag {
        for (std::size_t i = 0; i < types.size(); ++i)
            if (types[i].programmingName && programmingName == types[i].programmingName)
                return runtime::LibraryTag(library, static_cast<std::uint16_t>(i + 1));
        return 0;
    };
    runtime::DataTypeTag tag = search(1, g_coreTypes);
    return tag ? tag : search(2, g_extendedUiTypes);
}

bool SetUnitInterface(runtime::DataTypeTag tag, runtime::UnitInterfaceRoutine routine)
{
    DataTypeRecord* type = TypeRecord(tag);
    if (!type)
        return false;
    type->interfaceRoutine = routine;
    return true;
}

bool SetLibraryNotify(std::int32_t libraryNumber, runtime::LibraryNotifyRoutine routine)
{
    if (libraryNumber < 1 || libraryNumber > kSupportLibraryCount)
        return false;
    Libraries().records[libraryNumber - 1].notify = routine;
    return true;
}

}  // namespace vellumry::forms
