#include "ui/text_field.h"

#include <QFocusEvent>
#include <QScopedValueRollback>
#include <QValidator>

namespace orx {

// Every change of a line edit's text passes its validator, the program's and the user's alike; the
// field tells the two apart. A refused user change is undone by the line edit.
class TextField::InputRule : public QValidator
{
public:
    explicit InputRule(TextField* field) : QValidator(field), m_field(field) {}

    State validate(QString& input, int&) const override
    {
        if (m_field->m_writingFromProgram)
            return Acceptable;
        for (QChar c : std::as_const(m_field->m_refused)) {
            if (input.contains(c))
                return Invalid;
        }
        // A text the program made longer than the limit may still be shortened.
        if (input.size() > m_field->m_typingLimit && input.size() >= m_field->m_lengthBefore)
            return Invalid;
        return Acceptable;
    }

private:
    TextField* m_field;
};

TextField::TextField(const QString& name, int typingLimit, const QString& refused, QWidget* parent)
    : QLineEdit(parent), m_typingLimit(typingLimit), m_refused(refused)
{
    setObjectName(name);
    setValidator(new InputRule(this));
    connect(this, &QLineEdit::textChanged, this,
            [this](const QString& text) { m_lengthBefore = text.size(); });
}

void TextField::setText(const QString& text)
{
    const QScopedValueRollback<bool> fromProgram(m_writingFromProgram, true);
    QLineEdit::setText(text);
}

void TextField::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    const Qt::FocusReason reason = event->reason();
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
        emit focusLost();
}

} // namespace orx
