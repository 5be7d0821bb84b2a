#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>

#include "app/description/ProgramDescription.h"
#include "app/forms/HandlerNames.h"
#include "tools/listing/ProgramListing.h"

namespace {

using namespace vellumry;
using ::testing::HasSubstr;

std::string Inspect(const runtime::ProgramHeader& header, bool expectRead = true)
{
    std::ostringstream out;
    EXPECT_EQ(listing::ListProgram(header, app::kHandlerNames, out), expectRead);
    return out.str();
}

TEST(ProgramListing, PrintsHeaderLibrariesAndDllCommands)
{
    std::string text = Inspect(app::ProgramDescription());
    EXPECT_THAT(text, HasSubstr("Program header\n  run mode: 3\n  reserved: 0\n  build number: 105166\n"
                                "  code base: 1\n"));
    EXPECT_THAT(text, HasSubstr("  support libraries: 3\n  DLL commands: 20\n"));
    EXPECT_THAT(text, HasSubstr("    51 data type positions (6 used), 54 command routine slots"));
    EXPECT_THAT(text, HasSubstr("    5 data type positions (3 used), 7 command routine slots"));
    EXPECT_THAT(text, HasSubstr("    type 4: \"超级列表框\" ListView, state flags 0x00000040, 39 properties"));
    EXPECT_THAT(text, HasSubstr("  0: (system library) \"CreateThread\"\n"));
    EXPECT_THAT(text, HasSubstr("  5: \"kernel32\" \"GetExitCodeThread\"\n  6: \"Kernel32.dll\" \"TerminateThread\"\n"));
}

TEST(ProgramListing, PrintsEveryUnitWithItsRecordFieldByField)
{
    std::string text = Inspect(app::ProgramDescription());
    EXPECT_THAT(text, HasSubstr("Form 0x52010001: 17 units"));
    EXPECT_THAT(text, HasSubstr("  #1 0x1601001B \"按钮_下载\" Button\n"
                                "     position 224, 472, 80, 24; flags 5 (visible, tab stop); tab order 0\n"
                                "     parent 0x00000000; children 0; event source 0x00000000; mouse pointer kind 0 "
                                "(4 bytes); tag \"\"; remark \"\"\n"
                                "     events: event 0 -> DownloadButtonClicked\n"
                                "     ButtonProperties, version 1, 32 bytes\n"
                                "       DefaultButton = 0\n"));
    EXPECT_THAT(text, HasSubstr("       ButtonCaption = \"下载\"\n"));
    EXPECT_THAT(text, HasSubstr("  #5 0x16010014 \"超级列表框1\" ListView\n"
                                "     position 24, 104, 759, 336; flags 4 (hidden, tab stop)"));
    EXPECT_THAT(text, HasSubstr("       Columns = 66 bytes\n"
                                "         column 0: \"序号\", width 100, alignment 0, image -1, image on right 0\n"
                                "         column 1: \"图片下载地址\", width 500"));
    EXPECT_THAT(text, HasSubstr("       TextBackColour = 0x00ECECEC\n"));
    EXPECT_THAT(text, HasSubstr("  #12 0x16010005 \"编辑框_保存路径\" EditBox\n"));
    EXPECT_THAT(text, HasSubstr("     no unit-specific data (the unit starts from its defaults)\n"));
    EXPECT_THAT(text, HasSubstr("         part #0: width -1, style 0, image -1, text \"\", tip \"\"\n"));
    EXPECT_THAT(text, HasSubstr("       BackMusic = WAV PCM 48000 Hz, 2 channels, 16 bits, 57.07 s, data 10956800 "
                                "bytes, chunks \"fmt \", \"LIST\", \"data\", 10.4 MB (10956878 bytes)\n"));
    EXPECT_THAT(text, HasSubstr("       BackPicture = JPEG "));
    EXPECT_THAT(text, HasSubstr("       Picture = JPEG 824×616, "));
    EXPECT_THAT(text, HasSubstr("       Caption = \"Vellumry\"\n"));
    EXPECT_THAT(text, HasSubstr("  #16 0x160149CF \"图片框1\" PicBox\n     position -6, -48, 824, 616; flags 1 (visible)"));
}

TEST(ProgramListing, UnreadableTemplateIsSaidSoAfterTheTables)
{
    runtime::ProgramHeader header = app::ProgramDescription();
    const std::uint8_t garbage[] = {0x10, 0, 0, 0, 1, 2, 3};
    header.windowTemplateStart = garbage;
    header.windowTemplateSize = sizeof garbage;
    std::string text = Inspect(header, false);
    EXPECT_THAT(text, HasSubstr("DLL commands\n"));
    EXPECT_THAT(text, HasSubstr("Window template: cannot be read\n"));
    EXPECT_THAT(text, ::testing::Not(HasSubstr("Form 0x")));
}

}  // namespace
