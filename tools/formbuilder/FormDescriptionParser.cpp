#include "tools/formbuilder/FormDescriptionParser.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <span>

#include "forms/description/SupportLibraries.h"
#include "tools/formbuilder/FormTokens.h"
#include "tools/formbuilder/RecordDraft.h"
#include "units/listview/ListViewColumns.h"
#include "units/listview/ListViewRows.h"
#include "units/statusbar/StatusBarParts.h"

namespace vellumry::formbuilder {
namespace {

using Tokens = std::span<const Token>;

struct PendingUnit {
    forms::UnitRecordFields fields;
    std::unique_ptr<RecordDraft> draft;  // null for menu items
    bool hasRecord = false;
    std::vector<units::ListViewColumn> columns;
    std::vector<units::ListViewRowRecord> rows;
    std::vector<units::StatusBarPart> parts;
};

void ExpectCount(Tokens args, std::size_t count)
{
    if (args.size() != count)
        throw FormBuildError("expected " + std::to_string(count) + " argument(s), found " + std::to_string(args.size()));
}

const std::string& Quoted(const Token& token)
{
    if (!token.quoted)
        throw FormBuildError("expected a quoted text, found " + token.text);
    return token.text;
}

std::int32_t Int(const Token& token)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(ParseNumber(token.text)));
}

std::uint32_t Word(const Token& token)
{
    return static_cast<std::uint32_t>(ParseNumber(token.text));
}

class Parser {
public:
    explicit Parser(const BuildInputs& inputs) : m_inputs(inputs) {}

    void Statement(const std::string& keyword, Tokens args);
    std::vector<forms::FormDescription> Finish();

private:
    forms::FormDescription& CurrentForm();
    PendingUnit& CurrentUnit();
    forms::UnitRecordFields& OrdinaryUnit();
    forms::MenuItemFields& MenuItem();
    void FinishUnit();
    void StartForm(Tokens args);
    void StartUnit(Tokens args);
    void StartMenuItem(Tokens args);
    std::uint32_t Handler(const Token& token) const;
    FieldValue Value(Tokens args) const;
    RecordDraft& Draft();
    void AddColumn(Tokens args);

    const BuildInputs& m_inputs;
    std::vector<forms::FormDescription> m_forms;
    std::optional<PendingUnit> m_unit;
};

forms::FormDescription& Parser::CurrentForm()
{
    if (m_forms.empty())
        throw FormBuildError("a form statement must come first");
    return m_forms.back();
}

PendingUnit& Parser::CurrentUnit()
{
    if (!m_unit)
        throw FormBuildError("this statement belongs to a unit or menu item");
    return *m_unit;
}

forms::UnitRecordFields& Parser::OrdinaryUnit()
{
    PendingUnit& unit = CurrentUnit();
    if (!unit.draft)
        throw FormBuildError("a menu item has no such field");
    return unit.fields;
}

forms::MenuItemFields& Parser::MenuItem()
{
    PendingUnit& unit = CurrentUnit();
    if (unit.draft)
        throw FormBuildError("only a menu item has this field");
    return *unit.fields.menu;
}

RecordDraft& Parser::Draft()
{
    OrdinaryUnit();
    m_unit->hasRecord = true;
    return *m_unit->draft;
}

void Parser::FinishUnit()
{
    if (!m_unit)
        return;
    PendingUnit& unit = *m_unit;
    if (unit.draft) {
        auto setBlock = [&](const char* field, std::vector<std::uint8_t> bytes) {
            FieldValue value;
            value.kind = FieldValue::Kind::Bytes;
            value.bytes = std::move(bytes);
            unit.draft->Set(field, value);
        };
        if (!unit.columns.empty())
            setBlock("Columns", units::WriteListViewColumns(unit.columns));
        if (!unit.rows.empty())
            setBlock("InitialRows", units::WriteListViewRows(unit.rows));
        if (!unit.parts.empty())
            setBlock("Parts", units::WriteStatusBarParts(unit.parts));
        if (unit.hasRecord)
            unit.fields.specific = unit.draft->Save();
    }
    m_forms.back().units.push_back(std::move(unit.fields));
    m_unit.reset();
}

void Parser::StartForm(Tokens args)
{
    FinishUnit();
    ExpectCount(args, 1);
    forms::FormDescription form;
    form.formId = Word(args[0]);
    if (!forms::IsValidId(form.formId) || !forms::IsFormId(form.formId))
        throw FormBuildError("not a form identifier: " + args[0].text);
    for (const auto& other : m_forms)
        if (other.formId == form.formId)
            throw FormBuildError("form listed twice: " + args[0].text);
    m_forms.push_back(std::move(form));
}

