#include "ui/adjuster.h"

#include <QKeyEvent>
#include <QToolButton>
#include <QVBoxLayout>

namespace orx {
namespace {

QToolButton* arrow(Qt::ArrowType type, const QString& name)
{
    auto* button = new QToolButton;
    button->setObjectName(name);
    button->setArrowType(type);
    button->setAutoRepeat(true); // held down, it keeps stepping like a scroll bar's arrow
    button->setFocusPolicy(Qt::NoFocus);
    button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    return button;
}

} // namespace

Adjuster::Adjuster(const QString& name, QWidget* parent)
    : QWidget(parent), m_up(arrow(Qt::UpArrow, name + QStringLiteral("_up"))),
      m_down(arrow(Qt::DownArrow, name + QStringLiteral("_down")))
{
    setObjectName(name);
    setFocusPolicy(Qt::StrongFocus);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(m_up);
    column->addWidget(m_down);
    connect(m_up, &QToolButton::clicked, this, [this] { arrowClicked(-1); });
    connect(m_down, &QToolButton::clicked, this, [this] { arrowClicked(1); });
}

void Adjuster::setValue(int value)
{
    value = qBound(-1, value, 1);
    if (value == m_value)
        return;
    m_value = value;
    emit valueChanged(m_value);
}

QSize Adjuster::sizeHint() const
{
    return {16, 24};
}

void Adjuster::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Up:
        setValue(-1);
        break;
    case Qt::Key_Down:
        setValue(1);
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}

void Adjuster::arrowClicked(int value)
{
    // Like a scroll bar, the control takes the focus first, so the field being edited is left (and
    // formats its text) before it is stepped.
    setFocus(Qt::MouseFocusReason);
    setValue(value);
}

} // namespace orx
