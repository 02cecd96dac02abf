#pragma once
// The main window's status bar: three text panels (general status, interface, model).

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
    // A field of its own after the three panels, hidden until its owner shows it.
    QLabel* addField(const QString& objectName);

private:
    std::array<QLabel*, 3> m_panels{};
};

} // namespace orx