void Parser::StartUnit(Tokens args)
{
    FinishUnit();
    forms::FormDescription& form = CurrentForm();
    ExpectCount(args, 3);
    PendingUnit unit;
    unit.fields.unitId = Word(args[0]);
    unit.fields.type = forms::FindDataTypeByName(args[1].text);
    unit.draft = MakeRecordDraft(unit.fields.type);
    if (!unit.draft)
        throw FormBuildError("not a unit type: " + args[1].text);
    std::uint32_t id = unit.fields.unitId;
    bool window = unit.fields.type == runtime::kWindowType;
    if (!forms::IsValidId(id) || forms::IdKind(id) != forms::kUnitKind ||
        forms::IdSubKind(id) != (window ? forms::kWindowUnitSubKind : forms::kOrdinaryUnitSubKind))
        throw FormBuildError("not an identifier of a " + args[1].text + " unit: " + args[0].text);
    if (window != form.units.empty())
        throw FormBuildError("a form's first unit, and only that one, is its window");
    unit.fields.name = ToGbk(Quoted(args[2]));
    m_unit = std::move(unit);
}

void Parser::StartMenuItem(Tokens args)
{
    FinishUnit();
    forms::FormDescription& form = CurrentForm();
    ExpectCount(args, 2);
    if (form.units.empty())
        throw FormBuildError("a form's first unit is its window");
    PendingUnit unit;
    unit.fields.unitId = Word(args[0]);
    if (!forms::IsValidId(unit.fields.unitId) || forms::IdKind(unit.fields.unitId) != forms::kUnitKind ||
        forms::IdSubKind(unit.fields.unitId) != forms::kMenuItemSubKind)
        throw FormBuildError("not a menu item identifier: " + args[0].text);
    unit.fields.type = runtime::kMenuItemType;
    unit.fields.name = ToGbk(Quoted(args[1]));
    unit.fields.menu.emplace();
    m_unit = std::move(unit);
}

std::uint32_t Parser::Handler(const Token& token) const
{
    if (token.text == "none" && !token.quoted)
        return forms::kStoredNoHandler;
    const auto& names = m_inputs.handlerNames;
    auto found = std::find(names.begin(), names.end(), token.text);
    if (found == names.end())
        throw FormBuildError("no handler named " + token.text + " in the handler list");
    return static_cast<std::uint32_t>(found - names.begin());
}

FieldValue Parser::Value(Tokens args) const
{
    if (args.empty())
        throw FormBuildError("a value is missing");
    FieldValue value;
    const Token& first = args[0];
    if (first.quoted) {
        ExpectCount(args, 1);
        value.kind = FieldValue::Kind::Text;
        value.text = ToGbk(first.text);
    } else if (first.text == "asset") {
        ExpectCount(args, 2);
        auto asset = m_inputs.assets.find(args[1].text);
        if (asset == m_inputs.assets.end())
            throw FormBuildError("no asset named " + args[1].text + " among the inputs");
        value.kind = FieldValue::Kind::Bytes;
        value.bytes = asset->second;
    } else if (first.text == "hex") {
        ExpectCount(args, 2);
        value.kind = FieldValue::Kind::Bytes;
        value.bytes = ParseHex(args[1].text);
    } else if (first.text == "empty") {
        ExpectCount(args, 1);
    } else {
        ExpectCount(args, 1);
        value.kind = FieldValue::Kind::Number;
        value.number = ParseNumber(first.text);
    }
    return value;
}

void Parser::AddColumn(Tokens args)
{
    if (args.size() < 2)
        throw FormBuildError("column takes a width and a title");
    units::ListViewColumn column;
    column.Width = Int(args[0]);
    column.Title = ToGbk(Quoted(args[1]));
    for (std::size_t i = 2; i < args.size(); ++i) {
        const std::string& option = args[i].text;
        if (option == "image-on-right") {
            column.ImageOnRight = 1;
        } else if ((option == "align" || option == "image") && i + 1 < args.size()) {
            (option == "align" ? column.Alignment : column.ImageIndex) = Int(args[++i]);
        } else {
            throw FormBuildError("unknown column option " + option);
        }
    }
    CurrentUnit().columns.push_back(std::move(column));
}

