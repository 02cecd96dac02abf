#pragma once
// The three text panels of the main window's status bar: 1 general status, 2 interface, 3 model.

#include <QString>

namespace orx {

class StatusPanels
{
public:
    virtual ~StatusPanels() = default;
    virtual void setPanelText(int panel, const QString& text) = 0; // panel 1 to 3
    virtual QString panelText(int panel) const = 0;
};

} // namespace orx
