#include "ui/numeric_field.h"

#include "base/numbers.h"
#include "ui/user_focus.h"

#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPointer>
#include <QRegularExpression>
#include <QWheelEvent>

namespace orx {

NumericField::NumericField(const QString& name, Pattern pattern, QWidget* parent)
    : QAbstractSpinBox(parent), m_pattern(pattern)
{
    setObjectName(name);
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setAccelerated(true);
    setKeyboardTracking(true);
    lineEdit()->installEventFilter(this);
    connect(lineEdit(), &QLineEdit::textEdited, this, &NumericField::onTextEdited);
    connect(this, &QAbstractSpinBox::editingFinished, this, &NumericField::showValue);
    showValue();
}

double NumericField::held(double value) const
{
    return m_pattern == Pattern::Whole ? wholeNumber(value) : value;
}

void NumericField::setValue(double value)
{
    value = held(value);
    if (value == m_value)
        return;
    m_value = value;
    showValue();
    emit valueChanged(m_value);
}

QString NumericField::text() const
{
    return m_pattern == Pattern::Fixed3 ? format3(m_value) : formatWhole(m_value);
}

void NumericField::stepBy(int steps)
{
    if (steps != 0)
        m_stepped = true;
    setValue(m_value + steps * m_step);
}

QValidator::State NumericField::validate(QString& input, int&) const
{
    // Digits, a sign, a point, an exponent letter and blanks; the leading-number rule reads the rest.
    static const QRegularExpression allowed(QStringLiteral("^[0-9+\\-.eEdD \\t]*$"));
    return allowed.match(input).hasMatch() ? QValidator::Acceptable : QValidator::Invalid;
}

void NumericField::fixup(QString& input) const
{
    input = text();
}

QSize NumericField::sizeHint() const
{
    const QSize base = QAbstractSpinBox::sizeHint();
    const int digits = fontMetrics().horizontalAdvance(QStringLiteral("00000.000"));
    return {qMax(base.width(), digits + 30), base.height()};
}

void NumericField::keyReleaseEvent(QKeyEvent* event)
{
    QAbstractSpinBox::keyReleaseEvent(event);
    if (!event->isAutoRepeat())
        emit keyReleased();
}

void NumericField::mousePressEvent(QMouseEvent* event)
{
    m_pressed = true;
    QAbstractSpinBox::mousePressEvent(event);
}

void NumericField::mouseReleaseEvent(QMouseEvent* event)
{
    QAbstractSpinBox::mouseReleaseEvent(event);
    mouseReleasedOverField();
}

void NumericField::focusOutEvent(QFocusEvent* event)
{
    QAbstractSpinBox::focusOutEvent(event);
    showValue();
    if (isUserFocusLoss(*event, *this))
        emit clicked();
}

// The toolkit's wheel gathers small turns until they make a notch; only a turn that stepped the value
// is the operator's action.
void NumericField::wheelEvent(QWheelEvent* event)
{
    m_stepped = false;
    QAbstractSpinBox::wheelEvent(event);
    if (m_stepped)
        emit wheelTurned();
}

void NumericField::contextMenuEvent(QContextMenuEvent* event)
{
    m_stepped = false;
    const QPointer<NumericField> self(this); // the menu runs its own event loop
    QAbstractSpinBox::contextMenuEvent(event);
    if (self && m_stepped)
        emit menuStepped();
}

bool NumericField::eventFilter(QObject* watched, QEvent* event)
{
    // The text part is a child widget: its presses and releases count as presses and releases over
    // the field.
    if (watched == lineEdit()) {
        if (event->type() == QEvent::MouseButtonPress)
            m_pressed = true;
        else if (event->type() == QEvent::MouseButtonRelease)
            mouseReleasedOverField();
    }
    return QAbstractSpinBox::eventFilter(watched, event);
}

void NumericField::mouseReleasedOverField()
{
    emit mouseReleased();
    if (m_pressed) {
        m_pressed = false;
        emit clicked();
    }
}

void NumericField::onTextEdited(const QString& text)
{
    const double typed = held(leadingNumber(text));
    if (typed == m_value)
        return;
    m_value = typed;
    emit valueChanged(m_value);
}

void NumericField::showValue()
{
    const QString shown = text();
    if (lineEdit()->text() != shown)
        lineEdit()->setText(shown);
}

void onUserAction(NumericField* field, QObject* context, const std::function<void()>& action)
{
    QObject::connect(field, &NumericField::keyReleased, context, action);
    QObject::connect(field, &NumericField::mouseReleased, context, action);
    QObject::connect(field, &NumericField::clicked, context, action);
}

} // namespace orx
