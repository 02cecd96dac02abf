#include "ui/focus_on_hover.h"

#include <QEvent>
#include <QWidget>

namespace orx {
namespace {

class FocusOnHover : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Enter || event->type() == QEvent::MouseMove) {
            auto* widget = static_cast<QWidget*>(watched);
            if (widget->isEnabled() && !widget->hasFocus())
                widget->setFocus(Qt::MouseFocusReason);
        }
        return false;
    }
};

} // namespace

void giveFocusOnHover(QWidget* button)
{
    button->setMouseTracking(true);
    button->installEventFilter(new FocusOnHover(button));
}

} // namespace orx