void Parser::Statement(const std::string& keyword, Tokens args)
{
    if (keyword == "form") {
        StartForm(args);
    } else if (keyword == "form-words") {
        ExpectCount(args, 2);
        CurrentForm().words[0] = Word(args[0]);
        CurrentForm().words[1] = Word(args[1]);
    } else if (keyword == "form-texts") {
        ExpectCount(args, 2);
        CurrentForm().texts[0] = ToGbk(Quoted(args[0]));
        CurrentForm().texts[1] = ToGbk(Quoted(args[1]));
    } else if (keyword == "unit") {
        StartUnit(args);
    } else if (keyword == "menu-item") {
        StartMenuItem(args);
    } else if (keyword == "position") {
        ExpectCount(args, 4);
        OrdinaryUnit().position = {Int(args[0]), Int(args[1]), Int(args[2]), Int(args[3])};
    } else if (keyword == "flags") {
        ExpectCount(args, 1);
        OrdinaryUnit().flags = Word(args[0]);
    } else if (keyword == "tab-order") {
        ExpectCount(args, 1);
        OrdinaryUnit().tabOrder = Int(args[0]);
    } else if (keyword == "parent") {
        ExpectCount(args, 1);
        OrdinaryUnit().parent = Word(args[0]);
    } else if (keyword == "children") {
        auto& children = OrdinaryUnit().children;
        children.clear();
        for (const Token& child : args)
            children.push_back(Word(child));
    } else if (keyword == "event-source") {
        ExpectCount(args, 1);
        CurrentUnit().fields.eventSource = Word(args[0]);
    } else if (keyword == "mouse-pointer") {
        ExpectCount(args, 1);
        OrdinaryUnit().mousePointer = args[0].text == "empty" ? std::vector<std::uint8_t>() : ParseHex(args[0].text);
    } else if (keyword == "tag") {
        ExpectCount(args, 1);
        OrdinaryUnit().tag = ToGbk(Quoted(args[0]));
    } else if (keyword == "remark") {
        ExpectCount(args, 1);
        CurrentUnit().fields.remark = ToGbk(Quoted(args[0]));
    } else if (keyword == "event") {
        ExpectCount(args, 2);
        OrdinaryUnit().events.push_back({Int(args[0]), Handler(args[1])});
    } else if (keyword == "caption") {
        ExpectCount(args, 1);
        MenuItem().caption = ToGbk(Quoted(args[0]));
    } else if (keyword == "menu-flags") {
        ExpectCount(args, 1);
        MenuItem().flags = Word(args[0]);
    } else if (keyword == "handler") {
        ExpectCount(args, 1);
        MenuItem().handler = Handler(args[0]);
    } else if (keyword == "record") {
        ExpectCount(args, 0);
        Draft();
    } else if (keyword == "set") {
        if (args.empty())
            throw FormBuildError("set takes a field and a value");
        Draft().Set(args[0].text, Value(args.subspan(1)));
    } else if (keyword == "column" || keyword == "row" || keyword == "part") {
        Draft();
        runtime::DataTypeTag owner = keyword == "part" ? runtime::kStatusBarType : runtime::kListViewType;
        if (m_unit->fields.type != owner)
            throw FormBuildError(keyword + " belongs to a " + (keyword == "part" ? "StatusBar" : "ListView") + " unit");
        if (keyword == "column") {
            AddColumn(args);
        } else if (keyword == "row") {
            ExpectCount(args, 7);
            m_unit->rows.push_back({static_cast<std::uint8_t>(Word(args[0])), Int(args[1]), Int(args[2]), Int(args[3]),
                                    Int(args[4]), ToGbk(Quoted(args[5])), ToGbk(Quoted(args[6]))});
        } else {
            ExpectCount(args, 5);
            m_unit->parts.push_back(
                {Int(args[0]), Int(args[1]), Int(args[2]), ToGbk(Quoted(args[3])), ToGbk(Quoted(args[4]))});
        }
    } else {
        throw FormBuildError("unknown statement " + keyword);
    }
}

std::vector<forms::FormDescription> Parser::Finish()
{
    FinishUnit();
    if (m_forms.empty())
        throw FormBuildError("the description holds no form");
    for (const auto& form : m_forms)
        if (form.units.empty())
            throw FormBuildError("a form has no window unit");
    return std::move(m_forms);
}

}  // namespace

std::vector<forms::FormDescription> ParseFormDescription(std::string_view text, std::string_view fileName,
                                                         const BuildInputs& inputs)
{
    Parser parser(inputs);
    int lineNumber = 0;
    auto where = [&] { return std::string(fileName) + ":" + std::to_string(lineNumber) + ": "; };
    try {
        while (!text.empty()) {
            auto end = text.find('\n');
            std::string_view line = text.substr(0, end);
            text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
            ++lineNumber;
            auto first = line.find_first_not_of(" \t\r");
            if (first == std::string_view::npos || line[first] == '#')
                continue;
            std::vector<Token> tokens = SplitLine(line);
            if (tokens[0].quoted)
                throw FormBuildError("a statement starts with a keyword");
            parser.Statement(tokens[0].text, Tokens(tokens).subspan(1));
        }
        ++lineNumber;
        return parser.Finish();
    } catch (const FormBuildError& error) {
        throw FormBuildError(where() + error.what());
    }
}

}  // namespace vellumry::formbuilder
