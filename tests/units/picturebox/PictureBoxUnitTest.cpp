// The picture box unit on a real form: its window, the property table with
// its clamps and effects, the three display modes drawn into an image, and
// GIF animation switched on and off, replaced and cut short by the unit's
// own end.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QImage>
#include <QTest>
#include <QWidget>

#include <chrono>
#include <optional>
#include <set>

#include "forms/engine/FormEngine.h"
#include "forms/engine/HostNotify.h"
#include "forms/engine/UnitProperties.h"
#include "platform/ui/qt/WidgetWindows.h"
#include "tests/forms/engine/TestUnits.h"
#include "tests/support/PictureFiles.h"
#include "units/common/UnitHost.h"
#include "units/picturebox/PictureBoxProperties.h"
#include "units/picturebox/PictureBoxUnit.h"
#include "units/picturebox/PictureBoxUnitType.h"
#include "units/window/WindowProperties.h"
#include "units/window/WindowUnitType.h"

namespace {

using namespace vellumry;
using namespace vellumry::test;

constexpr forms::UnitId kBoxId = 0x160149CF;
constexpr std::int32_t kRed = 0x000000FF;    // colour references: 0x00BBGGRR
constexpr std::int32_t kGreen = 0x0000FF00;
constexpr std::int32_t kWhite = 0x00FFFFFF;

// A picture of one colour, or with a second colour in its top left pixel,
// as a BMP: exact pixels, no compression loss.
Bytes SolidBmp(int width, int height, Rgb colour, std::optional<Rgb> corner = std::nullopt)
{
    std::vector<std::vector<std::uint32_t>> rows(height, std::vector<std::uint32_t>(width, colour));
    if (corner)
        rows[0][0] = *corner;
    BmpDraft draft;
    draft.width = width;
    draft.height = height;
    draft.bitCount = 24;
    draft.pixels = DibRows(rows, 24);
    return BmpFileBytes(draft);
}

// A GIF whose frames each fill the screen with one table colour.
Bytes ColourCycleGif(int width, int height, std::vector<std::uint8_t> colours, int delay)
{
    GifDraft draft;
    draft.width = width;
    draft.height = height;
    draft.globalTable = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};
    draft.loopCount = 0;  // forever
    for (std::uint8_t index : colours) {
        GifFrameDraft frame;
        frame.width = width;
        frame.height = height;
        frame.indexes.assign(static_cast<std::size_t>(width) * height, index);
        frame.delay = delay;
        draft.frames.push_back(frame);
    }
    return GifFileBytes(draft);
}

units::PictureBoxProperties Box(std::int32_t mode, Bytes picture, std::int32_t back = kWhite)
{
    units::PictureBoxProperties p;
    p.BackColour = back;
    p.DisplayMode = mode;
    p.Picture = runtime::SharedBytes(std::vector<std::uint8_t>(picture.begin(), picture.end()));
    return p;
}

forms::UnitPropertyValue Number(std::int64_t number)
{
    forms::UnitPropertyValue value;
    value.number = number;
    return value;
}

