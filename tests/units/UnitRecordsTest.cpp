// The stream layouts of the individual records, byte by byte: these pin the
// field order, widths and version gates that the generic record tests take
// from the records' own layouts.

#include <gtest/gtest.h>

#include <vector>

#include "runtime/ByteWriter.h"
#include "tests/support/GbkText.h"
#include "units/UnitRecordTypes.h"

namespace {

using namespace vellumry::units;
// Bytes these tests build and look into; records hold theirs as units::Bytes.
using Bytes = std::vector<std::uint8_t>;
using vellumry::runtime::ByteWriter;
using vellumry::test::Gbk;

Bytes Words(std::initializer_list<std::int32_t> words)
{
    ByteWriter writer;
    for (std::int32_t word : words)
        writer.PutI32(word);
    return writer.Take();
}

Bytes operator+(Bytes a, const Bytes& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

Bytes Prefixed(std::string_view text)
{
    ByteWriter writer;
    writer.PutLengthPrefixed(text);
    return writer.Take();
}

TEST(EditBoxRecord, EndPageBoxOfTheStartFormIsLaidOutFieldByField)
{
    EditBoxProperties box;
    box.Content = "2";
    ByteWriter password;
    password.PutI16(42);
    Bytes expected = Words({2, 1, 0, 0xFFFFFF, 1, 0, 0, 0, 0, 0}) + password.Take() +
                     Words({0, 0, 0, 100, 0, 0}) + Prefixed("") + Prefixed("2") + Prefixed("") + Prefixed("");
    EXPECT_EQ(expected.size(), 83u);
    EXPECT_EQ(SaveRecord(box), expected);
}

TEST(EditBoxRecord, VersionOneHasNoBoundUnitTexts)
{
    ByteWriter password;
    password.PutI16('#');
    Bytes stored = Words({1, 0, 0x123456, 0, 0, 7, 1, 2, 1, 3}) + password.Take() + Words({1, 1, -5, 5, 2, 3}) +
                   Prefixed("") + Prefixed(Gbk("内容"));
    auto box = LoadRecord<EditBoxProperties>(stored);
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->BorderStyle, 0);
    EXPECT_EQ(box->TextColour, 0x123456);
    EXPECT_EQ(box->MaxLength, 7);
    EXPECT_EQ(box->InputMode, 3);
    EXPECT_EQ(box->PasswordChar, '#');
    EXPECT_EQ(box->SpinMin, -5);
    EXPECT_EQ(box->SelectionLength, 3);
    EXPECT_EQ(box->Content, Gbk("内容"));
    EXPECT_EQ(box->BoundUnit1, "");
}

TEST(WindowRecord, VersionGatedFieldsSitBetweenTheSettingsAndTheBlocks)
{
    // Version 1: thirteen settings, then the blocks and texts.
    Bytes v1 = Words({1, 0, 2, 0x00FF00, 1, 0, 0, 3, 0, 2, 1, 0, 1, 77}) + Prefixed("JPEG") + Prefixed("") +
               Prefixed("RIFF") + Prefixed("Caption") + Prefixed("help.hlp");
    auto window = LoadRecord<WindowProperties>(v1);
    ASSERT_TRUE(window.has_value());
    EXPECT_EQ(window->WindowBorder, 0);
    EXPECT_EQ(window->BackPictureMode, 2);
    EXPECT_EQ(window->BackColour, 0x00FF00);
    EXPECT_EQ(window->StartPosition, 3);
    EXPECT_EQ(window->MusicPlayMode, 2);
    EXPECT_EQ(window->HelpContext, 77);
    EXPECT_EQ(window->ShowInTaskbar, 1);  // not stored before version 2
    EXPECT_EQ(window->BackPicture, Bytes({'J', 'P', 'E', 'G'}));
    EXPECT_EQ(window->Caption, "Caption");
    EXPECT_EQ(window->HelpFile, "help.hlp");

    // Version 5: five more settings; the class name only comes with 6.
    Bytes v5 = Words({5, 2, 1, 0, 0, 1, 1, 1, 1, 0, 0, 1, 0, 0, /*15*/ 0, 1, 12, 1, 1}) + Prefixed("") +
               Prefixed("") + Prefixed("") + Prefixed("") + Prefixed("");
    window = LoadRecord<WindowProperties>(v5);
    ASSERT_TRUE(window.has_value());
    EXPECT_EQ(window->ShowInTaskbar, 0);
    EXPECT_EQ(window->DragByBody, 1);
    EXPECT_EQ(window->MousePointer, 12);
    EXPECT_EQ(window->AlwaysOnTop, 1);
    EXPECT_EQ(window->KeepCaptionActive, 1);
    EXPECT_EQ(window->WindowClassName, "");
}

TEST(WindowRecord, SavedRecordPutsThePictureAfterTheSettingsAndTheClassName)
{
    WindowProperties window;
    window.BackPicture = {0xFF, 0xD8};
    window.Caption = "Vellumry";
    Bytes saved = SaveRecord(window);
    Bytes expected = Words({6, 2, 1, static_cast<std::int32_t>(0xFF000000), 0, 1, 1, 1, 1, 0, 0, 1, 0, 0, 1, 0, 0,
                            0, 0}) +
                     Prefixed("") + Prefixed("\xFF\xD8") + Prefixed("") + Prefixed("") + Prefixed("Vellumry") +
                     Prefixed("");
    EXPECT_EQ(saved, expected);
}

TEST(ButtonRecord, CaptionComesLastAfterPictureAndFont)
{
    ButtonProperties button;
    button.ButtonCaption = Gbk("下载");
    EXPECT_EQ(SaveRecord(button), Words({1, 0, 1, 1}) + Prefixed("") + Prefixed("") + Prefixed(Gbk("下载")));
    auto v0 = LoadRecord<ButtonProperties>(Words({0, 1, 0, 2}) + Prefixed("") + Prefixed("") + Prefixed("Go"));
    ASSERT_TRUE(v0.has_value());
    EXPECT_EQ(v0->DefaultButton, 1);
    EXPECT_EQ(v0->HorizontalAlignment, 0);
    EXPECT_EQ(v0->VerticalAlignment, 2);
    EXPECT_EQ(v0->ButtonCaption, "Go");
}

TEST(StatusBarRecord, PartsBlockIsTheLastField)
{
    StatusBarProperties bar;
    bar.Parts = {1, 2, 3};
    EXPECT_EQ(SaveRecord(bar), Words({1, static_cast<std::int32_t>(0xFF000000), 0, 0}) + Prefixed("") +
                                   Prefixed("") + Prefixed("\x01\x02\x03"));
}

TEST(PictureBoxRecord, BoundUnitTextsComeOnlyWithVersionTwo)
{
    auto v1 = LoadRecord<PictureBoxProperties>(Words({1, 2, 0xFFFFFF, 2, 0}) + Prefixed("GIF89a"));
    ASSERT_TRUE(v1.has_value());
    EXPECT_EQ(v1->BorderStyle, 2);
    EXPECT_EQ(v1->BackColour, 0xFFFFFF);
    EXPECT_EQ(v1->DisplayMode, 2);
    EXPECT_EQ(v1->Animate, 0);
    EXPECT_EQ(v1->Picture.size(), 6u);
    // The same data claiming version 2 lacks the two texts.
    EXPECT_FALSE(LoadRecord<PictureBoxProperties>(Words({2, 2, 0xFFFFFF, 2, 0}) + Prefixed("GIF89a")).has_value());
    auto v2 = LoadRecord<PictureBoxProperties>(Words({2, 0, 0, 0, 1}) + Prefixed("") + Prefixed(Gbk("标签")) +
                                               Prefixed("b"));
    ASSERT_TRUE(v2.has_value());
    EXPECT_EQ(v2->BoundUnit1, Gbk("标签"));
    EXPECT_EQ(v2->BoundUnit2, "b");
}

TEST(TransLabelRecord, DefaultCaptionIsTheTypeNameInGbk)
{
    EXPECT_EQ(TransLabelProperties{}.Caption, Gbk("透明标签"));
    auto v0 = LoadRecord<TransLabelProperties>(Words({0, 3, 0x000080FF, 2, 0, 1}) + Prefixed("") +
                                               Prefixed(Gbk("网页地址：")));
    ASSERT_TRUE(v0.has_value());
    EXPECT_EQ(v0->TextEffect, 3);
    EXPECT_EQ(v0->TextColour, 0x000080FF);
    EXPECT_EQ(v0->HorizontalAlignment, 2);
    EXPECT_EQ(v0->VerticalAlignment, 0);
    EXPECT_EQ(v0->WordWrap, 1);
    EXPECT_EQ(v0->Caption, Gbk("网页地址："));
}

TEST(ListViewRecord, TwentyFourSettingsThenSixBlocksInOrder)
{
    ListViewProperties list;
    list.CurrentRow = 5;
    list.Font = {1};
    list.HeaderImages = {2};
    list.NormalImages = {3};
    list.Columns = {4};
    list.StateImages = {5};
    list.InitialRows = {6};
    Bytes saved = SaveRecord(list);
    ASSERT_EQ(saved.size(), 4 + 24 * 4 + 6 * 5u);
    // CurrentRow is the 23rd setting.
    EXPECT_EQ(saved[4 + 22 * 4], 5);
    for (std::uint8_t block = 1; block <= 6; ++block)
        EXPECT_EQ(saved[4 + 24 * 4 + (block - 1) * 5 + 4], block);
}

}  // namespace
