#pragma once
// A small vertical spin control that sits beside an entry field. Its value is 0 at rest; the upper
// arrow (or the Up key) sets it to -1, the lower arrow (or the Down key) to 1. The owner reads the
// value in valueChanged and sets it back to 0 at once. valueChanged fires on every change of the
// value, also when the program sets it, so the owner's handler sees that reset too.

#include <QWidget>

class QToolButton;

namespace orx {

class Adjuster : public QWidget
{
    Q_OBJECT
public:
    explicit Adjuster(const QString& name, QWidget* parent = nullptr);

    int value() const { return m_value; }
    // Sets the value, held within -1 to 1; emits valueChanged when it differs from the held one.
    void setValue(int value);

    QToolButton* upArrow() const { return m_up; }
    QToolButton* downArrow() const { return m_down; }

    QSize sizeHint() const override;

signals:
    void valueChanged(int value);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void arrowClicked(int value);

    QToolButton* m_up;
    QToolButton* m_down;
    int m_value = 0;
};

} // namespace orx