forms::UnitPropertyValue Block(const Bytes& bytes)
{
    forms::UnitPropertyValue value;
    value.bytes = runtime::SharedBytes(std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
    return value;
}

QColor Colour(std::int32_t reference)
{
    return QColor(reference & 0xFF, (reference >> 8) & 0xFF, (reference >> 16) & 0xFF);
}

class PictureBox : public ::testing::Test {
protected:
    void SetUp() override
    {
        InstallTestUnitTypes();
        units::InstallWindowUnitType();
        units::InstallPictureBoxUnitType();
        units::UnitLibraryNotify(1, reinterpret_cast<std::intptr_t>(&forms::HostNotify), 0);
        InstallTestHandlers();
        ClearJournal();
    }
    void TearDown() override { TearDownForms(); }

    // A frameless window with the box at (x, y) and nothing else on it.
    void Load(const units::PictureBoxProperties& box, forms::Position position = {0, 0, 400, 300})
    {
        units::WindowProperties window;
        window.WindowBorder = 0;
        window.BackColour = kGreen;
        window.StartPosition = 0;
        auto specs = StandardUnits();
        specs.resize(1);
        units::Bytes windowRecord = units::SaveRecord(window);
        specs[0].content.assign(windowRecord.begin(), windowRecord.end());
        specs[0].position = {50, 50, 500, 400};
        units::Bytes boxRecord = units::SaveRecord(box);
        TestUnitEntry entry{kBoxId, runtime::kPicBoxType, position, forms::kUnitVisible, {}, "", ""};
        entry.content.assign(boxRecord.begin(), boxRecord.end());
        specs.push_back(entry);
        InstallTestForm(specs);
        ASSERT_TRUE(forms::LoadForm(kTestFormId, false, nullptr));
        ASSERT_NE(Unit(), nullptr);
    }
    units::CPicBoxUnit* Unit()
    {
        return dynamic_cast<units::CPicBoxUnit*>(forms::ResolveUnit(kTestFormId, kBoxId));
    }
    QImage Shot() { return ui::WidgetOf(Unit()->Handle())->grab().toImage(); }

    // Pumps events until `done` or five seconds have passed.
    template <typename Done>
    bool WaitFor(Done done)
    {
        auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (!done()) {
            if (std::chrono::steady_clock::now() > until)
                return false;
            QTest::qWait(5);
        }
        return true;
    }
};

TEST_F(PictureBox, IsAChildWindowOfItsOwnClassWhereTheFormPutsIt)
{
    Load(Box(0, SolidBmp(4, 4, 0xFF0000)), {-6, -48, 300, 200});
    HWND box = Unit()->Handle();
    char className[32];
    GetClassNameA(box, className, sizeof className);
    EXPECT_STREQ(className, "_QV_PicBox");
    auto style = static_cast<DWORD>(GetWindowLongA(box, GWL_STYLE));
    EXPECT_TRUE(style & WS_CHILD);
    EXPECT_TRUE(style & WS_CLIPSIBLINGS);
    EXPECT_TRUE(IsWindowVisible(box));
    EXPECT_EQ(ui::WidgetOf(box)->geometry(), QRect(-6, -48, 300, 200));
    WNDCLASSA registered{};
    ASSERT_TRUE(GetClassInfoA(nullptr, "_QV_PicBox", &registered));
    EXPECT_EQ(registered.style, CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS);
    EXPECT_EQ(registered.hbrBackground, nullptr);
}

TEST_F(PictureBox, ARecordOfAnUnknownVersionMakesNoBox)
{
    units::Bytes record = units::SaveRecord(units::PictureBoxProperties{});
    std::vector<std::uint8_t> bytes(record.begin(), record.end());
    bytes[0] = 3;  // version 3
    forms::UnitType type = forms::OperationsOf(units::host::DataType(runtime::kPicBoxType));
    ASSERT_NE(type.create, nullptr);
    EXPECT_EQ(type.create(bytes.data(), static_cast<std::int32_t>(bytes.size()), 0, nullptr, 0, nullptr, 0, 0, 10,
                          10, kTestFormId, kBoxId, 0, 0),
              nullptr);
}

TEST_F(PictureBox, PropertiesAreClampedStoredAndSaved)
{
    Load(Box(0, {}));
    units::CPicBoxUnit& box = *Unit();
    HWND window = box.Handle();

    box.WriteProperty(0, Number(9));
    EXPECT_EQ(box.Properties().BorderStyle, 5);
    EXPECT_TRUE(GetWindowLongA(window, GWL_STYLE) & WS_BORDER);
    box.WriteProperty(0, Number(4));
    auto exStyle = static_cast<DWORD>(GetWindowLongA(window, GWL_EXSTYLE));
    EXPECT_EQ(exStyle & (WS_EX_CLIENTEDGE | WS_EX_DLGMODALFRAME | WS_EX_STATICEDGE),
              WS_EX_CLIENTEDGE | WS_EX_DLGMODALFRAME);
    EXPECT_FALSE(GetWindowLongA(window, GWL_STYLE) & WS_BORDER);  // style 5's bit went
    box.WriteProperty(0, Number(-2));
    EXPECT_EQ(box.Properties().BorderStyle, 0);
    EXPECT_EQ(GetWindowLongA(window, GWL_EXSTYLE) & (WS_EX_CLIENTEDGE | WS_EX_DLGMODALFRAME), 0);

    box.WriteProperty(3, Number(7));
    EXPECT_EQ(box.Properties().DisplayMode, 2);
    box.WriteProperty(3, Number(-1));
    EXPECT_EQ(box.Properties().DisplayMode, 0);

    box.WriteProperty(1, Number(0x123456));
    forms::UnitPropertyValue text;
    text.text = "Other";
    box.WriteProperty(5, text);
    box.WriteProperty(4, Number(0));

    forms::UnitPropertyValue read;
    EXPECT_EQ(box.ReadProperty(1, &read), 1);
    EXPECT_EQ(read.number, 0x123456);
    EXPECT_EQ(box.ReadProperty(5, &read), 1);
    EXPECT_EQ(read.text, "Other");
    EXPECT_EQ(box.ReadProperty(7, &read), 0);

    // The application's index is the number + 8.
    forms::WriteUnitProperty(kTestFormId, kBoxId, 8 + 3, 0, 1, 0);
    EXPECT_EQ(forms::ReadUnitProperty(kTestFormId, kBoxId, 8 + 3, 0), 1u);

    auto saved = units::LoadRecord<units::PictureBoxProperties>(box.Save());
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->BackColour, 0x123456);
    EXPECT_EQ(saved->DisplayMode, 1);
    EXPECT_EQ(saved->Animate, 0);
    EXPECT_EQ(saved->BoundUnit1, "Other");
}

