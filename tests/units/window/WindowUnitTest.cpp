#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>

#include <QBuffer>
#include <QCoreApplication>
#include <QImage>
#include <QTest>
#include <QWidget>

#include "forms/engine/FormEngine.h"
#include "forms/engine/HostNotify.h"
#include "forms/engine/UnitProperties.h"
#include "platform/base/LastError.h"
#include "platform/sound/NullMidiDevice.h"
#include "platform/sound/SoundDevices.h"
#include "platform/ui/qt/WidgetWindows.h"
#include "runtime/HeapOwner.h"
#include "runtime/HostLayers.h"
#include "tests/forms/engine/TestUnits.h"
#include "tests/sound/MusicBuilders.h"
#include "tests/support/GbkText.h"
#include "tests/support/UiPictures.h"
#include "units/common/UnitHost.h"
#include "units/window/WindowProperties.h"
#include "units/window/WindowUnit.h"
#include "units/window/WindowUnitType.h"

namespace {

using namespace vellumry;
using namespace vellumry::test;
using ::testing::ElementsAre;

struct MusicCall {
    std::int32_t length;
    bool loop;
};
std::vector<MusicCall> g_played;
int g_stops = 0;

std::vector<std::uint8_t> Jpeg(int width, int height, QColor colour)
{
    return JpegFileBytes(width, height, colour);
}

std::vector<std::uint8_t> Wave()
{
    std::vector<std::uint8_t> data(44, 0);
    std::memcpy(data.data(), "RIFF", 4);
    std::memcpy(data.data() + 8, "WAVE", 4);
    return data;
}

class WindowUnit : public ::testing::Test {
protected:
    void SetUp() override
    {
        InstallTestUnitTypes();
        units::InstallWindowUnitType();
        units::UnitLibraryNotify(1, reinterpret_cast<std::intptr_t>(&forms::HostNotify), 0);
        InstallTestHandlers();
        runtime::SoundHooks sound;
        sound.playMusic = [](const std::uint8_t*, std::int32_t length, bool loop) {
            g_played.push_back({length, loop});
            return true;
        };
        sound.stopAllMusic = [](bool) { ++g_stops; };
        runtime::SetSoundHooks(sound);
        g_played.clear();
        g_stops = 0;
        ClearJournal();
    }
    void TearDown() override
    {
        TearDownForms();
        runtime::SetSoundHooks({});
    }

