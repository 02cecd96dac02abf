#include "ui/status_bar.h"

#include <QLabel>

namespace orx {

StatusBar::StatusBar(QWidget* parent) : QStatusBar(parent)
{
    setObjectName(QStringLiteral("SBar1"));
    setSizeGripEnabled(false);
    const int minimumWidths[] = {160, 120, 90};
    const int stretch[] = {1, 0, 0}; // the general status takes the room the others leave
    for (size_t i = 0; i < m_panels.size(); ++i) {
        QLabel* label = sunkenLabel(QStringLiteral("SBar1Panel%1").arg(i + 1), minimumWidths[i]);
        addPermanentWidget(label, stretch[i]);
        m_panels[i] = label;
    }
}

QLabel* StatusBar::sunkenLabel(const QString& name, int minimumWidth)
{
    auto* label = new QLabel(this);
    label->setObjectName(name);
    label->setMinimumWidth(minimumWidth);
    label->setFrameShape(QFrame::Panel);
    label->setFrameShadow(QFrame::Sunken);
    label->setContentsMargins(4, 0, 4, 0);
    return label;
}

QLabel* StatusBar::addField(const QString& name, int minimumWidth)
{
    QLabel* label = sunkenLabel(name, minimumWidth);
    addPermanentWidget(label);
    return label;
}

void StatusBar::setPanelText(int panel, const QString& text)
{
    if (QLabel* label = this->panel(panel))
        label->setText(text);
}

QString StatusBar::panelText(int panel) const
{
    const QLabel* label = this->panel(panel);
    return label ? label->text() : QString();
}

QLabel* StatusBar::panel(int panel) const
{
    return panel >= 1 && panel <= 3 ? m_panels[static_cast<size_t>(panel - 1)] : nullptr;
}

} // namespace orx
