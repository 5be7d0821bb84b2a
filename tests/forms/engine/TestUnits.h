#pragma once

// Small unit types for driving the form engine: they create plain windows,
// log what the engine does to them, keep a text property and can be told to
// ask for re-creation. A test form built with the template writer holds them.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "forms/description/FormTable.h"
#include "forms/description/TemplateWriter.h"
#include "forms/engine/EventDispatch.h"
#include "forms/engine/UnitType.h"

namespace vellumry::test {

inline constexpr forms::FormId kTestFormId = 0x52010001;
inline constexpr forms::UnitId kWindowUnitId = 0x06010000;
inline constexpr forms::UnitId kFirstButton = 0x16010001;
inline constexpr forms::UnitId kEditBox = 0x16010002;
inline constexpr forms::UnitId kSecondButton = 0x16010003;
inline constexpr forms::UnitId kObjectUnit = 0x16010004;
inline constexpr forms::UnitId kMenuItem = 0x26010005;

class TestUnit : public ui::WindowObject {
public:
    forms::FormId formId = 0;
    forms::UnitId unitId = 0;
    std::int32_t controlId = 0;
    DWORD style = 0;
    std::string content;     // property 0 (index 8)
    bool flag = false;       // property 1 (index 9); set: the unit is a default button
    bool recreateOnWrite = false;
    LRESULT dialogCode = 0;  // the answer to WM_GETDLGCODE
    int idleCallsLeft = 0;
    std::vector<std::uint32_t> idleMilliseconds;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void PostNcDestroy() override;
};

// What happened, in order: "create <unitId> <controlId>", "message <hex> <unitId>",
// "event <n> <source unitId>", "destroyed <unitId>".
std::vector<std::string>& Journal();
void ClearJournal();
std::vector<std::string> JournalLines(const std::string& prefix);

// Installs the test unit types into the support-library table (window,
// button, edit box; the picture box type gets no create routine).
void InstallTestUnitTypes();
// Makes the plain test unit the operations of one more type.
void InstallTestUnitType(runtime::DataTypeTag tag);

// Handler positions of the test handler list.
enum TestHandler : std::uint32_t {
    kOnWindowEvent = 0,
    kOnButtonClick = 1,
    kOnEditChange = 2,
    kAnswerFalse = 3,
    kAnswerTrue = 4,
};
void InstallTestHandlers();
// The handlers of that list: each writes "event <n> <source unitId> <arguments>"
// to the journal; the last two also answer false or true.
void OnEvent(forms::EventCall& call);
void AnswerFalse(forms::EventCall& call);
void AnswerTrue(forms::EventCall& call);

struct TestUnitEntry {
    forms::UnitId unitId;
    runtime::DataTypeTag type;
    forms::Position position;
    std::uint32_t flags;
    std::vector<forms::EventBinding> events;
    std::string content;  // stored as the unit-specific data
    std::string tag;
    std::vector<std::uint8_t> mousePointer = std::vector<std::uint8_t>(4, 0);
    forms::UnitId eventSource = 0;
    std::string name{};  // GBK
    std::optional<forms::MenuItemFields> menu{};  // set for a menu item (type kMenuItemType)
};

// The standard test form: the window, two buttons and an edit box (stored
// invisible) in stored order window, button 1, edit box, button 2.
std::vector<TestUnitEntry> StandardUnits();
// Writes a template of one form and installs it as the form table.
void InstallTestForm(const std::vector<TestUnitEntry>& units);

TestUnit* UnitOf(forms::UnitId unitId);
HWND WindowOfUnit(forms::UnitId unitId);

// Raises an event from a unit as units do (HostNotify 2008).
struct RaisedEvent {
    bool ran = false;
    bool hasResult = false;
    std::int32_t result = 0;
};
RaisedEvent RaiseEvent(forms::UnitId unitId, std::int32_t event, std::vector<std::int32_t> arguments = {});

// Destroys every window the engine made and processes pending deletions.
void TearDownForms();

}  // namespace vellumry::test
