#include <gtest/gtest.h>

#include <vector>

#include "tests/support/GbkText.h"
#include "units/listview/ImageListBlob.h"
#include "units/listview/ListViewColumns.h"
#include "units/listview/ListViewRows.h"

namespace {

using namespace vellumry::units;
// Bytes these tests build and look into; records hold theirs as units::Bytes.
using Bytes = std::vector<std::uint8_t>;
using vellumry::test::Gbk;

std::vector<ListViewColumn> StartFormColumns()
{
    return {{0, -1, 0, 100, Gbk("序号")}, {0, -1, 0, 500, Gbk("图片下载地址")}, {0, -1, 0, 150, Gbk("下载状态")}};
}

TEST(ListViewColumns, StartFormColumnsTake66Bytes)
{
    Bytes block = WriteListViewColumns(StartFormColumns());
    ASSERT_EQ(block.size(), 66u);
    // First record: flag byte, image -1, alignment 0, width 100, "序号" and its zero.
    Bytes first = {0, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 100, 0, 0, 0, 0xD0, 0xF2, 0xBA, 0xC5, 0};
    EXPECT_EQ(Bytes(block.begin(), block.begin() + 18), first);
    auto parsed = ParseListViewColumns(block);
    ASSERT_TRUE(parsed.has_value());
    EXPECT_EQ(*parsed, StartFormColumns());
}

TEST(ListViewColumns, EveryFieldSurvivesARoundTrip)
{
    std::vector<ListViewColumn> columns = {{1, 3, 2, -1, "right"}, {0, -1, 1, 0, ""}};
    auto parsed = ParseListViewColumns(WriteListViewColumns(columns));
    ASSERT_TRUE(parsed.has_value());
    EXPECT_EQ(*parsed, columns);
    EXPECT_EQ(ParseListViewColumns({})->size(), 0u);
}

TEST(ListViewColumns, BlockEndingInsideARecordFails)
{
    Bytes block = WriteListViewColumns(StartFormColumns());
    for (std::size_t length = 1; length < block.size(); ++length) {
        bool boundary = length == 18 || length == 44;
        EXPECT_EQ(ParseListViewColumns(std::span(block).first(length)).has_value(), boundary) << "length " << length;
    }
}

TEST(ListViewRows, RowsAndCellsRoundTrip)
{
    std::vector<ListViewRowRecord> rows = {
        {0, 2, 0, 1, 42, Gbk("第一行"), Gbk("提示")},
        {1, -1, -1, 0, 0, "cell", ""},
        {0, -1, 1, 0, -7, "", ""},
    };
    Bytes block = WriteListViewRows(rows);
    EXPECT_EQ(block.size(), 3 * 17 + Gbk("第一行").size() + Gbk("提示").size() + 4 + 6);
    auto parsed = ParseListViewRows(block);
    ASSERT_TRUE(parsed.has_value());
    EXPECT_EQ(*parsed, rows);
    block.pop_back();  // the last tip loses its zero byte
    EXPECT_FALSE(ParseListViewRows(block).has_value());
}

struct BlobCase {
    const char* name;
    Bytes blob;
    bool isImageList;
    std::size_t streamSize;
};

void PrintTo(const BlobCase& blob, std::ostream* out)
{
    *out << blob.name;
}

class ImageListBlobRecognition : public ::testing::TestWithParam<BlobCase> {};

TEST_P(ImageListBlobRecognition, MagicAndLengthDecide)
{
    const BlobCase& c = GetParam();
    EXPECT_EQ(IsImageListBlob(c.blob), c.isImageList);
    EXPECT_EQ(ImageListStream(c.blob).size(), c.streamSize);
}

INSTANTIATE_TEST_SUITE_P(
    Blobs, ImageListBlobRecognition,
    ::testing::Values(BlobCase{"Nine", {'M', 'I', 'T', 'L', 1, 2, 3, 4, 'I'}, true, 1},
                      BlobCase{"WithStream", {'M', 'I', 'T', 'L', 0, 0, 0, 0, 'I', 'L', 1, 1}, true, 4},
                      BlobCase{"OnlyTheHead", {'M', 'I', 'T', 'L', 0, 0, 0, 0}, false, 0},
                      BlobCase{"Empty", {}, false, 0},
                      BlobCase{"OtherMagic", {'M', 'I', 'T', 'X', 0, 0, 0, 0, 1, 2}, false, 0},
                      BlobCase{"LowerCase", {'m', 'i', 't', 'l', 0, 0, 0, 0, 1, 2}, false, 0}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
