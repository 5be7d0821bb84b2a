#include "units/editbox/EditBoxUnit.h"

#include <QFontMetrics>
#include <QPainter>
#include <QTextCursor>
#include <QTextDocumentFragment>
#include <QTextOption>

#include <algorithm>
#include <limits>
#include <memory>
#include <optional>

#include "platform/ui/WinUser.h"
#include "platform/ui/qt/WidgetWindows.h"
#include "units/common/BorderPainting.h"
#include "units/common/BorderStyle.h"
#include "units/common/ControlStyles.h"
#include "units/common/DisplayText.h"
#include "units/common/LiveUnits.h"
#include "units/common/UnitClass.h"
#include "units/common/UnitFont.h"
#include "units/common/UnitHost.h"
#include "units/editbox/EditBoxInput.h"
#include "units/editbox/EditBoxWidgets.h"

namespace vellumry::units {
namespace {

constexpr const char* kClassName = "EDIT";
constexpr const char* kSpinClassName = "msctls_updown32";
constexpr std::int32_t kSpinControlIdOffset = 4;
constexpr std::int32_t kHighestScrollBars = 3;
constexpr std::int32_t kHighestAlignment = 2;
constexpr std::int32_t kHighestLetterCase = 2;
constexpr std::int32_t kHighestSpinMode = 2;
constexpr int kEdgeHeight = 2;  // SM_CYEDGE
constexpr DWORD kOwnStyleBits = ES_CENTER | ES_RIGHT | ES_MULTILINE | ES_UPPERCASE | ES_LOWERCASE | ES_PASSWORD |
                                ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_NOHIDESEL | ES_READONLY | ES_WANTRETURN |
                                WS_HSCROLL | WS_VSCROLL;

enum EditBoxProperty : std::int32_t {
    kContent = 0, kBorderStyle, kTextColour, kBackColour, kFont, kHideSelection, kMaxLength, kMultiLine,
    kScrollBars, kTextAlignment, kInputMode, kPasswordChar, kLetterCase, kSpinMode, kSpinMin, kSpinMax,
    kSelectionStart, kSelectionLength, kSelectedText, kBoundUnit1, kBoundUnit2,
};

enum EditBoxEvent : std::int32_t {
    kEventContentChanged = 0, kEventSpinPressed = 1, kEventGotFocus = -7, kEventLostFocus = -8,
};

enum InputModeOf : std::int32_t { kReadOnlyMode = 1, kPasswordMode = 2 };
enum SpinModeOf : std::int32_t { kSpinSteps = 1, kSpinReports = 2 };

DWORD EditStyleBits(const EditBoxProperties& p)
{
    DWORD bits = 0;
    if (p.HideSelection == 0)
        bits |= ES_NOHIDESEL;
    if (p.MultiLine != 0) {
        bits |= ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;
        if (p.ScrollBars == 1 || p.ScrollBars == 3)
            bits |= ES_AUTOHSCROLL;
        if (p.ScrollBars == 1 || p.ScrollBars == 3)
            bits |= WS_HSCROLL;
        if (p.ScrollBars == 2 || p.ScrollBars == 3)
            bits |= WS_VSCROLL;
    } else {
        bits |= ES_AUTOHSCROLL;
    }
    if (p.TextAlignment == 1)
        bits |= ES_CENTER;
    else if (p.TextAlignment == 2)
        bits |= ES_RIGHT;
    if (p.InputMode == kReadOnlyMode)
        bits |= ES_READONLY;
    else if (p.InputMode == kPasswordMode)
        bits |= ES_PASSWORD;
    if (p.LetterCase == 1)
        bits |= ES_LOWERCASE;
    else if (p.LetterCase == 2)
        bits |= ES_UPPERCASE;
    return bits;
}

Qt::Alignment HorizontalAlignment(std::int32_t alignment)
{
    switch (alignment) {
    case 1: return Qt::AlignHCenter;
    case 2: return Qt::AlignRight;
    default: return Qt::AlignLeft;
    }
}

// Several lines are kept with CR LF in the unit's texts and with LF in the
// editor.
QString ToEditor(const std::string& text, bool multiLine)
{
    QString shown = DisplayText(text);
    if (multiLine)
        shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return shown;
}

std::string FromEditor(QString text, bool multiLine)
{
    if (multiLine)
        text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return StoredText(text);
}

bool StaticEdgeFor(std::int32_t borderStyle)
{
    return borderStyle == 0 || borderStyle == 1 || borderStyle == 3;
}

}  // namespace

const char* CEditBoxUnit::ClassName()
{
    return kClassName;
}

CEditBoxUnit* CEditBoxUnit::Create(const CreateArguments& arguments)
{
    auto properties = LoadRecord<EditBoxProperties>(arguments.record);
    if (!properties)
        return nullptr;
    std::unique_ptr<CEditBoxUnit> unit(new CEditBoxUnit(arguments));
    unit->m_properties = std::move(*properties);
    unit->m_creationFlag = arguments.creationFlag;
    if (!unit->CreateWindowFor(arguments))
        return nullptr;
    return AdoptUnit(std::move(unit));
}

CEditBoxUnit::~CEditBoxUnit()
{
    if (m_frame)
        m_frame->ForgetUnit();
    if (m_line)
        m_line->ForgetUnit();
    if (m_area)
        m_area->ForgetUnit();
    if (m_spin)
        m_spin->ForgetUnit();
}

bool CEditBoxUnit::CreateWindowFor(const CreateArguments& arguments)
{
    if (!EnsureUnitClass(kClassName))
        return false;
    EditBoxProperties& p = m_properties;
    QWidget* parentWidget = arguments.parent ? ui::WidgetOf(arguments.parent) : nullptr;
    auto frame = std::make_unique<EditBoxFrame>(*this, parentWidget);
    EditBoxFrame* widgetOfWindow = frame.get();
    DWORD style = arguments.baseStyle | WS_CHILD | WS_CLIPSIBLINGS | EditStyleBits(p);
    if (!AttachWidget(std::move(frame), kClassName, style, 0, arguments))
        return false;
    m_frame = widgetOfWindow;
    HWND window = Handle();
    CreateEditor();
    m_settingText = true;
    SetText(p.Content);
    m_settingText = false;

    ApplyFont();
    ApplyColours();
    ApplyInputMode();
    if (p.MultiLine == 0 && p.SpinMode != 0)
        CreateSpin(arguments.controlId + kSpinControlIdOffset);
    ApplySelection();
    ApplyBorder();
    if (style & WS_VISIBLE)
        ShowWindow(window, SW_SHOWNA);
    return true;
}

void CEditBoxUnit::CreateEditor()
{
    const EditBoxProperties& p = m_properties;
    QWidget* editor = nullptr;
    if (p.MultiLine != 0) {
        m_area = new EditArea(*this, m_frame);
        bool horizontal = p.ScrollBars == 1 || p.ScrollBars == 3;
        bool vertical = p.ScrollBars == 2 || p.ScrollBars == 3;
        m_area->setHorizontalScrollBarPolicy(horizontal ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
        m_area->setVerticalScrollBarPolicy(vertical ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
        // Without a horizontal scroll bar lines break at the box's width.
        m_area->setLineWrapMode(horizontal ? QPlainTextEdit::NoWrap : QPlainTextEdit::WidgetWidth);
        QTextOption option = m_area->document()->defaultTextOption();
        option.setAlignment(HorizontalAlignment(p.TextAlignment));
        m_area->document()->setDefaultTextOption(option);
        QObject::connect(m_area, &QPlainTextEdit::textChanged, m_area, [area = m_area.data()] { area->TextChanged(); });
        editor = m_area;
    } else {
        m_line = new EditLine(*this, m_frame);
        m_line->setAlignment(HorizontalAlignment(p.TextAlignment) | Qt::AlignVCenter);
        // No limit of its own: MaxLength limits typing only, never a text
        // the program sets.
        m_line->setMaxLength(std::numeric_limits<int>::max());
        QObject::connect(m_line, &QLineEdit::textChanged, m_line, [line = m_line.data()] { line->TextChanged(); });
        editor = m_line;
    }
    m_frame->setFocusProxy(editor);
    m_frame->setFocusPolicy(Qt::StrongFocus);
    editor->show();
}

void CEditBoxUnit::CreateSpin(std::int32_t controlId)
{
    if (!EnsureUnitClass(kSpinClassName)) {
        m_properties.SpinMode = 0;
        return;
    }
    auto spin = std::make_unique<UpDownControl>(*this, m_frame);
    DWORD exStyle = StaticEdgeFor(m_properties.BorderStyle) ? WS_EX_STATICEDGE : 0;
    HWND window = ui::AttachWidgetWindow(spin.get(), kSpinClassName, WS_CHILD | WS_CLIPSIBLINGS | WS_VISIBLE,
                                         exStyle, nullptr, controlId);
    if (!window) {
        m_properties.SpinMode = 0;
        return;
    }
    m_spin = spin.release();  // the box's widget owns it now
    m_spin->show();
    LayOut();
}

UpDownControl* CEditBoxUnit::Spin() const
{
    return m_spin;
}

QWidget* CEditBoxUnit::Editor() const
{
    if (m_line)
        return m_line;
    return m_area;
}

std::string CEditBoxUnit::Text() const
{
    if (m_line)
        return FromEditor(m_line->text(), false);
    if (m_area)
        return FromEditor(m_area->toPlainText(), true);
    return m_properties.Content;
}

std::pair<int, int> CEditBoxUnit::Selection() const
{
    if (m_line) {
        if (!m_line->hasSelectedText())
            return {m_line->cursorPosition(), 0};
        return {m_line->selectionStart(), m_line->selectionLength()};
    }
    if (m_area) {
        QTextCursor cursor = m_area->textCursor();
        return {cursor.selectionStart(), cursor.selectionEnd() - cursor.selectionStart()};
    }
    return {0, 0};
}

void CEditBoxUnit::SetText(const std::string& text)
{
    if (m_line)
        m_line->setText(ToEditor(text, false));
    else if (m_area)
        m_area->setPlainText(ToEditor(text, true));
}

void CEditBoxUnit::ReplaceSelection(const std::string& text)
{
    if (m_line)
        m_line->insert(ToEditor(text, false));
    else if (m_area)
        m_area->insertPlainText(ToEditor(text, true));
}

void CEditBoxUnit::OnTextChanged()
{
    if (!IsWindow(Handle()))
        return;  // the window is going: its editor's last changes are no one's
    // The window text follows the editor, for GetWindowTextA.
    std::string text = Text();
    WindowObject::WindowProc(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    if (!m_settingText)
        Raise(kEventContentChanged);
}

void CEditBoxUnit::ApplyFont()
{
    QWidget* editor = Editor();
    if (!editor)
        return;
    QFont font = FontOfBlock(m_properties.Font);
    editor->setFont(font);
    if (m_properties.MultiLine != 0)
        return;
    // One line of the font and the two edges must fit.
    int needed = QFontMetrics(font).height() + 2 * kEdgeHeight;
    RECT rect;
    GetWindowRect(Handle(), &rect);
    if (rect.bottom - rect.top < needed)
        SetWindowPos(Handle(), nullptr, 0, 0, rect.right - rect.left, needed,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CEditBoxUnit::ApplyColours()
{
    QWidget* editor = Editor();
    if (!editor)
        return;
    QColor text = ColourOfReference(m_properties.TextColour);
    QColor back = ColourOfReference(m_properties.BackColour);
    QPalette palette = editor->palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::Text, text);
        palette.setColor(group, QPalette::Base, back);
    }
    // A box that hides its selection shows none while it has no focus.
    QPalette active = palette;
    palette.setColor(QPalette::Inactive, QPalette::Highlight,
                     m_properties.HideSelection != 0 ? back : active.color(QPalette::Active, QPalette::Highlight));
    palette.setColor(QPalette::Inactive, QPalette::HighlightedText,
                     m_properties.HideSelection != 0 ? text
                                                     : active.color(QPalette::Active, QPalette::HighlightedText));
    editor->setPalette(palette);
    if (m_frame)
        m_frame->update();
}

void CEditBoxUnit::ApplyInputMode()
{
    EditBoxProperties& p = m_properties;
    auto style = static_cast<DWORD>(GetWindowLongA(Handle(), GWL_STYLE));
    style &= ~(ES_READONLY | ES_PASSWORD);
    if (p.InputMode == kReadOnlyMode)
        style |= ES_READONLY;
    else if (p.InputMode == kPasswordMode)
        style |= ES_PASSWORD;
    SetWindowLongA(Handle(), GWL_STYLE, static_cast<LONG>(style));
    bool readOnly = p.InputMode == kReadOnlyMode;
    if (m_area)
        m_area->setReadOnly(readOnly);
    if (!m_line)
        return;
    m_line->setReadOnly(readOnly);
    auto character = static_cast<unsigned char>(p.PasswordChar & 0xFF);
    if (p.InputMode == kPasswordMode && character != 0) {
        m_line->setEchoMode(QLineEdit::Password);
        QString mask = DisplayText(std::string(1, static_cast<char>(character)));
        QChar shown = mask.isEmpty() ? QChar(QLatin1Char('*')) : mask.at(0);
        m_line->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: %1; }").arg(shown.unicode()));
    } else {
        m_line->setEchoMode(QLineEdit::Normal);
        m_line->setStyleSheet(QString());
    }
    m_line->update();
}

void CEditBoxUnit::ApplyBorder()
{
    ApplyBorderStyle(Handle(), m_properties.BorderStyle);
    if (m_spin) {
        HWND spin = ui::WindowOf(m_spin);
        auto exStyle = static_cast<DWORD>(GetWindowLongA(spin, GWL_EXSTYLE)) & ~WS_EX_STATICEDGE;
        if (StaticEdgeFor(m_properties.BorderStyle))
            exStyle |= WS_EX_STATICEDGE;
        SetWindowLongA(spin, GWL_EXSTYLE, static_cast<LONG>(exStyle));
    }
    LayOut();
    if (m_frame)
        m_frame->update();
}

void CEditBoxUnit::ApplySelection()
{
    EditBoxProperties& p = m_properties;
    int length = static_cast<int>(DisplayText(Text()).size());
    if (m_area)
        length = m_area->document()->characterCount() - 1;
    int start = std::clamp(p.SelectionStart, 0, length);
    int count = std::clamp(p.SelectionLength, 0, length - start);
    if (m_line) {
        if (count > 0)
            m_line->setSelection(start, count);
        else
            m_line->setCursorPosition(start);
    } else if (m_area) {
        QTextCursor cursor = m_area->textCursor();
        cursor.setPosition(start);
        cursor.setPosition(start + count, QTextCursor::KeepAnchor);
        m_area->setTextCursor(cursor);
        m_area->ensureCursorVisible();
    }
}

void CEditBoxUnit::LayOut()
{
    if (!m_frame)
        return;
    auto style = static_cast<DWORD>(GetWindowLongA(Handle(), GWL_STYLE));
    auto exStyle = static_cast<DWORD>(GetWindowLongA(Handle(), GWL_EXSTYLE));
    int inset = BorderInset(style, exStyle);
    QRect client = m_frame->rect().adjusted(inset, inset, -inset, -inset);
    if (m_spin) {
        int width = std::min(UpDownControl::kWidth, std::max(client.width(), 0));
        m_spin->setGeometry(client.right() - width + 1, client.top(), width, client.height());
        client.setRight(client.right() - width);
    }
    if (QWidget* editor = Editor())
        editor->setGeometry(client);
}

void CEditBoxUnit::PaintFrame(QPainter& painter)
{
    auto style = static_cast<DWORD>(GetWindowLongA(Handle(), GWL_STYLE));
    auto exStyle = static_cast<DWORD>(GetWindowLongA(Handle(), GWL_EXSTYLE));
    int inset = BorderInset(style, exStyle);
    painter.fillRect(m_frame->rect().adjusted(inset, inset, -inset, -inset),
                     ColourOfReference(m_properties.BackColour));
    PaintBorder(painter, m_frame->size(), style, exStyle);
}

bool CEditBoxUnit::FilterTyped(QString& text) const
{
    if (text.isEmpty())
        return true;
    bool printable = false;
    for (char32_t character : text.toUcs4()) {
        if (!AcceptsTypedCharacter(m_properties.InputMode, character))
            return false;
        printable = printable || character >= 32;
    }
    if (m_properties.LetterCase == 1)
        text = text.toLower();
    else if (m_properties.LetterCase == 2)
        text = text.toUpper();
    if (printable && m_properties.MaxLength > 0) {
        // The limit counts bytes of the stored text, as the box keeps it.
        QString selected = m_line ? m_line->selectedText() : m_area ? m_area->textCursor().selectedText() : QString();
        auto after = Text().size() - StoredText(selected).size() + StoredText(text).size();
        if (after > static_cast<std::size_t>(m_properties.MaxLength))
            return false;
    }
    return true;
}

void CEditBoxUnit::OnFocusIn()
{
    if (IsWindow(Handle()))
        Raise(kEventGotFocus);
}

void CEditBoxUnit::OnFocusOut()
{
    HWND window = Handle();
    if (!IsWindow(window))
        return;  // hidden on its way out
    std::string current = Text();
    std::optional<std::string> normalised = NormalisedText(m_properties.InputMode, current);
    if (normalised && *normalised != current) {
        int formerStart = Selection().first;
        SetText(*normalised);  // a change like any other: ContentChanged
        if (!IsWindow(window))
            return;
        if (m_line)
            m_line->setCursorPosition(std::min(formerStart, static_cast<int>(m_line->text().size())));
    }
    Raise(kEventLostFocus);
}

void CEditBoxUnit::OnSpin(std::int32_t step)
{
    HWND window = Handle();
    if (!IsWindowEnabled(window) || !IsWindowVisible(window))
        return;
    const EditBoxProperties& p = m_properties;
    if (p.SpinMode == kSpinReports) {
        Raise(kEventSpinPressed, {step < 0 ? -1 : 1});
        return;
    }
    if (p.SpinMode != kSpinSteps)
        return;
    std::int32_t value = SpinStep(Text(), step, std::min(p.SpinMin, p.SpinMax), std::max(p.SpinMin, p.SpinMax));
    SetText(std::to_string(value));
    if (!IsWindow(window) || !m_line)
        return;
    m_line->selectAll();
    SetFocus(window);
}

LRESULT CEditBoxUnit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_SETTEXT) {
        SetText(reinterpret_cast<const char*>(lParam) ? reinterpret_cast<const char*>(lParam) : "");
        return TRUE;
    }
    if (message == WM_GETDLGCODE) {
        // A multi-line box that takes Enter keeps it from the form.
        LRESULT code = DLGC_WANTCHARS | DLGC_WANTARROWS | DLGC_HASSETSEL;
        auto style = static_cast<DWORD>(GetWindowLongA(Handle(), GWL_STYLE));
        if ((style & ES_MULTILINE) && (style & ES_WANTRETURN) && wParam == VK_RETURN)
            code |= DLGC_WANTALLKEYS;
        return code;
    }
    return WindowObject::WindowProc(message, wParam, lParam);
}

std::int32_t CEditBoxUnit::WriteProperty(std::int32_t number, const forms::UnitPropertyValue& value)
{
    auto number32 = static_cast<std::int32_t>(value.number);
    EditBoxProperties& p = m_properties;
    // Properties the window is made with: a change re-creates it.
    auto recreateWhenChanged = [](std::int32_t& stored, std::int32_t wanted) {
        bool changed = stored != wanted;
        stored = wanted;
        return changed ? 1 : 0;
    };
    switch (number) {
    case kContent: {
        // One ContentChanged for the write, none from setting the text.
        m_settingText = true;
        SetWindowTextA(Handle(), value.text.c_str());
        m_settingText = false;
        Raise(kEventContentChanged);
        return 0;
    }
    case kBorderStyle:
        p.BorderStyle = std::clamp(number32, 0, kHighestBorderStyle);
        ApplyBorder();
        break;
    case kTextColour:
        p.TextColour = number32;
        ApplyColours();
        break;
    case kBackColour:
        p.BackColour = number32;
        ApplyColours();
        break;
    case kFont:
        p.Font = value.bytes;
        ApplyFont();
        break;
    case kHideSelection: {
        std::int32_t wanted = number32;
        if (m_creationFlag) {
            p.HideSelection = wanted;
            return 0;
        }
        return recreateWhenChanged(p.HideSelection, wanted);
    }
    case kMaxLength: p.MaxLength = std::max(number32, 0); break;
    case kMultiLine: return recreateWhenChanged(p.MultiLine, number32);
    case kScrollBars: return recreateWhenChanged(p.ScrollBars, std::clamp(number32, 0, kHighestScrollBars));
    case kTextAlignment: return recreateWhenChanged(p.TextAlignment, std::clamp(number32, 0, kHighestAlignment));
    case kInputMode:
        p.InputMode = std::clamp(number32, 0, kHighestInputMode);
        ApplyInputMode();
        break;
    case kPasswordChar:
        p.PasswordChar = static_cast<std::int16_t>(value.text.empty() ? 0 : static_cast<unsigned char>(value.text[0]));
        if (p.InputMode == kPasswordMode)
            ApplyInputMode();
        break;
    case kLetterCase: return recreateWhenChanged(p.LetterCase, std::clamp(number32, 0, kHighestLetterCase));
    case kSpinMode: return recreateWhenChanged(p.SpinMode, std::clamp(number32, 0, kHighestSpinMode));
    case kSpinMin: p.SpinMin = number32; break;
    case kSpinMax: p.SpinMax = number32; break;
    case kSelectionStart: {
        std::int32_t length = static_cast<std::int32_t>(DisplayText(Text()).size());
        if (number32 == -1) {
            p.SelectionStart = length;
            p.SelectionLength = 0;
        } else {
            p.SelectionStart = std::max(number32, 0);
            p.SelectionLength = Selection().second;
        }
        ApplySelection();
        break;
    }
    case kSelectionLength: {
        std::int32_t length = static_cast<std::int32_t>(DisplayText(Text()).size());
        if (number32 == -1) {
            p.SelectionStart = 0;
            p.SelectionLength = length;
        } else {
            p.SelectionStart = Selection().first;
            p.SelectionLength = std::max(number32, 0);
        }
        ApplySelection();
        break;
    }
    case kSelectedText:
        ReplaceSelection(value.text);  // ContentChanged follows from the change
        break;
    case kBoundUnit1: p.BoundUnit1 = value.text; break;
    case kBoundUnit2: p.BoundUnit2 = value.text; break;
    default:
        break;
    }
    return 0;
}

std::int32_t CEditBoxUnit::ReadProperty(std::int32_t number, forms::UnitPropertyValue* value) const
{
    const EditBoxProperties& p = m_properties;
    switch (number) {
    case kContent: value->text = Text(); break;
    case kBorderStyle: value->number = p.BorderStyle; break;
    case kTextColour: value->number = p.TextColour; break;
    case kBackColour: value->number = p.BackColour; break;
    case kFont: value->bytes = p.Font; break;
    case kHideSelection: value->number = p.HideSelection; break;
    case kMaxLength: value->number = p.MaxLength; break;
    case kMultiLine: value->number = p.MultiLine; break;
    case kScrollBars: value->number = p.ScrollBars; break;
    case kTextAlignment: value->number = p.TextAlignment; break;
    case kInputMode: value->number = p.InputMode; break;
    case kPasswordChar: value->text = p.PasswordChar ? std::string(1, static_cast<char>(p.PasswordChar)) : ""; break;
    case kLetterCase: value->number = p.LetterCase; break;
    case kSpinMode: value->number = p.SpinMode; break;
    case kSpinMin: value->number = p.SpinMin; break;
    case kSpinMax: value->number = p.SpinMax; break;
    case kSelectionStart: value->number = Selection().first; break;
    case kSelectionLength: value->number = Selection().second; break;
    case kSelectedText:
        value->text = m_line ? StoredText(m_line->selectedText())
                             : m_area ? FromEditor(m_area->textCursor().selection().toPlainText(), true)
                                      : std::string();
        break;
    case kBoundUnit1: value->text = p.BoundUnit1; break;
    case kBoundUnit2: value->text = p.BoundUnit2; break;
    default:
        return 0;
    }
    return 1;
}

std::vector<std::uint8_t> CEditBoxUnit::Save() const
{
    EditBoxProperties saved = m_properties;
    saved.Content = Text();
    auto [start, length] = Selection();
    saved.SelectionStart = start;
    saved.SelectionLength = length;
    return SaveRecord(saved);
}

}  // namespace vellumry::units
