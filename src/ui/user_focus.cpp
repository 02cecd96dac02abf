#include "ui/user_focus.h"

#include <QFocusEvent>
#include <QWidget>

namespace orx {

bool isUserFocusLoss(const QFocusEvent& event, const QWidget& widget)
{
    // Disabling moves the focus on with a Tab reason, so the widget's own state is checked as well.
    if (!widget.isEnabled() || !widget.isVisible())
        return false;
    switch (event.reason()) {
    case Qt::TabFocusReason:
    case Qt::BacktabFocusReason:
    case Qt::MouseFocusReason:
    case Qt::ShortcutFocusReason:
        return true;
    default:
        return false;
    }
}

} // namespace orx
