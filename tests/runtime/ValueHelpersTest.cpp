#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "runtime/HeapOwner.h"
#include "runtime/RuntimeHeap.h"
#include "runtime/ValueHelpers.h"
#include "tests/support/ReportExpectations.h"

namespace {

using namespace vellumry::runtime;

TEST(TextLength, MatchesStrlenAtEveryAlignmentAndLength)
{
    std::vector<char> buffer(128, 'x');
    for (size_t offset = 0; offset < 16; ++offset) {
        for (size_t length = 0; length < 80; ++length) {
            std::fill(buffer.begin(), buffer.end(), 'x');
            buffer[offset + length] = '\0';
            ASSERT_EQ(TextLength(buffer.data() + offset), static_cast<std::int32_t>(length))
                << "offset " << offset << " length " << length;
        }
    }
}

TEST(TextLength, HighBytesAreNotTerminators)
{
    // Bytes of 0x80 and above trip naive word tests; only 0 ends a text.
    std::string gbk = "\x80\x81\xFF\xFE\xD6\xD0\x80\x80\x80\x80\x80\x80\x80\x80\x01";
    EXPECT_EQ(TextLength(gbk.c_str()), static_cast<std::int32_t>(gbk.size()));
    EXPECT_EQ(TextLength(nullptr), 0);
    EXPECT_EQ(TextLength(""), 0);
}

TEST(ConcatTexts, JoinsPiecesAndAlwaysAllocates)
{
    OwnedText joined(ConcatTexts({"ab", nullptr, "", "cde"}));
    EXPECT_STREQ(joined.get(), "abcde");

    OwnedText onlyNulls(ConcatTexts({nullptr, nullptr}));
    ASSERT_NE(onlyNulls, nullptr);
    EXPECT_STREQ(onlyNulls.get(), "");

    OwnedText none(ConcatTexts(std::span<const char* const>()));
    ASSERT_NE(none, nullptr);
    EXPECT_STREQ(none.get(), "");

    // More pieces than fit the inline length buffer.
    std::vector<const char*> many(40, "xy");
    OwnedText joinedMany(ConcatTexts(many));
    std::string expected;
    for (int i = 0; i < 40; ++i)
        expected += "xy";
    EXPECT_EQ(joinedMany.get(), expected);
}

TEST(ConcatByteSets, JoinsBytesAndGivesNullForNothing)
{
    std::uint8_t a[] = {1, 2};
    std::uint8_t b[] = {3};
    OwnedByteSet first(MakeByteSet(a));
    OwnedByteSet second(MakeByteSet(b));
    const std::uint8_t emptyConstant[8] = {1, 0, 0, 0, 0, 0, 0, 0};

    OwnedByteSet joined(ConcatByteSets({first.get(), nullptr, emptyConstant, second.get()}));
    ASSERT_NE(joined, nullptr);
    EXPECT_EQ(LoadWord(joined.get()), 1);
    EXPECT_EQ(ByteSetSize(joined.get()), 3);
    auto bytes = ByteSetBytes(joined.get());
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin(), bytes.end()), (std::vector<std::uint8_t>{1, 2, 3}));

    EXPECT_EQ(ConcatByteSets({nullptr, emptyConstant}), nullptr);
    EXPECT_EQ(ConcatByteSets(std::span<const void* const>()), nullptr);
    EXPECT_EQ(MakeByteSet({}), nullptr);  // a byte-set of length 0 is never allocated
}

std::vector<std::uint8_t> ArrayImage(std::vector<std::int32_t> dims, std::int32_t elementSize)
{
    std::int64_t count = dims.empty() ? 0 : 1;
    for (auto d : dims)
        count *= d;
    std::vector<std::uint8_t> image(4 + 4 * dims.size() + static_cast<size_t>(count * elementSize));
    StoreWord(image.data(), static_cast<std::int32_t>(dims.size()));
    for (size_t i = 0; i < dims.size(); ++i)
        StoreWord(image.data() + 4 + 4 * i, dims[i]);
    return image;
}

// A heap copy of an array image, as the runtime's own arrays are.
ArrayBlock MakeArrayCopy(const std::vector<std::uint8_t>& image)
{
    void* block = RuntimeAlloc(static_cast<std::int32_t>(image.size()));
    std::memcpy(block, image.data(), image.size());
    return block;
}

TEST(ArrayElements, CountIsTheProductOfDimensions)
{
    EXPECT_EQ(ArrayElementCount(nullptr), 0);
    auto none = ArrayImage({}, 4);
    EXPECT_EQ(ArrayElementCount(none.data()), 0);
    auto matrix = ArrayImage({3, 4}, 4);
    EXPECT_EQ(ArrayElementCount(matrix.data()), 12);
    ArrayElementsView view = ArrayElements(matrix.data());
    EXPECT_EQ(view.count, 12);
    EXPECT_EQ(view.first, matrix.data() + 12);  // after d and both sizes
    auto withZero = ArrayImage({3, 0}, 4);
    EXPECT_EQ(ArrayElementCount(withZero.data()), 0);
    EXPECT_EQ(ArrayElements(nullptr).first, nullptr);
}