    // The standard test form with this window record and window bindings.
    void Load(const units::WindowProperties& properties, std::vector<forms::EventBinding> events = {},
              std::int32_t width = 815, std::int32_t height = 562)
    {
        auto specs = StandardUnits();
        units::Bytes record = units::SaveRecord(properties);
        specs[0].content.assign(record.begin(), record.end());
        specs[0].position = {50, 50, width, height};
        if (!events.empty())
            specs[0].events = events;
        InstallTestForm(specs);
        m_loaded = forms::LoadForm(kTestFormId, false, nullptr);
    }
    units::CWinFormUnit* Window()
    {
        return static_cast<units::CWinFormUnit*>(forms::ResolveUnit(kTestFormId, 0));
    }
    HWND Handle() { return Window() ? Window()->Handle() : nullptr; }
    bool m_loaded = false;
};

units::WindowProperties Standard()
{
    units::WindowProperties p;
    p.Caption = "Vellumry";
    p.StartPosition = 0;
    return p;
}

TEST_F(WindowUnit, AppearsWithItsCaptionClassAndFrame)
{
    Load(Standard());
    ASSERT_TRUE(m_loaded);
    HWND window = Handle();
    ASSERT_TRUE(IsWindow(window));
    char className[32];
    GetClassNameA(window, className, sizeof className);
    EXPECT_STREQ(className, "NKWindow");
    EXPECT_EQ(ui::WidgetOf(window)->windowTitle(), "Vellumry");
    RECT frame;
    RECT client;
    GetWindowRect(window, &frame);
    GetClientRect(window, &client);
    EXPECT_EQ(frame.right - frame.left, 815);
    EXPECT_EQ(frame.bottom - frame.top, 562);
    EXPECT_EQ(client.right, 815 - 6);  // a fixed dialog frame and a caption
    EXPECT_EQ(client.bottom, 562 - 6 - 23);
    EXPECT_TRUE(IsWindowVisible(window));
    // The class is registered once, for every window that names no class.
    WNDCLASSA again{};
    again.lpszClassName = "NKWindow";
    SetLastError(0);
    EXPECT_EQ(RegisterClassA(&again), 0);
    DestroyWindow(window);
    Load(Standard());
    EXPECT_TRUE(m_loaded);
}

TEST_F(WindowUnit, ARecordNewerThanVersionSixMakesNoWindow)
{
    std::vector<std::uint8_t> record = units::SaveRecord(Standard());
    record[0] = 7;
    auto specs = StandardUnits();
    specs[0].content.assign(record.begin(), record.end());
    InstallTestForm(specs);
    EXPECT_FALSE(forms::LoadForm(kTestFormId, false, nullptr));
    EXPECT_FALSE(forms::AnyLiveForm());
}

TEST_F(WindowUnit, MusicFollowsThePlayMode)
{
    units::WindowProperties p = Standard();
    p.BackMusic = Wave();
    p.MusicPlayMode = 0;
    Load(p);
    ASSERT_EQ(g_played.size(), 1u);
    EXPECT_EQ(g_played[0].length, 44);
    EXPECT_TRUE(g_played[0].loop);
    // Writing the mode stops the music and starts it again as asked.
    forms::WriteUnitProperty(kTestFormId, 0, 8 + 6, -1, 1, 0);
    EXPECT_EQ(g_stops, 1);
    ASSERT_EQ(g_played.size(), 2u);
    EXPECT_FALSE(g_played[1].loop);
    forms::WriteUnitProperty(kTestFormId, 0, 8 + 6, -1, 2, 0);  // mode 2 plays nothing
    EXPECT_EQ(g_played.size(), 2u);
    EXPECT_EQ(g_stops, 2);
    DestroyWindow(Handle());
    EXPECT_EQ(g_stops, 2);  // nothing was playing
}

TEST_F(WindowUnit, ModeTwoAndDataThatIsNoWaveStaySilent)
{
    units::WindowProperties p = Standard();
    p.BackMusic = Wave();
    p.MusicPlayMode = 2;
    Load(p);
    EXPECT_TRUE(g_played.empty());
    TearDownForms();
    p.MusicPlayMode = 0;
    p.BackMusic = {'M', 'T', 'h', 'd', 0, 0, 0, 6};
    Load(p);
    EXPECT_TRUE(g_played.empty());
}

TEST_F(WindowUnit, MidiMusicPlaysInTheWindowsOwnPlayer)
{
    using sound::test::MidiFile;
    using sound::test::MidiTrack;
    mm::SelectSoundDevices(mm::SoundDevices::Null);
    mm::ResetNullMidiRecord();
    auto sounding = [](std::uint64_t open) {
        return mm::WaitForNullMidi(
            [open](const mm::NullMidiRecord& r) {
                return r.devicesOpen == open && !r.messages.empty() && r.messages[0].bytes[0] == 0x90;
            },
            std::chrono::seconds(30));
    };
    units::WindowProperties p = Standard();
    p.BackMusic = MidiFile({MidiTrack({{0, {0x90, 60, 100}}, {96, {0x80, 60, 0}}, {0, {0xFF, 0x2F, 0}}})}, 96);
    p.MusicPlayMode = 0;
    Load(p);
    EXPECT_TRUE(g_played.empty()) << "MIDI does not go to the runtime's music service";
    ASSERT_TRUE(sounding(1)) << "the window's player opened one stream and plays the note";

    forms::WriteUnitProperty(kTestFormId, 0, 8 + 6, -1, 2, 0);  // mode 2: stopped, nothing new
    EXPECT_EQ(mm::NullMidiSnapshot().devicesOpen, 0u) << "the stop closes the stream before it returns";
    EXPECT_EQ(g_stops, 0) << "no WAV was playing";

    mm::ResetNullMidiRecord();
    forms::WriteUnitProperty(kTestFormId, 0, 8 + 6, -1, 1, 0);  // mode 1: played again, once
    ASSERT_TRUE(sounding(1));
    DestroyWindow(Handle());
    EXPECT_EQ(mm::NullMidiSnapshot().devicesOpen, 0u) << "the window's end stops its music";
}

TEST_F(WindowUnit, CentredPictureOverTheBackgroundColour)
{
    units::WindowProperties p = Standard();
    p.WindowBorder = 0;                  // no frame: the client is the whole window
    p.BackColour = 0x00FF0000;           // blue (0x00BBGGRR)
    p.BackPicture = Jpeg(800, 400, Qt::red);
    p.BackPictureMode = 2;
    Load(p, {}, 400, 400);
    QWidget* widget = ui::WidgetOf(Handle());
    ASSERT_EQ(widget->size(), QSize(400, 400));
    QImage shot = widget->grab().toImage();
    auto near = [](QColor a, QColor b) {
        return std::abs(a.red() - b.red()) < 24 && std::abs(a.green() - b.green()) < 24 &&
               std::abs(a.blue() - b.blue()) < 24;
    };
    EXPECT_TRUE(near(shot.pixelColor(200, 50), Qt::blue));
    EXPECT_TRUE(near(shot.pixelColor(200, 200), Qt::red));
    EXPECT_TRUE(near(shot.pixelColor(5, 105), Qt::red));  // scaled to 400 x 200 from y 100
    EXPECT_TRUE(near(shot.pixelColor(200, 350), Qt::blue));
}

TEST_F(WindowUnit, StretchedPictureCoversEverythingAndBadPicturesLeaveTheColour)
{
    units::WindowProperties p = Standard();
    p.WindowBorder = 0;
    p.BackColour = 0x0000FF00;  // green
    p.BackPicture = Jpeg(30, 20, Qt::red);
    p.BackPictureMode = 3;
    Load(p, {}, 200, 100);
    QImage shot = ui::WidgetOf(Handle())->grab().toImage();
    EXPECT_GT(shot.pixelColor(1, 1).red(), 200);
    EXPECT_GT(shot.pixelColor(198, 98).red(), 200);
    TearDownForms();
    p.BackPicture = {0xFF, 0xD8, 1, 2, 3, 4, 5, 6};  // a JPEG that does not decode
    Load(p, {}, 200, 100);
    QImage plain = ui::WidgetOf(Handle())->grab().toImage();
    EXPECT_GT(plain.pixelColor(100, 50).green(), 200);
    EXPECT_LT(plain.pixelColor(100, 50).red(), 40);
}

TEST_F(WindowUnit, CloseAsksEventTwelveThenOneAndDestroyRaisesTwo)
{
    Load(Standard(), {{12, kAnswerFalse}, {1, kOnWindowEvent}, {2, kOnWindowEvent}});
    HWND window = Handle();
    ClearJournal();
    SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(window));  // event 12 answered false
    EXPECT_THAT(JournalLines("event"), ElementsAre("event 12 06010000"));
    TearDownForms();
    Load(Standard(), {{12, kOnWindowEvent}, {1, kOnWindowEvent}, {2, kOnWindowEvent}});
    window = Handle();
    ClearJournal();
    SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_THAT(JournalLines("event"), ElementsAre("event 12 06010000", "event 1 06010000", "event 2 06010000"));
}

