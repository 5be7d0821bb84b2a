#pragma once

// A test form for the extended-UI library's units: the real window unit with
// one report list and one status bar on it, the unit types and the library's
// commands installed, and the runtime's HostNotify entry handed to the units,
// so that commands resolve units and allocate their results as in the
// program. Window thread only, except the command calls.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "forms/description/UnitRecord.h"
#include "runtime/ExtendedUiCommandSlots.h"
#include "runtime/TypedValue.h"
#include "tests/forms/engine/TestUnits.h"
#include "units/listview/ListViewProperties.h"
#include "units/listview/ListViewUnit.h"
#include "units/statusbar/StatusBarProperties.h"
#include "units/statusbar/StatusBarUnit.h"

namespace vellumry::test {

inline constexpr forms::UnitId kListId = 0x16010014;
inline constexpr forms::UnitId kBarId = 0x16010004;

class ExtendedUiForm : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Loads the form with the list and the bar; events of the list bound as
    // given (event number, handler position of TestUnits.h).
    void Load(const units::ListViewProperties& list, const units::StatusBarProperties& bar = {},
              std::vector<forms::EventBinding> listEvents = {});
    units::CListViewUnit* List();
    units::CStatusBarUnit* Bar();

public:
    // Calls a command of the library with the unit as argument 0; any
    // thread.
    static runtime::TypedValue Call(runtime::ExtendedUiCommand command, forms::UnitId unit,
                                    std::initializer_list<runtime::TypedValue> arguments);
    static runtime::TypedValue OnList(runtime::ExtendedUiCommand command,
                                      std::initializer_list<runtime::TypedValue> arguments = {})
    {
        return Call(command, kListId, arguments);
    }
protected:
    // GetCellText's result as a string, freed; `null` tells whether it was
    // the null text.
    static std::string CellText(std::int32_t row, std::int32_t column, bool* null = nullptr);
    static std::int32_t RowCount();

    // Pumps events until `done` or ten seconds have passed.
    template <typename Done>
    static bool WaitFor(Done done, std::chrono::milliseconds limit = std::chrono::seconds(10))
    {
        auto until = std::chrono::steady_clock::now() + limit;
        while (!done()) {
            if (std::chrono::steady_clock::now() > until)
                return false;
            PumpOnce();
        }
        return true;
    }
    static void PumpOnce();
};

// A text argument (borrowed: the caller keeps the bytes alive).
runtime::TypedValue Text(const std::string& text);
inline runtime::TypedValue Int(std::int32_t value)
{
    return runtime::TypedValue::OfInt(value);
}
// An optional argument left out.
inline runtime::TypedValue LeftOut()
{
    return runtime::TypedValue{};
}

}  // namespace vellumry::test
