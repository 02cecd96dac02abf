#pragma once

#include <QString>

class QPushButton;
class QWidget;

namespace orx {

// A push button found by its object name that never becomes the window's default button: Enter in a
// field must not press a button the user did not choose.
QPushButton* namedButton(const QString& name, const QString& caption, QWidget* parent = nullptr);

} // namespace orx
