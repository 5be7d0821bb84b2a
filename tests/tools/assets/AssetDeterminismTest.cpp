// Running the generator again gives byte for byte the assets of the build.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "tests/tools/assets/AssetBytes.h"

namespace {

using namespace vellumry::test;

struct AssetCase {
    const char* kind;
    const char* file;
};

class AssetGenerator : public ::testing::TestWithParam<AssetCase> {};

TEST_P(AssetGenerator, SecondRunGivesTheSameBytes)
{
    const AssetCase& c = GetParam();
    ScopedTempDir folder;
    const std::string output = folder.File(c.file);
    const std::string command =
        std::string("'") + VELLUMRY_ASSETGEN + "' " + c.kind + " '" + output + "'";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;

    const std::string again = ReadHostFile(output);
    const std::string built = ReadAsset(c.file);
    ASSERT_FALSE(built.empty());
    ASSERT_EQ(again.size(), built.size());
    const auto [left, right] = std::mismatch(again.begin(), again.end(), built.begin());
    EXPECT_TRUE(left == again.end()) << "first difference at byte " << (left - again.begin());
}

INSTANTIATE_TEST_SUITE_P(Assets, AssetGenerator,
                         ::testing::Values(AssetCase{"background", "background.jpg"},
                                           AssetCase{"picture", "picture.jpg"}, AssetCase{"icon", "vellumry.ico"},
                                           AssetCase{"music", "music.wav"}),
                         [](const auto& info) { return std::string(info.param.kind); });

TEST(AssetGenerator, RejectsAnUnknownAsset)
{
    ScopedTempDir folder;
    const std::string command = std::string("'") + VELLUMRY_ASSETGEN + "' tune '" + folder.File("x") + "' 2>/dev/null";
    EXPECT_NE(std::system(command.c_str()), 0);
    EXPECT_TRUE(ReadHostFile(folder.File("x")).empty());
}

}  // namespace
