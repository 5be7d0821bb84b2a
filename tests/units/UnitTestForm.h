#pragma once

// A test form for one unit: a frameless window of one background colour at
// (50, 50) with the unit on it, loaded by the form engine with the program's
// window unit type and the test handlers, which write the unit's events into
// the journal ("event <n> <unit id> <arguments>").

#include <QTest>

#include <chrono>
#include <string>
#include <vector>

#include "forms/engine/FormEngine.h"
#include "forms/engine/HostNotify.h"
#include "tests/forms/engine/TestUnits.h"
#include "units/common/UnitHost.h"
#include "units/window/WindowProperties.h"
#include "units/window/WindowUnitType.h"

namespace vellumry::test {

inline constexpr forms::UnitId kUnitUnderTest = 0x16010011;

// Installs the test types, the window unit type and the host; the caller
// installs its own unit type afterwards.
inline void PrepareUnitTestForm()
{
    InstallTestUnitTypes();
    units::InstallWindowUnitType();
    units::UnitLibraryNotify(1, reinterpret_cast<std::intptr_t>(&forms::HostNotify), 0);
    InstallTestHandlers();
    ClearJournal();
}

// Loads the form; false when the engine could not load it.
inline bool LoadUnitTestForm(runtime::DataTypeTag type, const std::vector<std::uint8_t>& record,
                             forms::Position position, std::vector<forms::EventBinding> events = {},
                             std::int32_t windowColour = 0x00808080, std::vector<TestUnitEntry> others = {})
{
    units::WindowProperties window;
    window.WindowBorder = 0;
    window.BackColour = windowColour;
    window.StartPosition = 0;
    auto specs = StandardUnits();
    specs.resize(1);
    units::Bytes windowRecord = units::SaveRecord(window);
    specs[0].content.assign(windowRecord.begin(), windowRecord.end());
    specs[0].position = {50, 50, 400, 300};
    TestUnitEntry entry{kUnitUnderTest, type, position, forms::kUnitVisible | forms::kUnitTabStop, std::move(events), "", ""};
    entry.content.assign(record.begin(), record.end());
    specs.push_back(entry);
    for (TestUnitEntry& other : others)
        specs.push_back(std::move(other));
    InstallTestForm(specs);
    return forms::LoadForm(kTestFormId, false, nullptr);
}

// Pumps events until `done` or five seconds have passed.
template <typename Done>
bool PumpUntil(Done done)
{
    auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!done()) {
        if (std::chrono::steady_clock::now() > until)
            return false;
        QTest::qWait(2);
    }
    return true;
}

// Property values as a unit's WriteProperty takes them.
inline forms::UnitPropertyValue Number(std::int64_t number)
{
    forms::UnitPropertyValue value;
    value.number = number;
    return value;
}

inline forms::UnitPropertyValue Text(std::string text)
{
    forms::UnitPropertyValue value;
    value.text = std::move(text);
    return value;
}

inline std::vector<std::string> EventLines()
{
    return JournalLines("event ");
}

}  // namespace vellumry::test