TEST_F(WindowUnit, EscClosesOnlyWhenAsked)
{
    units::WindowProperties p = Standard();
    p.EscCloses = 0;
    Load(p);
    QTest::keyClick(ui::WidgetOf(Handle()), Qt::Key_Escape);
    EXPECT_TRUE(forms::AnyLiveForm());
    TearDownForms();
    Load(Standard());
    QTest::keyClick(ui::WidgetOf(Handle()), Qt::Key_Escape);
    EXPECT_FALSE(forms::AnyLiveForm());
}

TEST_F(WindowUnit, IdleCallsRaiseEventSevenWithTheMilliseconds)
{
    Load(Standard(), {{7, kAnswerTrue}});
    ClearJournal();
    EXPECT_EQ(SendMessageA(Handle(), forms::kMessageFormIdle, 25, 0), 1);
    EXPECT_THAT(JournalLines("event"), ElementsAre("event 7 06010000 25"));
    TearDownForms();
    Load(Standard(), {{7, kOnWindowEvent}});  // no answer: no more idle calls
    EXPECT_EQ(SendMessageA(Handle(), forms::kMessageFormIdle, 0, 0), 0);
}

TEST_F(WindowUnit, PropertiesThroughTheFormEngine)
{
    Load(Standard());
    std::string caption = Gbk("下载器");
    forms::WriteUnitProperty(kTestFormId, 0, 8, -1, static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(caption.c_str())),
                             static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(caption.c_str()) >> 32));
    EXPECT_EQ(ui::WidgetOf(Handle())->windowTitle(), QString::fromUtf8("下载器"));
    runtime::OwnedText read(reinterpret_cast<char*>(forms::ReadUnitProperty(kTestFormId, 0, 8, -1)));
    EXPECT_EQ(std::string(read.get()), caption);
    forms::WriteUnitProperty(kTestFormId, 0, 8 + 1, -1, 9, 0);  // border clamped to 6
    EXPECT_EQ(forms::ReadUnitProperty(kTestFormId, 0, 8 + 1, -1), 6u);
    EXPECT_EQ(Window()->Properties().WindowBorder, 6);
    // Start position answers from the window.
    EXPECT_EQ(forms::ReadUnitProperty(kTestFormId, 0, 8 + 10, -1), 0u);
    ShowWindow(Handle(), SW_MINIMIZE);
    EXPECT_EQ(forms::ReadUnitProperty(kTestFormId, 0, 8 + 10, -1), 2u);
}

TEST_F(WindowUnit, ProgramIconsWhenTheWindowHasNone)
{
    static std::vector<std::uint8_t> ico = IcoFileBytes(32, Qt::darkGreen);
    forms::SetProgramIconData(ico);
    Load(Standard());
    EXPECT_FALSE(ui::WidgetOf(Handle())->windowIcon().isNull());
}

}  // namespace
