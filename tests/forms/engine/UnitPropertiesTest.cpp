#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QWidget>

#include "forms/engine/FormEngine.h"
#include "forms/engine/PropertyValues.h"
#include "forms/engine/UnitProperties.h"
#include "platform/ui/qt/WidgetWindows.h"
#include "runtime/HeapOwner.h"
#include "runtime/ValueHelpers.h"
#include "tests/forms/engine/TestUnits.h"
#include "tests/support/ReportExpectations.h"

namespace {

using namespace vellumry;
using namespace vellumry::test;
using forms::ReadUnitProperty;
using forms::WriteUnitProperty;
using ::testing::HasSubstr;
using vellumry::test::kErrorExit;
using vellumry::test::RelatedLine;

enum { kLeft = 0, kTop, kWidth, kHeight, kTag, kVisible, kDisabled, kMousePointer, kContent = 8, kFlag = 9 };

std::uint32_t Low(std::int64_t v)
{
    return static_cast<std::uint32_t>(v);
}

std::uint32_t LowOf(const void* p)
{
    return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(p));
}

std::uint32_t HighOf(const void* p)
{
    return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(p) >> 32);
}

std::string ReadText(forms::UnitId unit, std::int32_t index)
{
    runtime::OwnedText text(reinterpret_cast<char*>(ReadUnitProperty(kTestFormId, unit, index, -1)));
    return std::string(runtime::TextView(text.get()));
}

std::int32_t ReadInt(forms::UnitId unit, std::int32_t index)
{
    return static_cast<std::int32_t>(ReadUnitProperty(kTestFormId, unit, index, -1));
}

void WriteInt(forms::UnitId unit, std::int32_t index, std::int32_t value)
{
    WriteUnitProperty(kTestFormId, unit, index, -1, Low(value), 0);
}

void WriteText(forms::UnitId unit, std::int32_t index, const char* text)
{
    WriteUnitProperty(kTestFormId, unit, index, -1, LowOf(text), HighOf(text));
}

class UnitProperties : public ::testing::Test {
protected:
    void SetUp() override
    {
        InstallTestUnitTypes();
        InstallTestHandlers();
        InstallTestForm(StandardUnits());
    }
    void TearDown() override { TearDownForms(); }
};

// The same clamping rules hold with and without a window.
class Placement : public UnitProperties, public ::testing::WithParamInterface<bool> {};

TEST_P(Placement, ValuesAreClampedAndStored)
{
    bool loaded = GetParam();
    if (loaded)
        forms::LoadForm(kTestFormId, false, nullptr);
    WriteInt(kFirstButton, kWidth, 40000);
    EXPECT_EQ(ReadInt(kFirstButton, kWidth), 32627);
    WriteInt(kFirstButton, kLeft, -40000);
    EXPECT_EQ(ReadInt(kFirstButton, kLeft), -32627);
    WriteInt(kFirstButton, kHeight, -5);
    EXPECT_EQ(ReadInt(kFirstButton, kHeight), 0);
    WriteInt(kFirstButton, kTop, 77);
    EXPECT_EQ(ReadInt(kFirstButton, kTop), 77);
    if (loaded) {
        // The window moved and kept the other sides.
        QWidget* widget = ui::WidgetOf(WindowOfUnit(kFirstButton));
        EXPECT_EQ(widget->geometry(), QRect(-32627, 77, 32627, 0));
    }
    // Whatever the window did, the record holds the clamped values.
    auto record = forms::CurrentUnits(*forms::FindLoadedForm(kTestFormId)).FindUnit(kFirstButton);
    EXPECT_EQ(forms::UnitPosition(record->data), (forms::Position{-32627, 77, 32627, 0}));
}

INSTANTIATE_TEST_SUITE_P(LoadedOrNot, Placement, ::testing::Bool());

TEST_F(UnitProperties, NotLoadedFormsAnswerFromTheStoredRecord)
{
    EXPECT_EQ(ReadInt(kEditBox, kVisible), 0);  // stored invisible
    EXPECT_EQ(ReadInt(kFirstButton, kVisible), 1);
    EXPECT_EQ(ReadInt(kFirstButton, kDisabled), 0);
    EXPECT_EQ(ReadInt(kEditBox, kLeft), 10);
    EXPECT_EQ(ReadText(kEditBox, kTag), "7");
    WriteInt(kEditBox, kVisible, 1);
    WriteInt(kEditBox, kDisabled, 5);
    EXPECT_EQ(ReadInt(kEditBox, kVisible), 1);
    EXPECT_EQ(ReadInt(kEditBox, kDisabled), 1);
    // The written flags apply when the form loads.
    forms::LoadForm(kTestFormId, false, nullptr);
    EXPECT_TRUE(IsWindowVisible(WindowOfUnit(kEditBox)));
    EXPECT_EQ(UnitOf(kEditBox)->style, 0x08010000u);  // disabled, and it takes the focus
}

