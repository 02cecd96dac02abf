#pragma once
// Builds the main window's controls, groups and menus, laid out as an instrument panel.

#include "panel/form1_controls.h"

class QMainWindow;

namespace orx {

Form1Controls buildForm1(QMainWindow* window);

} // namespace orx