TEST(ArrayElements, PointerElementsMayLieOnFourByteBoundaries)
{
    // Two dimensions put the first element at offset 12.
    auto image = ArrayImage({1, 2}, kPointerElementSize);
    ArrayElementsView view = ArrayElements(image.data());
    auto* at = static_cast<std::uint8_t*>(view.first);
    StoreElement<void*>(at, MakeText("one"));
    StoreElement<void*>(at + kPointerElementSize, nullptr);
    EXPECT_STREQ(LoadElement<char*>(at), "one");
    RuntimeFree(LoadElement<void*>(at));
}

TEST(ArrayElements, MakeArrayWritableCopiesOnlyConstants)
{
    static const std::uint8_t constant[16] = {1, 0, 0, 0, 2, 0, 0, 0, 7, 0, 0, 0, 9, 0, 0, 0};
    SetStaticDataBlock(constant, sizeof constant);
    void* array = const_cast<std::uint8_t*>(constant);
    MakeArrayWritable(&array, 4);
    ASSERT_NE(array, constant);
    EXPECT_EQ(std::memcmp(array, constant, sizeof constant), 0);
    void* heapArray = array;
    MakeArrayWritable(&array, 4);  // already writable: untouched
    EXPECT_EQ(array, heapArray);
    RuntimeFree(array);
    ClearStaticDataBlock();
}

TEST(ArrayElementsDeath, MalformedHeadersAreRefusedNotWalked)
{
    using vellumry::test::kErrorExit;
    auto errorTen = ::testing::HasSubstr("错误代码：10");
    // A product beyond 32 bits: capped, it would walk two billion pointers.
    auto huge = ArrayImage({65536, 65536}, 0);
    EXPECT_EXIT(FreePointerArray(MakeArrayCopy(huge)), ::testing::ExitedWithCode(kErrorExit), errorTen);
    EXPECT_EXIT(ArrayElementCount(huge.data()), ::testing::ExitedWithCode(kErrorExit), errorTen);
    auto negative = ArrayImage({-2}, 0);
    EXPECT_EXIT(ArrayElements(negative.data()), ::testing::ExitedWithCode(kErrorExit), errorTen);
    std::vector<std::uint8_t> tooDeep(4 + 4 * 40, 1);
    StoreWord(tooDeep.data(), 40);
    EXPECT_EXIT(ArrayElementCount(tooDeep.data()), ::testing::ExitedWithCode(kErrorExit), errorTen);

    // A constant whose count overflows: no signed overflow on the way.
    SetStaticDataBlock(huge.data(), huge.size());
    void* constant = huge.data();
    EXPECT_EXIT(MakeArrayWritable(&constant, 8), ::testing::ExitedWithCode(kErrorExit), errorTen);
    ClearStaticDataBlock();
}

TEST(ArrayElements, MakeTextArrayAndFreeItsElements)
{
    ArrayBlock array = MakeArray(3, kPointerElementSize);
    auto* first = static_cast<std::uint8_t*>(ArrayElements(array).first);
    StoreElement<void*>(first, MakeText("a"));
    StoreElement<void*>(first + 2 * kPointerElementSize, MakeText("c"));
    EXPECT_EQ(ArrayElementCount(array), 3);
    EXPECT_EQ(LoadElement<void*>(first + kPointerElementSize), nullptr);
    OwnedTextArray owner(array);  // frees the two texts and the block
}

struct CompareCase {
    const char* a;
    const char* b;
    int expected;
};

class CompareTextsTable : public ::testing::TestWithParam<CompareCase> {};

TEST_P(CompareTextsTable, ComparesUnsignedBytes)
{
    const CompareCase& c = GetParam();
    EXPECT_EQ(CompareTexts(c.a, c.b), c.expected);
    EXPECT_EQ(CompareTexts(c.b, c.a), -c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, CompareTextsTable,
                         ::testing::Values(CompareCase{nullptr, "", 0}, CompareCase{nullptr, nullptr, 0},
                                           CompareCase{nullptr, "a", -1}, CompareCase{"", "a", -1},
                                           CompareCase{"abc", "abd", -1}, CompareCase{"ab", "abc", -1},
                                           CompareCase{"\xD6\xD0", "z", 1},  // high bytes sort after ASCII
                                           CompareCase{"same", "same", 0}, CompareCase{"B", "a", -1}));

}  // namespace