TEST_F(UnitProperties, LiveWindowsAnswerVisibilityAndEnabledState)
{
    forms::LoadForm(kTestFormId, false, nullptr);
    EXPECT_EQ(ReadInt(kEditBox, kVisible), 0);
    WriteInt(kEditBox, kVisible, 1);
    EXPECT_TRUE(IsWindowVisible(WindowOfUnit(kEditBox)));
    EXPECT_EQ(ReadInt(kEditBox, kVisible), 1);
    WriteInt(kFirstButton, kDisabled, 1);
    EXPECT_FALSE(IsWindowEnabled(WindowOfUnit(kFirstButton)));
    EXPECT_EQ(ReadInt(kFirstButton, kDisabled), 1);
    // The window unit's visibility hides and shows the form.
    WriteInt(0, kVisible, 0);
    EXPECT_FALSE(IsWindowVisible(WindowOfUnit(kWindowUnitId)));
}

TEST_F(UnitProperties, TagsOfAnyLengthAndNullMeansEmpty)
{
    std::string longTag(300, 'x');
    WriteText(kFirstButton, kTag, longTag.c_str());
    EXPECT_EQ(ReadText(kFirstButton, kTag), longTag);
    WriteText(kFirstButton, kTag, nullptr);
    EXPECT_EQ(ReadUnitProperty(kTestFormId, kFirstButton, kTag, -1), 0u);  // the empty text
    // The other records survived the rebuilt table.
    EXPECT_EQ(ReadText(kEditBox, kTag), "7");
    EXPECT_EQ(ReadText(0, kTag), "main");
    forms::LoadForm(kTestFormId, false, nullptr);
    WriteText(kEditBox, kTag, "live");
    EXPECT_EQ(ReadText(kEditBox, kTag), "live");
    EXPECT_EQ(UnitOf(kEditBox)->content, "hello");  // the unit itself is untouched
}

TEST_F(UnitProperties, OwnPropertiesConvertByKind)
{
    forms::LoadForm(kTestFormId, false, nullptr);
    EXPECT_EQ(ReadText(kEditBox, kContent), "hello");  // a text kind: a new copy
    WriteText(kEditBox, kContent, "\xD6\xD0\xCE\xC4");
    EXPECT_EQ(UnitOf(kEditBox)->content, "\xD6\xD0\xCE\xC4");
    WriteText(kEditBox, kContent, nullptr);  // null stores the empty text
    EXPECT_EQ(UnitOf(kEditBox)->content, "");
    EXPECT_EQ(ReadUnitProperty(kTestFormId, kEditBox, kContent, -1), 0u);

    // Button property 1 is a boolean: any nonzero writes 1.
    WriteInt(kFirstButton, kFlag, 42);
    EXPECT_TRUE(UnitOf(kFirstButton)->flag);
    EXPECT_EQ(ReadInt(kFirstButton, kFlag), 1);
    // Indexes beyond the type's properties read 0 and write nothing.
    EXPECT_EQ(ReadUnitProperty(kTestFormId, kFirstButton, 400, -1), 0u);
    WriteInt(kFirstButton, 400, 1);
}

TEST_F(UnitProperties, AWriteThatAsksForItRecreatesTheUnitInPlace)
{
    forms::LoadForm(kTestFormId, false, nullptr);
    HWND old = WindowOfUnit(kEditBox);
    WriteInt(kEditBox, kVisible, 1);
    WriteInt(kEditBox, kDisabled, 1);
    UnitOf(kEditBox)->recreateOnWrite = true;
    ClearJournal();
    WriteText(kEditBox, kContent, "rebuilt");
    HWND fresh = WindowOfUnit(kEditBox);
    ASSERT_NE(fresh, nullptr);
    EXPECT_NE(fresh, old);
    EXPECT_FALSE(IsWindow(old));
    EXPECT_EQ(UnitOf(kEditBox)->content, "rebuilt");  // made from the unit's saved data
    EXPECT_EQ(UnitOf(kEditBox)->controlId, 110);
    EXPECT_TRUE(IsWindowVisible(fresh));
    EXPECT_FALSE(IsWindowEnabled(fresh));
    // Same place in the z-order, and the old window's end released nothing.
    HWND form = WindowOfUnit(kWindowUnitId);
    EXPECT_EQ(GetNextWindow(GetTopWindow(form), GW_HWNDNEXT), fresh);
    EXPECT_EQ(forms::ResolveUnit(kTestFormId, kEditBox), UnitOf(kEditBox));
    EXPECT_TRUE(forms::AnyLiveForm());
}

