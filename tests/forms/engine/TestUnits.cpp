#include "tests/forms/engine/TestUnits.h"

#include <QCoreApplication>

#include <cstdio>
#include <map>
#include <memory>

#include "forms/description/EventHandlers.h"
#include "forms/description/SupportLibraries.h"
#include "forms/description/TemplateErrorContext.h"
#include "forms/engine/FormEngine.h"
#include "forms/engine/HostNotify.h"
#include "runtime/ErrorContext.h"
#include "tests/support/GbkText.h"

namespace vellumry::test {
namespace {

std::map<TestUnit*, std::unique_ptr<TestUnit>>& Units()
{
    static std::map<TestUnit*, std::unique_ptr<TestUnit>> units;
    return units;
}

std::string Hex(std::uint32_t value)
{
    char text[16];
    std::snprintf(text, sizeof text, "%08X", value);
    return text;
}

void Log(const std::string& line)
{
    Journal().push_back(line);
}

const char* TestClass()
{
    static const char* name = [] {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.lpszClassName = "TestUnitWindow";
        RegisterClassA(&windowClass);
        return "TestUnitWindow";
    }();
    return name;
}

ui::WindowObject* Create(const std::uint8_t* data, std::int32_t length, DWORD style, HWND parent,
                         std::int32_t controlId, HMENU, std::int32_t left, std::int32_t top, std::int32_t width,
                         std::int32_t height, std::uint32_t formId, std::uint32_t unitId, std::int32_t, std::int32_t)
{
    bool window = forms::IdSubKind(unitId) == forms::kWindowUnitSubKind;
    DWORD windowStyle = window ? (WS_CAPTION | WS_SYSMENU) : (WS_CHILD | style);
    HWND handle = CreateWindowExA(0, TestClass(), "", windowStyle, left, top, width, height, parent,
                                  reinterpret_cast<HMENU>(static_cast<std::uintptr_t>(controlId)), nullptr, nullptr);
    if (!handle)
        return nullptr;
    auto unit = std::make_unique<TestUnit>();
    unit->formId = formId;
    unit->unitId = unitId;
    unit->controlId = controlId;
    unit->style = style;
    unit->content.assign(reinterpret_cast<const char*>(data), static_cast<std::size_t>(length));
    unit->Attach(handle);
    TestUnit* raw = unit.get();
    Units()[raw] = std::move(unit);
    Log("create " + Hex(unitId) + " " + std::to_string(controlId));
    // An event raised while the form is being created reaches no handler.
    if (RaiseEvent(unitId, 0).ran)
        Log("event during creation ran");
    return raw;
}

std::int32_t Write(ui::WindowObject* object, std::int32_t number, const forms::UnitPropertyValue* value)
{
    auto* unit = static_cast<TestUnit*>(object);
    if (number == 0)
        unit->content = value->text;
    else if (number == 1)
        unit->flag = value->number == 1;
    else
        return 0;
    return unit->recreateOnWrite ? 1 : 0;
}

std::int32_t Read(ui::WindowObject* object, std::int32_t number, forms::UnitPropertyValue* value)
{
    auto* unit = static_cast<TestUnit*>(object);
    if (number == 0)
        value->text = unit->content;
    else if (number == 1)
        value->number = unit->flag ? 1 : 0;
    else
        return 0;
    return 1;
}

bool Save(ui::WindowObject* object, std::vector<std::uint8_t>* record)
{
    auto* unit = static_cast<TestUnit*>(object);
    record->assign(unit->content.begin(), unit->content.end());
    return true;
}

// A test unit is a default button while its flag (property 1) is set.
bool IsDefault(ui::WindowObject* object)
{
    return static_cast<TestUnit*>(object)->flag;
}

constexpr forms::UnitType kTestUnitType = {
    .create = Create,
    .writeProperty = Write,
    .saveProperties = Save,
    .readProperty = Read,
    .isDefaultButton = IsDefault,
};
// A type that can make no unit.
constexpr forms::UnitType kNoOperations = {};

std::unique_ptr<forms::TemplateErrorContext> g_context;

}  // namespace

void OnEvent(forms::EventCall& call)
{
    forms::EventSource source = forms::CurrentEventSource();
    std::string line = "event " + std::to_string(call.event) + " " + Hex(source.unitId);
    for (std::int64_t argument : call.arguments)
        line += " " + std::to_string(argument);
    Log(line);
}

void AnswerFalse(forms::EventCall& call)
{
    OnEvent(call);
    call.hasResult = true;
    call.result = 0;
}

void AnswerTrue(forms::EventCall& call)
{
    OnEvent(call);
    call.hasResult = true;
    call.result = 1;
}

LRESULT TestUnit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case forms::kMessageUnitsCreated:
    case forms::kMessageFormCreated:
    case forms::kMessageShownModally: {
        char text[8];
        std::snprintf(text, sizeof text, "%04X", message);
        Log(std::string("message ") + text + " " + Hex(unitId));
        return 0;
    }
    case WM_GETDLGCODE:
        return dialogCode;
    case forms::kMessageFormIdle:
        idleMilliseconds.push_back(static_cast<std::uint32_t>(wParam));
        return --idleCallsLeft > 0 ? 1 : 0;
    default:
        return WindowObject::WindowProc(message, wParam, lParam);
    }
}

