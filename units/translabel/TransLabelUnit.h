#pragma once

// The transparent label unit: a child window without a background that draws
// its caption straight over whatever lies behind it, in one colour with an
// optional white or black shadow copy, aligned in its rectangle and wrapped
// at words on request. After every property write and every move it has the
// area behind it repainted first (SeeThroughRepaint.h). It raises no events
// and reaches the runtime through the units' host only. Window thread only.

#include <QPointer>

#include <cstdint>
#include <span>
#include <vector>

#include "forms/description/Identifiers.h"
#include "forms/engine/UnitType.h"
#include "units/common/UnitObject.h"
#include "units/translabel/TransLabelProperties.h"

class QPainter;

namespace vellumry::units {

class TransLabelWidget;

class CTransLabelUnit : public UnitObject {
public:
    // Null when the record does not load or the window cannot be made.
    static CTransLabelUnit* Create(const CreateArguments& arguments);
    ~CTransLabelUnit() override;

    std::int32_t WriteProperty(std::int32_t number, const forms::UnitPropertyValue& value);
    std::int32_t ReadProperty(std::int32_t number, forms::UnitPropertyValue* value) const;
    std::vector<std::uint8_t> Save() const;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Draws the caption with its effect; nothing when the caption is empty.
    void Paint(QPainter& painter);

    const TransLabelProperties& Properties() const { return m_properties; }
    static const char* ClassName();

private:
    explicit CTransLabelUnit(const CreateArguments& arguments) : UnitObject(arguments) {}
    bool CreateWindowFor(const CreateArguments& arguments);

    TransLabelProperties m_properties;
    QPointer<TransLabelWidget> m_widget;
};

}  // namespace vellumry::units
