#pragma once

// The status bar unit: a strip of parts along the bottom (or top) of its
// form, each part showing a text between the right edge of the part before it
// and its own (PartEdges). The parts live in the `Parts` block, which the unit
// keeps up to date, so that saving the unit saves what it shows. Window
// thread only; the SetPartText command carries its call over
// (StatusBarCommands.h).

#include <QPointer>

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "forms/description/Identifiers.h"
#include "forms/engine/UnitType.h"
#include "units/common/UnitObject.h"
#include "units/common/UnitTypeRoutines.h"
#include "units/statusbar/StatusBarParts.h"
#include "units/statusbar/StatusBarProperties.h"

class QPainter;
class QWidget;

namespace vellumry::units {

// What the part routine sets: only the text is a command of the library.
enum class PartField : std::int32_t { Text = 0, TipText = 1, Width = 2, Style = 3, Image = 4 };

class CStatusBarUnit : public UnitObject {
public:
    // Null when the record does not load or the window cannot be made.
    static CStatusBarUnit* Create(const CreateArguments& arguments);
    ~CStatusBarUnit() override;

    std::int32_t WriteProperty(std::int32_t number, const forms::UnitPropertyValue& value);
    std::int32_t ReadProperty(std::int32_t number, forms::UnitPropertyValue* value) const;
    std::vector<std::uint8_t> Save() const;

    // Sets one field of part `index`: `text` for the texts, `number` for the
    // others. An index below 0 or not below the part count does nothing
    // (false).
    bool SetPart(PartField field, std::int32_t index, std::int32_t number, std::string_view text);

    const StatusBarProperties& Properties() const { return m_properties; }
    const std::vector<StatusBarPart>& Parts() const { return m_parts; }
    const std::vector<std::int32_t>& Edges() const { return m_edges; }

    void Paint(QPainter& painter);
    // Aligned to its parent (bar position 0 or 1), the bar spans the
    // parent's width along the bottom or the top edge at its own height;
    // called at creation and whenever the parent is resized.
    void AlignToParent();
    // The part under a point of the window, -1 for none.
    std::int32_t PartAt(int x) const;

private:
    explicit CStatusBarUnit(const CreateArguments& arguments) : UnitObject(arguments) {}
    bool CreateWindowFor(const CreateArguments& arguments);
    // Reads the parts from the block again and redraws them.
    void RefreshParts();
    void ApplyFont();

    StatusBarProperties m_properties;
    std::vector<StatusBarPart> m_parts;
    std::vector<std::int32_t> m_edges;
    QPointer<QWidget> m_widget;
};

}  // namespace vellumry::units