TEST_F(PictureBox, ModeZeroDrawsAtTheTopLeftInThePicturesOwnSize)
{
    Load(Box(0, SolidBmp(20, 10, 0xFF0000, 0x0000FF)), {0, 0, 100, 80});
    QImage shot = Shot();
    ASSERT_EQ(shot.size(), QSize(100, 80));
    EXPECT_EQ(shot.pixelColor(0, 0), QColor(0, 0, 255));   // the corner pixel, not flipped
    EXPECT_EQ(shot.pixelColor(19, 9), QColor(255, 0, 0));
    EXPECT_EQ(shot.pixelColor(20, 9), Qt::white);
    EXPECT_EQ(shot.pixelColor(19, 10), Qt::white);
    EXPECT_EQ(shot.pixelColor(99, 79), Qt::white);
}

TEST_F(PictureBox, ModeOneStretchesOverTheClientArea)
{
    Load(Box(1, SolidBmp(20, 10, 0xFF0000)), {0, 0, 100, 80});
    QImage shot = Shot();
    EXPECT_EQ(shot.pixelColor(0, 0), QColor(255, 0, 0));
    EXPECT_EQ(shot.pixelColor(99, 79), QColor(255, 0, 0));
    EXPECT_EQ(shot.pixelColor(50, 40), QColor(255, 0, 0));
}

TEST_F(PictureBox, ModeTwoCentresSmallPicturesUnscaled)
{
    Load(Box(2, SolidBmp(100, 50, 0xFF0000, 0x0000FF)), {0, 0, 400, 300});
    QImage shot = Shot();
    EXPECT_EQ(shot.pixelColor(150, 125), QColor(0, 0, 255));  // the picture's first pixel
    EXPECT_EQ(shot.pixelColor(249, 174), QColor(255, 0, 0));
    EXPECT_EQ(shot.pixelColor(149, 125), Qt::white);
    EXPECT_EQ(shot.pixelColor(250, 174), Qt::white);
    EXPECT_EQ(shot.pixelColor(150, 124), Qt::white);
    EXPECT_EQ(shot.pixelColor(150, 175), Qt::white);
}

