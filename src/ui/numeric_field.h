#pragma once
// A numeric entry field with up/down arrows. A "#0.000" field holds an exact double (never rounded to
// what it shows); a "#0" field holds the whole number of what it is given (halves to even), so that
// what it shows is what it holds. Every change of the value, typed, stepped or written by code, emits
// valueChanged; the notifications that stand for finished user actions (key release, mouse-button
// release, a click or the loss of focus, a step chosen from the field's menu, a turn of the wheel) are
// separate signals, so that only user actions send anything to the instrument.

#include <QAbstractSpinBox>

namespace orx {

class NumericField : public QAbstractSpinBox
{
    Q_OBJECT
public:
    enum class Pattern
    {
        Fixed3, // "#0.000"
        Whole,  // "#0"
    };

    explicit NumericField(const QString& name, Pattern pattern, QWidget* parent = nullptr);

    double value() const { return m_value; }
    // Writes a value; when it differs from the held one, the display follows and valueChanged runs.
    void setValue(double value);

    // The value as the pattern shows it: what a send puts on the wire.
    QString text() const;

    double step() const { return m_step; }
    void setStep(double step) { m_step = step; }

    Pattern pattern() const { return m_pattern; }

    void stepBy(int steps) override;
    QValidator::State validate(QString& input, int& pos) const override;
    void fixup(QString& input) const override;
    QSize sizeHint() const override;

signals:
    void valueChanged(double value);
    void keyReleased();
    void mouseReleased();
    void clicked();     // a click on the field, or a loss of focus the operator caused
    void menuStepped(); // "Step up" or "Step down" chosen from the field's context menu
    void wheelTurned(); // the wheel stepped the value (one notification per notch or group of notches)

protected:
    StepEnabled stepEnabled() const override { return StepUpEnabled | StepDownEnabled; }
    void keyReleaseEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void onTextEdited(const QString& text);
    void showValue();
    void mouseReleasedOverField();
    double held(double value) const;

    Pattern m_pattern;
    double m_value = 0.0;
    double m_step = 1.0;
    bool m_pressed = false; // a mouse button went down on the field (a click may follow)
    bool m_stepped = false; // stepBy moved the value (the wheel and the menu learn it so)
};

// Runs `action` on each of the field's user-action notifications (key release, mouse-button
// release, click, operator's focus loss); `context` owns the connections. The steps of the menu and
// the wheel are left to the caller, which may hold them back (a burst of notches is one action).
void onUserAction(NumericField* field, QObject* context, const std::function<void()>& action);

} // namespace orx
