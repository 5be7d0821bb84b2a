#include "tools/listing/ProgramListing.h"

#include <cstdio>
#include <string>
#include <type_traits>
#include <variant>

#include "forms/description/EventHandlers.h"
#include "forms/description/FormTable.h"
#include "forms/description/SupportLibraries.h"
#include "forms/description/UnitRecord.h"
#include "platform/codepage/CodePage.h"
#include "runtime/Values.h"
#include "tools/listing/BlockSniff.h"
#include "units/UnitRecordTypes.h"
#include "units/listview/ListViewColumns.h"
#include "units/listview/ListViewRows.h"
#include "units/statusbar/StatusBarParts.h"

namespace vellumry::listing {
namespace {

using Bytes = std::span<const std::uint8_t>;

std::string Hex(std::uint32_t value)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", value);
    return text;
}

std::string Quoted(std::string_view gbk)
{
    std::string quoted = "\"";
    quoted += codepage::GbkToUtf8(gbk);
    quoted += '"';
    return quoted;
}

std::string NameOrNull(const char* gbk)
{
    return gbk ? Quoted(gbk) : "(none)";
}

void PrintHeader(const runtime::ProgramHeader& h, std::ostream& out)
{
    out << "Program header\n"
        << "  run mode: " << h.runMode << "\n"
        << "  reserved: " << h.reserved << "\n"
        << "  build number: " << h.buildNumber << "\n"
        << "  code base: " << h.codeBase << "\n"
        << "  static data block: " << h.staticDataSize << " bytes\n"
        << "  window template: " << h.windowTemplateSize << " bytes\n"
        << "  support libraries: " << h.libraryCount << "\n"
        << "  DLL commands: " << h.dllCommandCount << "\n";
}

void PrintDataType(std::int32_t number, const runtime::DataTypeRecord& type, std::ostream& out)
{
    out << "    type " << number << ": " << NameOrNull(type.displayName) << " "
        << (type.programmingName ? type.programmingName : "?") << ", state flags " << Hex(type.stateFlags) << ", "
        << type.propertyCount << " properties, interface routine " << (type.interfaceRoutine ? "set" : "not set")
        << "\n";
    if (type.propertyCount <= 0 || !type.properties)
        return;
    out << "      property kinds:";
    for (std::int32_t i = 0; i < type.propertyCount; ++i)
        out << (i == 0 ? " " : ", ") << type.properties[i].kind;
    out << "\n";
}

void PrintLibraries(const runtime::ProgramHeader& h, std::ostream& out)
{
    out << "Support libraries\n";
    for (std::int32_t i = 0; i < h.libraryCount && h.libraries; ++i) {
        const runtime::LibraryRecord* library = h.libraries[i];
        if (!library) {
            out << "  library " << i + 1 << ": missing\n";
            continue;
        }
        int filled = 0;
        for (std::int32_t c = 0; c < library->commandCount && library->commands; ++c)
            filled += library->commands[c] ? 1 : 0;
        int used = 0;
        for (std::int32_t t = 0; t < library->dataTypeCount && library->dataTypes; ++t)
            used += library->dataTypes[t].programmingName ? 1 : 0;
        out << "  library " << i + 1 << ": " << NameOrNull(library->displayName) << ", identifier "
            << (library->identifier ? library->identifier : "(none)") << ", version " << library->majorVersion << "."
            << library->minorVersion << "." << library->build << ", format " << library->formatNumber << "\n"
            << "    " << library->dataTypeCount << " data type positions (" << used << " used), "
            << library->commandCount << " command routine slots (" << filled << " filled), notify routine "
            << (library->notify ? "set" : "not set") << "\n";
        for (std::int32_t t = 0; t < library->dataTypeCount && library->dataTypes; ++t)
            if (library->dataTypes[t].programmingName)
                PrintDataType(t + 1, library->dataTypes[t], out);
    }
}

void PrintDllCommands(const runtime::ProgramHeader& h, std::ostream& out)
{
    out << "DLL commands\n";
    for (std::int32_t i = 0; i < h.dllCommandCount; ++i) {
        const char* library = h.dllLibraryNames ? h.dllLibraryNames[i] : nullptr;
        const char* exportName = h.dllExportNames ? h.dllExportNames[i] : nullptr;
        out << "  " << i << ": " << (library && *library ? Quoted(library) : "(system library)") << " "
            << (exportName ? Quoted(exportName) : "(none)") << "\n";
    }
}

std::string FlagsText(std::uint32_t flags)
{
    std::string text = std::to_string(flags) + ((flags & forms::kUnitVisible) ? " (visible" : " (hidden");
    if (flags & forms::kUnitDisabled)
        text += ", disabled";
    if (flags & forms::kUnitTabStop)
        text += ", tab stop";
    return text + ")";
}

std::string MousePointerText(const std::vector<std::uint8_t>& pointer)
{
    if (pointer.size() < 4)
        return DescribeSize(pointer.size());
    std::int32_t kind = runtime::LoadWord(pointer.data());
    std::string text = "kind " + std::to_string(kind);
    if (pointer.size() > 4)
        text += ", custom cursor of " + DescribeSize(pointer.size() - 4);
    return text + " (" + std::to_string(pointer.size()) + " bytes)";
}

class UnitPrinter {
public:
    UnitPrinter(std::span<const std::string_view> handlerNames, std::uintptr_t codeBase, std::ostream& out)
        : m_handlerNames(handlerNames), m_codeBase(codeBase), m_out(out)
    {
    }

