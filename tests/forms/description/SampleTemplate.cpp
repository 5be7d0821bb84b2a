#include "tests/forms/description/SampleTemplate.h"

#include <stdexcept>

#include "tests/support/GbkText.h"

namespace vellumry::test {

using namespace vellumry::forms;

std::vector<FormDescription> SampleForms()
{
    UnitRecordFields window;
    window.unitId = 0x06010000;
    window.type = runtime::kWindowType;
    window.position = {50, 50, 815, 562};
    window.tag = Gbk("主窗口");
    window.flags = kUnitVisible;
    window.events = {{0, 0}, {3, kStoredNoHandler}};
    window.specific = {6, 0, 0, 0, 1, 2, 3};

    UnitRecordFields button;
    button.unitId = 0x1601001B;
    button.type = runtime::kButtonType;
    button.name = Gbk("按钮_下载");
    button.remark = "remark";
    button.position = {224, 472, 80, 24};
    button.mousePointer = {1, 0, 0, 0, 0xC0, 0xFF, 0xEE};
    button.tag = Gbk("下载");
    button.flags = kUnitVisible | kUnitTabStop;
    button.tabOrder = 3;
    button.events = {{0, 1}, {-7, kStoredNoHandler}, {0, 4}};
    button.specific = {1, 0, 0, 0};

    UnitRecordFields list;
    list.unitId = 0x16010014;
    list.type = runtime::kListViewType;
    list.name = Gbk("超级列表框1");
    list.eventSource = 0x16010015;
    list.position = {-6, -48, 824, 616};
    list.parent = 0x16010030;
    list.children = {0x16010015, 0, 0x16010016};
    list.flags = kUnitTabStop;

    UnitRecordFields folder;  // no unit-specific data, an empty mouse pointer block
    folder.unitId = 0x16010005;
    folder.type = runtime::kEditBoxType;
    folder.name = Gbk("编辑框_保存路径");
    folder.mousePointer.clear();
    folder.flags = kUnitVisible | kUnitDisabled | kUnitTabStop;

    UnitRecordFields menuFile;
    menuFile.unitId = 0x26010001;
    menuFile.type = runtime::kMenuItemType;
    menuFile.name = "menu";
    menuFile.menu = MenuItemFields{kMenuItemChecked, Gbk("文件"), 2};

    UnitRecordFields menuQuit = menuFile;
    menuQuit.unitId = 0x26010002;
    menuQuit.menu = MenuItemFields{kMenuItemDisabled, "Quit", kStoredNoHandler};

    FormDescription first;
    first.formId = kSampleFormId;
    first.words[0] = 7;
    first.words[1] = 0xFFFFFFFF;
    first.texts[0] = Gbk("甲");
    first.units = {window, button, list, folder, menuFile, menuQuit};

    UnitRecordFields otherWindow = window;
    otherWindow.tag = "second";
    otherWindow.events.clear();
    FormDescription second;
    second.formId = kSecondFormId;
    second.texts[1] = "b";
    second.units = {otherWindow, button};
    return {first, second};
}

std::vector<std::uint8_t> SampleTemplate()
{
    return WriteTemplate(SampleForms());
}

forms::FormTable ReadSampleTemplate()
{
    auto table = ReadTemplate(SampleTemplate(), kSampleCodeBase);
    if (!table)
        throw std::runtime_error("the sample template does not read");
    return std::move(*table);
}

std::vector<FormDescription> SampleFormsAsRead()
{
    auto forms = SampleForms();
    for (auto& form : forms)
        for (auto& unit : form.units) {
            for (auto& binding : unit.events)
                binding.handler = FixUpHandler(binding.handler, kSampleCodeBase);
            if (unit.menu)
                unit.menu->handler = FixUpHandler(unit.menu->handler, kSampleCodeBase);
        }
    return forms;
}

}  // namespace vellumry::test
