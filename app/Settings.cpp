#include "app/Settings.h"

#include "app/AppTexts.h"
#include "app/FolderPath.h"
#include "app/description/DllCommandTable.h"
#include "runtime/DataTypeTag.h"
#include "runtime/RuntimeInterface.h"
#include "runtime/ValueHelpers.h"

namespace vellumry::app {
namespace {

// The application's constant texts.
constexpr const auto& kText = texts::kAppStaticData;

constexpr std::int32_t kContentProperty = 8;
constexpr std::int32_t kWrongUnitTypeError = 5;

// Every unit of the window of the edit-box type, released when left.
class EditBoxList {
public:
    EditBoxList(std::uint32_t formId, std::uint32_t windowId)
        : m_list(EnumerateUnits(runtime::TypedValue::OfUnit(runtime::kWindowType, formId, windowId), nullptr,
                                kText.kEditBoxTypeName))
    {
    }
    ~EditBoxList() { UnitListRelease(m_list); }
    EditBoxList(const EditBoxList&) = delete;
    EditBoxList& operator=(const EditBoxList&) = delete;

    std::int32_t Count() const { return UnitListCount(m_list); }

    // The unit reference at `index`; anything but an edit box is the
    // runtime error of a wrong unit type.
    runtime::TypedValue EditBoxAt(std::int32_t index) const
    {
        runtime::TypedValue unit = UnitListItem(m_list, index);
        if (unit.tag != runtime::kEditBoxType)
            runtime::GetRuntimeInterface().reportErrorCode(kWrongUnitTypeError, 0, 0);
        return unit;
    }

private:
    std::int32_t m_list;
};

// Calls `visit(unit, name)` for each edit box of the window, in the order of
// the enumeration; answers how many there are.
template <typename Visit>
std::int32_t ForEachEditBox(std::uint32_t formId, std::uint32_t windowId, Visit&& visit)
{
    EditBoxList boxes(formId, windowId);
    const std::int32_t count = boxes.Count();
    for (std::int32_t i = 0; i < count; ++i) {
        runtime::TypedValue unit = boxes.EditBoxAt(i);
        OwnedText name = UnitNameOf(unit);
        visit(unit, OrEmpty(name.get()));
    }
    return count;
}

void UseDefaultWhenEmpty(OwnedText& settingsFile)
{
    if (!settingsFile || !*settingsFile)
        settingsFile = DefaultSettingsPath();
}

OwnedText ReadContent(const runtime::TypedValue& unit)
{
    std::uint64_t payload =
        runtime::GetRuntimeInterface().readUnitProperty(unit.low, unit.high, kContentProperty, 0);
    return OwnedText(reinterpret_cast<char*>(static_cast<std::uintptr_t>(payload)));
}

void WriteContent(const runtime::TypedValue& unit, const char* text)
{
    auto bits = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(text));
    runtime::GetRuntimeInterface().writeUnitProperty(unit.low, unit.high, kContentProperty, 0,
                                                     static_cast<std::uint32_t>(bits),
                                                     static_cast<std::uint32_t>(bits >> 32));
}


}  // namespace

OwnedText ToStoredValue(const char* content)
{
    return ReplaceSubText(OrEmpty(content), kText.kCrLf, kText.kLineBreakMarker, 1, {}, true);
}

OwnedText FromStoredValue(const char* stored)
{
    return ReplaceSubText(OrEmpty(stored), kText.kLineBreakMarker, kText.kCrLf, 1, {}, true);
}

std::int32_t LoadEditBoxes(std::uint32_t formId, std::uint32_t windowId, OwnedText& settingsFile)
{
    UseDefaultWhenEmpty(settingsFile);
    return ForEachEditBox(formId, windowId, [&](const runtime::TypedValue& unit, const char* name) {
        OwnedText stored = ReadProfileItem(settingsFile.get(), kText.kSettingsSection, name);
        if (!stored || !*stored)
            return;  // the box keeps its content
        OwnedText content = FromStoredValue(stored.get());
        WriteContent(unit, OrEmpty(content.get()));
    });
}

std::int32_t SaveEditBoxes(std::uint32_t formId, std::uint32_t windowId, OwnedText& settingsFile,
                           const char* exclusionList)
{
    UseDefaultWhenEmpty(settingsFile);
    return ForEachEditBox(formId, windowId, [&](const runtime::TypedValue& unit, const char* name) {
        if (!SelectedNameFilter(OrEmpty(exclusionList), name))
            return;
        OwnedText content = ReadContent(unit);
        OwnedText stored = ToStoredValue(content.get());
        WriteProfileItem(settingsFile.get(), kText.kSettingsSection, name, OrEmpty(stored.get()));
    });
}

bool SelectedNameFilter(const char* exclusionList, const char* unitName)
{
    OwnedTextArray pieces = SplitText(OrEmpty(exclusionList), kText.kNameSeparator);
    runtime::ArrayElementsView elements = runtime::ArrayElements(pieces.get());
    auto* names = static_cast<char**>(elements.first);
    for (std::int32_t i = 0; i < elements.count; ++i)
        if (TextCompare(OrEmpty(names[i]), OrEmpty(unitName), true) == 0)
            return false;
    return true;
}

OwnedText DefaultSettingsPath()
{
    OwnedText folder = ProgramFolder();
    OwnedText dataFolder(runtime::ConcatTexts({OrEmpty(folder.get()), kText.kDefaultSettingsFolder}));
    if (!IsFolder(dataFolder.get()))
        EnsureFolderExists(dataFolder.get());
    return OwnedText(runtime::ConcatTexts({OrEmpty(folder.get()), kText.kDefaultSettingsFile}));
}

OwnedText ProgramSettingsPath()
{
    OwnedText folder = ProgramFolder();
    return OwnedText(runtime::ConcatTexts({OrEmpty(folder.get()), kText.kSettingsFile}));
}

bool IsFolder(const char* path)
{
    BOOL attribute =
        runtime::CallDllCommand<BOOL(LPCSTR)>(kPathIsDirectoryA, kPathIsDirectoryA, 0, OrEmpty(path));
    return attribute == 16;
}

bool EnsureFolderExists(const char* folder)
{
    OwnedText withSeparator = FolderWithSeparator(folder);
    return runtime::CallDllCommand<BOOL(LPCSTR)>(kMakeSureDirectoryPathExists, kMakeSureDirectoryPathExists, 0,
                                                 withSeparator.get()) != FALSE;
}

}  // namespace vellumry::app