TEST_F(PictureBox, ModeTwoScalesLargePicturesDownKeepingTheAspect)
{
    // 800 × 200 in 400 × 300: the width ratio (0.5) is the smaller, so
    // 400 × 100, centred from y 100.
    Load(Box(2, SolidBmp(800, 200, 0xFF0000), kWhite), {0, 0, 400, 300});
    QImage shot = Shot();
    EXPECT_EQ(shot.pixelColor(0, 100), QColor(255, 0, 0));
    EXPECT_EQ(shot.pixelColor(399, 199), QColor(255, 0, 0));
    EXPECT_EQ(shot.pixelColor(200, 99), Qt::white);
    EXPECT_EQ(shot.pixelColor(200, 200), Qt::white);
    // The mode written back to 0 draws it in its own size again.
    Unit()->WriteProperty(3, Number(0));
    QImage atOrigin = Shot();
    EXPECT_EQ(atOrigin.pixelColor(200, 150), QColor(255, 0, 0));
    EXPECT_EQ(atOrigin.pixelColor(200, 250), Qt::white);
}

TEST_F(PictureBox, BackgroundColourShowsWithoutPictureAndThroughTransparency)
{
    // A PNG whose left pixel is transparent and right one opaque blue.
    Bytes png = PngFileBytes(2, 1, {0x00FF0000, 0xFF0000FF});
    Load(Box(1, png, kRed), {0, 0, 40, 20});
    QImage shot = Shot();
    EXPECT_EQ(shot.pixelColor(2, 10), QColor(255, 0, 0));
    EXPECT_EQ(shot.pixelColor(37, 10), QColor(0, 0, 255));

    // The button-face colour and a picture that does not decode.
    Unit()->WriteProperty(1, Number(static_cast<std::int32_t>(0xFF000000)));
    Unit()->WriteProperty(2, Block({0xFF, 0xD8, 1, 2, 3}));
    EXPECT_TRUE(Unit()->Picture().Empty());
    QImage plain = Shot();
    EXPECT_EQ(plain.pixelColor(20, 10), Colour(static_cast<std::int32_t>(GetSysColor(COLOR_BTNFACE))));
}

TEST_F(PictureBox, ABorderIsDrawnInsideAndThePictureWithinIt)
{
    Load(Box(1, SolidBmp(10, 10, 0xFF0000)), {0, 0, 60, 40});
    Unit()->WriteProperty(0, Number(1));  // client edge: two pixels
    QImage shot = Shot();
    EXPECT_NE(shot.pixelColor(0, 0), QColor(255, 0, 0));
    EXPECT_NE(shot.pixelColor(1, 1), QColor(255, 0, 0));
    EXPECT_EQ(shot.pixelColor(2, 2), QColor(255, 0, 0));
    EXPECT_EQ(shot.pixelColor(57, 37), QColor(255, 0, 0));
    EXPECT_NE(shot.pixelColor(58, 38), QColor(255, 0, 0));
}

TEST_F(PictureBox, AnimatedGifPlaysAndStopsWhenAnimateIsWrittenOff)
{
    Bytes gif = ColourCycleGif(8, 8, {1, 2, 3}, 2);
    Load(Box(1, gif), {0, 0, 16, 16});
    units::CPicBoxUnit& box = *Unit();
    ASSERT_NE(box.Picture().Animation(), nullptr);
    EXPECT_TRUE(box.Animating());
    // Frames advance and each one is painted.
    std::set<QRgb> seen;
    ASSERT_TRUE(WaitFor([&] {
        seen.insert(Shot().pixel(8, 8));
        return seen.size() == 3;
    }));
    EXPECT_TRUE(seen.count(qRgb(255, 0, 0)) && seen.count(qRgb(0, 255, 0)) && seen.count(qRgb(0, 0, 255)));

    box.WriteProperty(4, Number(0));
    EXPECT_FALSE(box.Animating());
    EXPECT_EQ(box.Picture().Animation(), nullptr);
    ASSERT_NE(box.Picture().Still(), nullptr);  // the first frame, still
    QTest::qWait(50);
    EXPECT_EQ(Shot().pixelColor(8, 8), QColor(255, 0, 0));

    box.WriteProperty(4, Number(1));
    EXPECT_TRUE(box.Animating());
}

