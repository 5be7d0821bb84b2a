#pragma once

// The edit box unit: a box of one line or of several, with its border,
// colours and font, an input mode that filters typed characters, guards the
// text (read-only, password) and rewrites it as a number or a date when the
// box loses the focus, and in spin modes an up-down control that steps the
// number (mode 1) or reports the step (mode 2, event 1). Every change of the
// text raises ContentChanged (event 0) once; writing Content sets the text
// and raises it once, not twice. Focus events -7 and -8. It reaches the
// runtime through the units' host only.
//
// Window thread only: the form engine carries property reads and writes
// from workers over as one call each.

#include <QPointer>

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "forms/description/Identifiers.h"
#include "forms/engine/UnitType.h"
#include "units/common/UnitObject.h"
#include "units/editbox/EditBoxProperties.h"

class QPainter;
class QString;
class QWidget;

namespace vellumry::units {

class EditBoxFrame;
class EditLine;
class EditArea;
class UpDownControl;

class CEditBoxUnit : public UnitObject {
public:
    // Null when the record does not load or the window cannot be made.
    static CEditBoxUnit* Create(const CreateArguments& arguments);
    ~CEditBoxUnit() override;

    std::int32_t WriteProperty(std::int32_t number, const forms::UnitPropertyValue& value);
    std::int32_t ReadProperty(std::int32_t number, forms::UnitPropertyValue* value) const;
    std::vector<std::uint8_t> Save() const;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // From the widgets.
    void PaintFrame(QPainter& painter);
    void LayOut();
    // False when the typed text is refused; applies the letter case to it.
    bool FilterTyped(QString& text) const;
    void OnFocusIn();
    // Rewrites the text by the input mode, then raises -8. The handler may
    // destroy the unit.
    void OnFocusOut();
    // An up-down click; the handler may destroy the unit.
    void OnSpin(std::int32_t step);
    // Any change of the editor's text: ContentChanged, unless the unit
    // writes Content itself. The handler may destroy the unit.
    void OnTextChanged();

    // The stored properties; the text and the selection are the editor's.
    const EditBoxProperties& Properties() const { return m_properties; }
    std::string Text() const;
    // Selection start and length, in characters.
    std::pair<int, int> Selection() const;
    QWidget* Editor() const;
    UpDownControl* Spin() const;
    static const char* ClassName();

private:
    explicit CEditBoxUnit(const CreateArguments& arguments) : UnitObject(arguments) {}
    bool CreateWindowFor(const CreateArguments& arguments);
    void CreateEditor();
    void CreateSpin(std::int32_t controlId);
    void ApplyFont();
    void ApplyColours();
    void ApplyInputMode();
    void ApplyBorder();
    void ApplySelection();
    // Sets the text; ContentChanged follows unless the unit raises it itself.
    void SetText(const std::string& text);
    void ReplaceSelection(const std::string& text);

    EditBoxProperties m_properties;
    QPointer<EditBoxFrame> m_frame;
    QPointer<EditLine> m_line;
    QPointer<EditArea> m_area;
    QPointer<UpDownControl> m_spin;
    bool m_creationFlag = false;
    // Set while the unit writes the text of a Content write itself.
    bool m_settingText = false;
};

}  // namespace vellumry::units
