#pragma once
// A one-line text field whose user input is limited: what is typed, pasted or dropped may not make the
// text longer than `typingLimit` characters and may not hold any of the refused characters. Texts
// written by the program through setText are kept whole, however long. focusLost is emitted when the
// user moves the focus to another control (not when another window or a menu takes it).

#include <QLineEdit>

namespace orx {

class TextField : public QLineEdit
{
    Q_OBJECT
public:
    TextField(const QString& name, int typingLimit, const QString& refused, QWidget* parent = nullptr);

    // Writes a text from the program (hides QLineEdit::setText): no limit applies. Setting the text
    // the field already holds is no change and emits nothing.
    void setText(const QString& text);

    int typingLimit() const { return m_typingLimit; }

signals:
    void focusLost();

protected:
    void focusOutEvent(QFocusEvent* event) override;

private:
    class InputRule;
    friend class InputRule;

    int m_typingLimit;
    QString m_refused;
    qsizetype m_lengthBefore = 0; // length of the text before the change being checked
    bool m_writingFromProgram = false;
};

} // namespace orx