TEST_F(PictureBox, AnimateOnAStillPictureIsOnlyStored)
{
    Load(Box(0, SolidBmp(4, 4, 0xFF0000)), {0, 0, 16, 16});
    units::CPicBoxUnit& box = *Unit();
    const units::DecodedPicture* before = box.Picture().Still();
    box.WriteProperty(4, Number(0));
    EXPECT_EQ(box.Properties().Animate, 0);
    EXPECT_EQ(box.Picture().Still(), before);  // not decoded again
}

TEST_F(PictureBox, AGifWrittenWhileAnimateIsOffStaysStillAndAnimatesWhenSwitchedOn)
{
    units::PictureBoxProperties p = Box(1, {});
    p.Animate = 0;
    Load(p, {0, 0, 16, 16});
    units::CPicBoxUnit& box = *Unit();
    box.WriteProperty(2, Block(ColourCycleGif(8, 8, {2, 3}, 2)));
    EXPECT_FALSE(box.Animating());
    ASSERT_NE(box.Picture().Still(), nullptr);
    EXPECT_EQ(Shot().pixelColor(8, 8), QColor(0, 255, 0));
    box.WriteProperty(4, Number(1));
    EXPECT_TRUE(box.Animating());
}

TEST_F(PictureBox, TheCreationFlagKeepsTheAnimationOff)
{
    Load(Box(0, {}));
    units::Bytes record = units::SaveRecord(Box(1, ColourCycleGif(8, 8, {1, 2}, 2)));
    units::CPicBoxUnit::CreateArguments arguments;
    arguments.record = record;
    arguments.parent = forms::ResolveUnit(kTestFormId, kWindowUnitId)->Handle();
    arguments.rect = {0, 0, 16, 16};
    arguments.creationFlag = true;
    units::CPicBoxUnit* box = units::CPicBoxUnit::Create(arguments);
    ASSERT_NE(box, nullptr);
    EXPECT_FALSE(box->Animating());
    EXPECT_NE(box->Picture().Still(), nullptr);
    box->WriteProperty(4, Number(1));
    EXPECT_FALSE(box->Animating());
    EXPECT_EQ(box->Properties().Animate, 1);
    DestroyWindow(box->Handle());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TEST_F(PictureBox, ReplacingTheAnimatedPictureStopsTheOldAnimationFirst)
{
    Load(Box(1, ColourCycleGif(8, 8, {1, 2, 3}, 0)), {0, 0, 16, 16});
    units::CPicBoxUnit& box = *Unit();
    for (int i = 0; i < 20; ++i) {
        box.WriteProperty(2, Block(ColourCycleGif(8, 8, {static_cast<std::uint8_t>(1 + i % 3), 2}, 0)));
        QCoreApplication::processEvents();
    }
    EXPECT_TRUE(box.Animating());
    box.WriteProperty(2, Block(SolidBmp(4, 4, 0x0000FF)));
    EXPECT_FALSE(box.Animating());
    QTest::qWait(30);  // frame messages still queued find a still picture
    EXPECT_EQ(Shot().pixelColor(8, 8), QColor(0, 0, 255));
}

TEST_F(PictureBox, DestroyedWhileAnimatingLeavesNothingBehind)
{
    // Fast frames (2 hundredths) so that frame messages are in flight when
    // the window goes; they must find no unit and do nothing.
    for (int round = 0; round < 5; ++round) {
        Load(Box(1, ColourCycleGif(64, 64, {1, 2, 3}, 2)), {0, 0, 64, 64});
        HWND box = Unit()->Handle();
        ASSERT_TRUE(Unit()->Animating());
        QTest::qWait(25 + round * 7);
        if (round % 2)
            DestroyWindow(box);  // the box alone
        else
            TearDownForms();     // the whole form
        EXPECT_FALSE(IsWindow(box));
        QTest::qWait(40);
        TearDownForms();
    }
}

}  // namespace
