#pragma once
// The main window's status bar: three text panels (general status, interface, model), and further
// fields of the same look that the window adds at its right end.

#include "base/status_panels.h"

#include <QStatusBar>
#include <array>

class QLabel;

namespace orx {

class StatusBar : public QStatusBar, public StatusPanels
{
    Q_OBJECT
public:
    explicit StatusBar(QWidget* parent = nullptr);

    void setPanelText(int panel, const QString& text) override;
    QString panelText(int panel) const override;
    QLabel* panel(int panel) const;
    // A field of the panels' look, added at the right end.
    QLabel* addField(const QString& name, int minimumWidth);

private:
    QLabel* sunkenLabel(const QString& name, int minimumWidth);

    std::array<QLabel*, 3> m_panels{};
};

} // namespace orx
