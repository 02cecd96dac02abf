#pragma once
// Whether a widget lost the keyboard focus because the operator moved it (Tab, Backtab, a click
// elsewhere, a shortcut, or the pointer moving over a button that takes the focus on hover). A focus
// loss the program caused (disabling the widget or a group around it), a message box or another
// window coming up, or a menu opening is not the operator's move.

class QFocusEvent;
class QWidget;

namespace orx {

bool isUserFocusLoss(const QFocusEvent& event, const QWidget& widget);

} // namespace orx
