#include "forms/engine/UnitCursors.h"

#include <cstring>

#include "platform/ui/CursorsAndIcons.h"

namespace vellumry::forms {
namespace {

// The system cursors of the public kinds 1 to 15.
constexpr IntResource kResources[] = {IDC_ARROW,   IDC_CROSS,    IDC_IBEAM,  IDC_ICON, IDC_SIZEALL,
                                      IDC_SIZENESW, IDC_SIZENS,  IDC_SIZENWSE, IDC_SIZEWE, IDC_UPARROW,
                                      IDC_WAIT,     IDC_NO,      IDC_APPSTARTING, IDC_HELP, IDC_HAND};

std::int32_t ReadKind(std::span<const std::uint8_t> data)
{
    std::int32_t kind;
    std::memcpy(&kind, data.data(), sizeof kind);
    return kind;
}

void WriteKind(std::vector<std::uint8_t>& data, std::int32_t kind)
{
    std::memcpy(data.data(), &kind, sizeof kind);
}

}  // namespace

std::int32_t PublicPointerKind(std::int32_t stored)
{
    if (stored == kCustomPointer)
        return kCustomPointer;
    for (std::int32_t i = 0; i < static_cast<std::int32_t>(std::size(kResources)); ++i)
        if (kResources[i].id == stored)
            return i + 1;
    return 0;
}

std::int32_t StoredPointerKind(std::int32_t publicKind)
{
    if (publicKind == kCustomPointer)
        return kCustomPointer;
    if (publicKind >= 1 && publicKind <= static_cast<std::int32_t>(std::size(kResources)))
        return kResources[publicKind - 1].id;
    return 0;
}

void ToPublicPointerData(std::vector<std::uint8_t>& data)
{
    if (data.size() >= 4)
        WriteKind(data, PublicPointerKind(ReadKind(data)));
}

void ToStoredPointerData(std::vector<std::uint8_t>& data)
{
    if (data.size() >= 4)
        WriteKind(data, StoredPointerKind(ReadKind(data)));
}

HCURSOR CursorFromPointerData(std::span<const std::uint8_t> data)
{
    if (data.size() < 4)
        return nullptr;
    std::int32_t kind = ReadKind(data);
    if (kind == kCustomPointer)
        return ui::CreateCursorFromFileData(data.subspan(4));
    if (kind == 0)
        return nullptr;
    // The icon cursor is obsolete; the system shows the arrow for it.
    std::int32_t resource = kind == IDC_ICON.id ? IDC_ARROW.id : kind;
    if (resource < 0 || resource > 0xFFFF)
        return nullptr;  // names no resource
    return LoadCursorA(nullptr, IntResource{static_cast<WORD>(resource)});
}

}  // namespace vellumry::forms