TEST_F(UnitProperties, MousePointerTravelsInThePublicNumbering)
{
    forms::LoadForm(kTestFormId, false, nullptr);
    runtime::OwnedByteSet handPointer(runtime::MakeByteSet(std::vector<std::uint8_t>{15, 0, 0, 0}));
    WriteUnitProperty(kTestFormId, kFirstButton, kMousePointer, -1, LowOf(handPointer.get()),
                      HighOf(handPointer.get()));
    EXPECT_EQ(ui::WidgetOf(WindowOfUnit(kFirstButton))->cursor().shape(), Qt::PointingHandCursor);
    runtime::OwnedByteSet read(reinterpret_cast<std::uint8_t*>(
        ReadUnitProperty(kTestFormId, kFirstButton, kMousePointer, -1)));
    ASSERT_EQ(runtime::ByteSetSize(read.get()), 4);
    EXPECT_EQ(runtime::ByteSetBytes(read.get())[0], 15);
    // The record stores the system's numbering.
    auto record = forms::CurrentUnits(*forms::FindLoadedForm(kTestFormId)).FindUnit(kFirstButton);
    auto stored = forms::UnitMousePointer(record->data);
    ASSERT_EQ(stored->size(), 4u);
    EXPECT_EQ((*stored)[0] | ((*stored)[1] << 8), 32649);
}

TEST(FontValues, MembersBySubIndexAndTheWholeRecord)
{
    forms::UnitPropertyValue none;  // no font stored: the default GUI font
    EXPECT_EQ(forms::ToApplication(1013, 5, none), 9u);
    EXPECT_EQ(forms::ToApplication(1013, 1, none), 0u);
    forms::UnitPropertyValue bold = forms::FromApplication(1013, 1, 1, 0, none);
    ASSERT_EQ(bold.bytes.size(), 60u);
    EXPECT_EQ(forms::ToApplication(1013, 1, bold), 1u);
    forms::UnitPropertyValue bigger = forms::FromApplication(1013, 5, 12, 0, bold);
    EXPECT_EQ(forms::ToApplication(1013, 5, bigger), 12u);
    EXPECT_EQ(forms::ToApplication(1013, 1, bigger), 1u);  // the other members kept
    runtime::OwnedText face(reinterpret_cast<char*>(forms::ToApplication(1013, 6, bigger)));
    EXPECT_STREQ(face.get(), "\xCB\xCE\xCC\xE5");
    auto* whole = reinterpret_cast<forms::FontRecord*>(forms::ToApplication(1013, -1, bigger));
    EXPECT_EQ(whole->bold, 1);
    EXPECT_EQ(whole->pointSize, 12);
    runtime::RuntimeFree(whole->faceName);
    runtime::RuntimeFree(whole);
}

TEST(ValueForms, KindsMapToTheirForms)
{
    using forms::ValueForm;
    EXPECT_EQ(forms::ValueFormOfKind(1001), ValueForm::Integer);
    EXPECT_EQ(forms::ValueFormOfKind(1002), ValueForm::Wide);
    EXPECT_EQ(forms::ValueFormOfKind(1003), ValueForm::Boolean);
    EXPECT_EQ(forms::ValueFormOfKind(1005), ValueForm::Text);
    EXPECT_EQ(forms::ValueFormOfKind(1020), ValueForm::Text);  // unlisted kinds are texts
    EXPECT_EQ(forms::ValueFormOfKind(1024), ValueForm::Bytes);
    forms::UnitPropertyValue current;
    EXPECT_EQ(forms::FromApplication(1006, -1, static_cast<std::uint32_t>(-3), 0, current).number, 0);
    EXPECT_EQ(forms::FromApplication(1000, -1, static_cast<std::uint32_t>(-3), 0, current).number, -3);
    EXPECT_EQ(forms::FromApplication(1002, -1, 1, 2, current).number, 0x200000001LL);
    forms::UnitPropertyValue two;
    two.number = 2;
    EXPECT_EQ(forms::ToApplication(1003, -1, two), 0u);  // true only when stored as 1
}

TEST_F(UnitProperties, ErrorReportsNameTheFormAndUnit)
{
    EXPECT_EXIT(ReadUnitProperty(0x52010009, kFirstButton, 0, -1), ::testing::ExitedWithCode(kErrorExit),
                HasSubstr("错误信息：未载入欲访问窗口组件所在的窗口\r\n" + RelatedLine(0x52010009, 0x16010001) +
                          "\r\n未找到所指定的窗口\r\n"));
    EXPECT_EXIT(ReadUnitProperty(kTestFormId, kEditBox, kContent, -1), ::testing::ExitedWithCode(kErrorExit),
                HasSubstr("错误信息：读取组件属性时发现指定窗口尚未载入\r\n" + RelatedLine(0x52010001, 0x16010002) +
                          "\r\n所访问窗口的\"标记\"属性值: \"main\"\r\n所访问窗口组件的\"标记\"属性值: \"7\"\r\n"));
    EXPECT_EXIT(WriteInt(kEditBox, kContent, 1), ::testing::ExitedWithCode(kErrorExit),
                HasSubstr("错误信息：修改组件属性时发现指定窗口尚未载入\r\n"));
    EXPECT_EXIT(ReadUnitProperty(kTestFormId, 0x16017777, 0, -1), ::testing::ExitedWithCode(kErrorExit),
                HasSubstr("错误信息：指定窗口或窗口组件不存在或尚未载入\r\n"));
}

}  // namespace
