#include "forms/UnitCursors.h"

#include <cstring>

#include "platform/ui/CursorsAndIcons.h"

namespace vellumry::forms {
namespace {

// Resource numbers of the public kinds 1 to 15.
constexpr std::int32_t kResources[] = {32512, 32515, 32513, 32641, 32646, 32643, 32645,
                                       32642, 32644, 32516, 32514, 32648, 32650, 32651, 32649};
constexpr std::int32_t kIconResource = 32641;
constexpr std::int32_t kArrowResource = 32512;

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
        if (kResources[i] == stored)
            return i + 1;
    return 0;
}

std::int32_t StoredPointerKind(std::int32_t publicKind)
{
    if (publicKind == kCustomPointer)
        return kCustomPointer;
    if (publicKind >= 1 && publicKind <= static_cast<std::int32_t>(std::size(kResources)))
        return kResources[publicKind - 1];
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
    std::int32_t resource = kind == kIconResource ? kArrowResource : kind;
    return LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(static_cast<std::uintptr_t>(resource)));
}

}  // namespace vellumry::forms