void TestUnit::PostNcDestroy()
{
    Log("destroyed " + Hex(unitId));
    forms::HostNotify(forms::kNotifyUnitDestroyed, static_cast<std::intptr_t>(formId),
                      static_cast<std::intptr_t>(unitId));
    Units().erase(this);  // deletes this object: nothing may follow
}

std::vector<std::string>& Journal()
{
    static std::vector<std::string> journal;
    return journal;
}

void ClearJournal()
{
    Journal().clear();
}

std::vector<std::string> JournalLines(const std::string& prefix)
{
    std::vector<std::string> lines;
    for (const std::string& line : Journal())
        if (line.rfind(prefix, 0) == 0)
            lines.push_back(line);
    return lines;
}

void InstallTestUnitTypes()
{
    for (runtime::DataTypeTag tag : {runtime::kWindowType, runtime::kButtonType, runtime::kEditBoxType})
        forms::InstallUnitType<kTestUnitType>(tag);
    forms::InstallUnitType<kNoOperations>(runtime::kPicBoxType);
}

void InstallTestUnitType(runtime::DataTypeTag tag)
{
    forms::InstallUnitType<kTestUnitType>(tag);
}

void InstallTestHandlers()
{
    static const forms::EventHandler handlers[] = {OnEvent, OnEvent, OnEvent, AnswerFalse, AnswerTrue};
    forms::SetEventHandlers(handlers);
}

std::vector<TestUnitEntry> StandardUnits()
{
    using forms::EventBinding;
    std::vector<TestUnitEntry> units = {
        {kWindowUnitId, runtime::kWindowType, {50, 50, 400, 300}, forms::kUnitVisible,
         {{0, kOnWindowEvent}, {3, kOnWindowEvent}, {4, kOnWindowEvent}}, "", "main"},
        {kFirstButton, runtime::kButtonType, {10, 10, 80, 24}, 5, {{0, kOnButtonClick}}, "", ""},
        {kEditBox, runtime::kEditBoxType, {10, 40, 80, 20}, 4, {{1, kAnswerFalse}}, "hello", "7"},
        {kSecondButton, runtime::kButtonType, {10, 70, 80, 24}, 5, {{0, forms::kStoredNoHandler}}, "", ""},
    };
    units[1].name = Gbk("按钮_下载");
    units[2].name = Gbk("编辑框_起始页码");
    units[3].name = Gbk("按钮_停止");
    return units;
}

void InstallTestForm(const std::vector<TestUnitEntry>& units)
{
    forms::FormDescription form;
    form.formId = kTestFormId;
    for (const TestUnitEntry& unit : units) {
        forms::UnitRecordFields fields;
        fields.unitId = unit.unitId;
        fields.type = unit.type;
        fields.position = unit.position;
        fields.flags = unit.flags;
        fields.events = unit.events;
        fields.tag = unit.tag;
        fields.mousePointer = unit.mousePointer;
        fields.eventSource = unit.eventSource;
        fields.name = unit.name;
        fields.specific.assign(unit.content.begin(), unit.content.end());
        fields.menu = unit.menu;
        form.units.push_back(fields);
    }
    std::vector<std::uint8_t> bytes = forms::WriteTemplate(std::span(&form, 1));
    auto table = forms::ReadTemplate(bytes, forms::kHandlerCodeBase);
    if (!table)
        throw std::runtime_error("the test template does not read back");
    forms::InstallFormTable(std::move(*table));
    g_context = std::make_unique<forms::TemplateErrorContext>(forms::Forms());
    runtime::SetErrorContextSource(g_context.get());
}

TestUnit* UnitOf(forms::UnitId unitId)
{
    for (auto& [raw, unit] : Units())
        if (unit->unitId == unitId && IsWindow(unit->Handle()))
            return raw;
    return nullptr;
}

HWND WindowOfUnit(forms::UnitId unitId)
{
    TestUnit* unit = UnitOf(unitId);
    return unit ? unit->Handle() : nullptr;
}

RaisedEvent RaiseEvent(forms::UnitId unitId, std::int32_t event, std::vector<std::int32_t> arguments)
{
    forms::UnitEvent record;
    record.formId = kTestFormId;
    record.unitId = unitId;
    record.event = event;
    record.argumentCount = static_cast<std::int32_t>(arguments.size());
    for (std::size_t i = 0; i < arguments.size() && i < 5; ++i)
        record.arguments[i] = arguments[i];
    RaisedEvent raised;
    raised.ran = forms::HostNotify(forms::kNotifyDispatchEvent, forms::ToNotifyValue(&record), 0) != 0;
    raised.hasResult = record.hasResult != 0;
    raised.result = record.result;
    return raised;
}

void TearDownForms()
{
    forms::ReleaseForms();
    runtime::SetErrorContextSource(nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

}  // namespace vellumry::test
