#pragma once
// Command buttons take the keyboard focus as soon as the mouse pointer moves over them, so a field
// being edited loses the focus (and applies its formatting) before the button can be clicked.

class QWidget;

namespace orx {

void giveFocusOnHover(QWidget* button);

} // namespace orx
