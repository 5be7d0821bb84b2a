#include "app/StartFormCalls.h"

#include <vector>

#include "app/description/ProgramDescription.h"
#include "runtime/RuntimeInterface.h"

namespace vellumry::app {
namespace {

std::uint64_t Read(forms::UnitId unit, std::int32_t property)
{
    return runtime::GetRuntimeInterface().readUnitProperty(kStartFormId, unit, property, 0);
}

void Write(forms::UnitId unit, std::int32_t property, std::uint64_t bits)
{
    runtime::GetRuntimeInterface().writeUnitProperty(kStartFormId, unit, property, 0, static_cast<std::uint32_t>(bits),
                                                     static_cast<std::uint32_t>(bits >> 32));
}

}  // namespace

OwnedText ReadTextProperty(forms::UnitId unit, std::int32_t property)
{
    return OwnedText(reinterpret_cast<char*>(static_cast<std::uintptr_t>(Read(unit, property))));
}

OwnedByteSet ReadByteSetProperty(forms::UnitId unit, std::int32_t property)
{
    return OwnedByteSet(reinterpret_cast<std::uint8_t*>(static_cast<std::uintptr_t>(Read(unit, property))));
}

void WriteTextProperty(forms::UnitId unit, std::int32_t property, const char* text)
{
    Write(unit, property, static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(OrEmpty(text))));
}

bool ReadBoolProperty(forms::UnitId unit, std::int32_t property)
{
    return static_cast<std::uint32_t>(Read(unit, property)) != 0;
}

void WriteBoolProperty(forms::UnitId unit, std::int32_t property, bool value)
{
    Write(unit, property, value ? 1 : 0);
}

runtime::TypedValue CallUnitCommand(runtime::ExtendedUiCommand command, runtime::DataTypeTag unitType,
                                    forms::UnitId unit, std::initializer_list<runtime::TypedValue> arguments)
{
    std::vector<runtime::TypedValue> all;
    all.reserve(arguments.size() + 1);
    all.push_back(runtime::TypedValue::OfUnit(unitType, kStartFormId, unit));
    all.insert(all.end(), arguments.begin(), arguments.end());
    return runtime::GetRuntimeInterface().callLibraryCommand(runtime::ExtendedUiCommandSlot(command),
                                                             static_cast<std::int32_t>(all.size()), all.data());
}

}  // namespace vellumry::app