    void Print(std::int32_t index, const forms::UnitRecord& unit);

private:
    std::string HandlerName(std::uint32_t value) const;
    void PrintOrdinary(const forms::UnitRecordFields& fields);
    void PrintRecord(runtime::DataTypeTag type, Bytes data);
    template <typename Record>
    void PrintFields(const Record& record);
    void PrintBlockDetails(units::BlockContent content, Bytes block);

    std::span<const std::string_view> m_handlerNames;
    std::uintptr_t m_codeBase;
    std::ostream& m_out;
};

std::string UnitPrinter::HandlerName(std::uint32_t value) const
{
    auto position = forms::HandlerPosition(value, m_codeBase);
    if (!position)
        return "none";
    if (*position < m_handlerNames.size())
        return std::string(m_handlerNames[*position]);
    return "handler " + Hex(value) + " (not in the handler list)";
}

void UnitPrinter::Print(std::int32_t index, const forms::UnitRecord& unit)
{
    auto fields = forms::DecodeUnit(unit);
    m_out << "  #" << index << " " << Hex(unit.unitId) << " ";
    if (!fields) {
        m_out << "malformed record, " << DescribeSize(unit.data.size()) << "\n";
        return;
    }
    m_out << Quoted(fields->name) << " ";
    if (fields->menu) {
        m_out << "menu item, caption " << Quoted(fields->menu->caption) << ", flags " << fields->menu->flags
              << ", handler " << HandlerName(fields->menu->handler) << "\n";
        return;
    }
    PrintOrdinary(*fields);
}

void UnitPrinter::PrintOrdinary(const forms::UnitRecordFields& f)
{
    std::string typeName = Hex(f.type);
    if (const runtime::DataTypeRecord* type = forms::FindDataType(f.type))
        typeName = type->programmingName;
    m_out << typeName << "\n"
          << "     position " << f.position.left << ", " << f.position.top << ", " << f.position.width << ", "
          << f.position.height << "; flags " << FlagsText(f.flags) << "; tab order " << f.tabOrder << "\n"
          << "     parent " << Hex(f.parent) << "; children " << f.children.size() << "; event source "
          << Hex(f.eventSource) << "; mouse pointer " << MousePointerText(f.mousePointer) << "; tag "
          << Quoted(f.tag) << "; remark " << Quoted(f.remark) << "\n";
    m_out << "     events:";
    if (f.events.empty())
        m_out << " none";
    for (std::size_t i = 0; i < f.events.size(); ++i)
        m_out << (i ? ", " : " ") << "event " << f.events[i].event << " -> " << HandlerName(f.events[i].handler);
    m_out << "\n";
    PrintRecord(f.type, f.specific);
}

void UnitPrinter::PrintRecord(runtime::DataTypeTag type, Bytes data)
{
    if (data.empty()) {
        m_out << "     no unit-specific data (the unit starts from its defaults)\n";
        return;
    }
    bool known = units::VisitRecordType(type, [&]<typename Record>(std::type_identity<Record>) {
        const auto& layout = units::LayoutOf<Record>();
        auto version = units::StoredVersion(data);
        m_out << "     " << layout.name << ", version " << (version ? std::to_string(*version) : "?") << ", "
              << DescribeSize(data.size()) << "\n";
        auto record = units::LoadRecord<Record>(data);
        if (!record) {
            m_out << "       the record does not load\n";
            return;
        }
        PrintFields(*record);
    });
    if (!known)
        m_out << "     unit-specific data of an unknown type, " << DescribeSize(data.size()) << "\n";
}

template <typename Record>
void UnitPrinter::PrintFields(const Record& record)
{
    for (const units::RecordField<Record>& field : units::LayoutOf<Record>().fields) {
        m_out << "       " << field.name << " = ";
        std::visit(
            [&](auto member) {
                const auto& value = record.*member;
                using Value = std::decay_t<decltype(value)>;
                if constexpr (std::is_same_v<Value, std::string>) {
                    m_out << Quoted(value) << "\n";
                } else if constexpr (std::is_same_v<Value, units::Bytes>) {
                    m_out << DescribeBlock(value, field.content) << "\n";
                    PrintBlockDetails(field.content, value);
                } else if (field.name.find("Colour") != std::string_view::npos) {
                    m_out << Hex(static_cast<std::uint32_t>(value)) << "\n";
                } else {
                    m_out << +value << "\n";
                }
            },
            field.member);
    }
}

void UnitPrinter::PrintBlockDetails(units::BlockContent content, Bytes block)
{
    if (block.empty())
        return;
    // One indented line per record of the block, or one saying it is damaged.
    auto printItems = [&](const auto& items, const char* what, auto line) {
        if (!items) {
            m_out << "         malformed " << what << "\n";
            return;
        }
        for (std::size_t i = 0; i < items->size(); ++i) {
            m_out << "         ";
            line(i, (*items)[i]);
            m_out << "\n";
        }
    };
    if (content == units::BlockContent::Columns) {
        printItems(units::ParseListViewColumns(block), "column records", [&](std::size_t i, const auto& c) {
            m_out << "column " << i << ": " << Quoted(c.Title) << ", width " << c.Width << ", alignment "
                  << c.Alignment << ", image " << c.ImageIndex << ", image on right " << int{c.ImageOnRight};
        });
    } else if (content == units::BlockContent::Rows) {
        printItems(units::ParseListViewRows(block), "row records", [&](std::size_t, const auto& r) {
            m_out << (r.Kind == 0 ? "row " : "cell ") << Quoted(r.Text) << ", tip " << Quoted(r.TipText)
                  << ", image " << r.ImageIndex << ", state image " << r.StateImageIndex << ", indent " << r.Indent
                  << ", item data " << r.ItemData;
        });
    } else if (content == units::BlockContent::Parts) {
        printItems(units::ParseStatusBarParts(block), "parts block", [&](std::size_t i, const auto& p) {
            m_out << "part #" << i << ": width " << p.Width << ", style " << p.Style << ", image " << p.ImageIndex
                  << ", text " << Quoted(p.Text) << ", tip " << Quoted(p.TipText);
        });
    }
}

}  // namespace

bool ListProgram(const runtime::ProgramHeader& header, std::span<const std::string_view> handlerNames,
                    std::ostream& out)
{
    PrintHeader(header, out);
    PrintLibraries(header, out);
    PrintDllCommands(header, out);
    std::span<const std::uint8_t> stream;
    if (header.windowTemplateStart && header.windowTemplateSize > 0)
        stream = {header.windowTemplateStart, static_cast<std::size_t>(header.windowTemplateSize)};
    auto forms = forms::ReadTemplate(stream, header.codeBase);
    if (!forms) {
        out << "Window template: cannot be read\n";
        return false;
    }
    UnitPrinter printer(handlerNames, header.codeBase, out);
    for (const forms::TemplateForm& form : forms->Forms()) {
        out << "Form " << Hex(form.formId) << ": " << form.units.Count() << " units; words " << form.words[0] << ", "
            << form.words[1] << "; texts " << Quoted(form.texts[0]) << ", " << Quoted(form.texts[1]) << "\n";
        for (std::int32_t i = 0; i < form.units.Count(); ++i)
            if (auto unit = form.units.UnitData(i))
                printer.Print(i, *unit);
    }
    return true;
}

}  // namespace vellumry::listing
