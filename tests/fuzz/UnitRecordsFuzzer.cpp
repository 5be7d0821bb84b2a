// Fuzz target: the units' stored property record loaders and the blocks
// inside them. The first byte picks the reader, the rest is the data. A
// record that loads must save and load back to the same record.

#include <cstddef>
#include <cstdint>
#include <span>

#include "units/UnitRecordTypes.h"
#include "units/listview/ImageListBlob.h"
#include "units/listview/ListViewColumns.h"
#include "units/listview/ListViewRows.h"
#include "units/statusbar/StatusBarParts.h"

using namespace vellumry::units;

namespace {

template <typename Record>
void LoadSaveLoad(std::span<const std::uint8_t> data)
{
    auto record = LoadRecord<Record>(data);
    if (!record)
        return;
    auto again = LoadRecord<Record>(SaveRecord(*record));
    if (!again || !(*again == *record))
        __builtin_trap();
}

template <typename Parse, typename Write>
void ParseWriteParse(std::span<const std::uint8_t> data, Parse parse, Write write)
{
    auto items = parse(data);
    if (!items)
        return;
    auto again = parse(write(*items));
    if (!again || *again != *items)
        __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    std::span<const std::uint8_t> rest(data + 1, size - 1);
    switch (data[0] % 11) {
    case 0: LoadSaveLoad<WindowProperties>(rest); break;
    case 1: LoadSaveLoad<ButtonProperties>(rest); break;
    case 2: LoadSaveLoad<EditBoxProperties>(rest); break;
    case 3: LoadSaveLoad<StatusBarProperties>(rest); break;
    case 4: LoadSaveLoad<PictureBoxProperties>(rest); break;
    case 5: LoadSaveLoad<ListViewProperties>(rest); break;
    case 6: LoadSaveLoad<TransLabelProperties>(rest); break;
    case 7: ParseWriteParse(rest, ParseListViewColumns, [](const auto& c) { return WriteListViewColumns(c); }); break;
    case 8: ParseWriteParse(rest, ParseListViewRows, [](const auto& r) { return WriteListViewRows(r); }); break;
    case 9: ParseWriteParse(rest, ParseStatusBarParts, [](const auto& p) { return WriteStatusBarParts(p); }); break;
    case 10: ImageListStream(rest); break;
    }
    return 0;
}
