// The batch mode's command line.

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "app/BatchOptions.h"

namespace {

using vellumry::app::BatchCommand;
using vellumry::app::ParseBatchCommand;

using Arguments = std::vector<std::string_view>;

TEST(BatchOptions, AFullCommandLineGivesEveryValueAsTyped)
{
    BatchCommand command = ParseBatchCommand({"--batch", "--address", "http://127.0.0.1:8808/tu/1.shtml", "--from",
                                              "1", "--to=3", "--folder", "/tmp/图片", "--picture-host",
                                              "http://127.0.0.1:9000"});
    ASSERT_EQ(command.kind, BatchCommand::Kind::Run) << command.error;
    EXPECT_EQ(command.options.address, "http://127.0.0.1:8808/tu/1.shtml");
    EXPECT_EQ(command.options.fromPage, "1");
    EXPECT_EQ(command.options.toPage, "3");
    EXPECT_EQ(command.options.folder, "/tmp/图片");
    EXPECT_EQ(command.options.pictureHost, "http://127.0.0.1:9000");

    BatchCommand plain = ParseBatchCommand({"--folder=d", "--to", "2", "--from", "2", "--address=https://g/1.shtml",
                                            "--batch"});
    ASSERT_EQ(plain.kind, BatchCommand::Kind::Run) << plain.error;
    EXPECT_EQ(plain.options.pictureHost, "");  // left to the settings
}

TEST(BatchOptions, HelpWinsOverEverythingElse)
{
    EXPECT_EQ(ParseBatchCommand({"--batch", "--help"}).kind, BatchCommand::Kind::Help);
    EXPECT_EQ(ParseBatchCommand({"--batch", "--bogus", "--help"}).kind, BatchCommand::Kind::Error);  // read in order
    EXPECT_NE(std::string(vellumry::app::kBatchUsage).find("--picture-host"), std::string::npos);
}

TEST(BatchOptions, EachBadCommandLineSaysWhatIsWrong)
{
    const std::vector<std::pair<Arguments, std::string>> cases = {
        {{"--address", "http://a/1.shtml", "--from", "1", "--to", "2", "--folder", "d"}, "--batch is missing"},
        {{"--batch", "--from", "1", "--to", "2", "--folder", "d"}, "--address is missing"},
        {{"--batch", "--address", "http://a", "--to", "2", "--folder", "d"}, "--from is missing"},
        {{"--batch", "--address", "http://a", "--from", "1", "--folder", "d"}, "--to is missing"},
        {{"--batch", "--address", "http://a", "--from", "1", "--to", "2"}, "--folder is missing"},
        {{"--batch", "--address", "ftp://a", "--from", "1", "--to", "2", "--folder", "d"},
         "--address must be an http:// or https:// address: ftp://a"},
        {{"--batch", "--address", "http://a", "--from", "one", "--to", "2", "--folder", "d"},
         "--from must be a page number: one"},
        {{"--batch", "--address", "http://a", "--from", "1", "--to", "-2", "--folder", "d"},
         "--to must be a page number: -2"},
        {{"--batch", "--address", "http://a", "--from", "1", "--to", "99999999999", "--folder", "d"},
         "--to must be a page number: 99999999999"},
        {{"--batch", "--address", "http://a", "--from", "1", "--to", "2", "--folder="}, "--folder must name a folder"},
        {{"--batch", "--address", "http://a", "--from", "1", "--to", "2", "--folder", "d", "--picture-host", "x"},
         "--picture-host must be an http:// or https:// address: x"},
        {{"--batch", "--address", "http://a", "--address", "http://b"}, "--address is given twice"},
        {{"--batch", "--batch"}, "--batch is given twice"},
        {{"--batch", "--from"}, "--from needs a value"},
        {{"--batch", "--speed", "9"}, "unknown option --speed"},
    };
    for (const auto& [arguments, error] : cases) {
        BatchCommand command = ParseBatchCommand(arguments);
        EXPECT_EQ(command.kind, BatchCommand::Kind::Error) << error;
        EXPECT_EQ(command.error, error);
    }
}

TEST(BatchOptions, TheBatchModeIsAskedForByItsOption)
{
    EXPECT_TRUE(vellumry::app::WantsBatch({"--from", "1", "--batch"}));
    EXPECT_FALSE(vellumry::app::WantsBatch({"--inspect"}));
    EXPECT_FALSE(vellumry::app::WantsBatch({}));
}

}  // namespace
