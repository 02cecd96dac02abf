#pragma once
// The main window's menus: Edit, Device, Interface, Action, View and Help, with their items.

#include "panel/form1_controls.h"

class QMainWindow;

namespace orx {

void buildForm1Menus(Form1Controls& c, QMainWindow* window);

} // namespace orx
