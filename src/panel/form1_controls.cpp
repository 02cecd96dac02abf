#include "panel/form1_controls.h"

namespace orx {

QAction* Form1Controls::deviceItem(int modelIndex) const
{
    switch (modelIndex) {
    case 0:
        return mnuorxa100;
    case 1:
        return mnuorxb200;
    case 2:
        return mnuorxc300;
    default:
        return nullptr;
    }
}

} // namespace orx
