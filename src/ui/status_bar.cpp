#include "ui/status_bar.h"

#include <QLabel>

namespace orx {

StatusBar::StatusBar(QWidget* parent) : QStatusBar(parent)
{
    setObjectName(QStringLiteral("SBar1"));
    setSizeGripEnabled(false);
    const int minimumWidths[] = {160, 170, 90};
    const int stretch[] = {2, 1, 0};
    for (size_t i = 0; i < m_panels.size(); ++i) {
        auto* label = new QLabel(this);
        label->setObjectName(QStringLiteral("SBar1Panel%1").arg(i + 1));
        label->setMinimumWidth(minimumWidths[i]);
        label->setFrameShape(QFrame::Panel);
        label->setFrameShadow(QFrame::Sunken);
        label->setContentsMargins(4, 0, 4, 0);
        addPermanentWidget(label, stretch[i]);
        m_panels[i] = label;
    }
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

QLabel* StatusBar::addField(const QString& objectName)
{
    auto* label = new QLabel(this);
    label->setObjectName(objectName);
    label->setFrameShape(QFrame::Panel);
    label->setFrameShadow(QFrame::Sunken);
    label->setContentsMargins(4, 0, 4, 0);
    label->hide();
    addPermanentWidget(label);
    return label;
}

QLabel* StatusBar::panel(int panel) const
{
    return panel >= 1 && panel <= 3 ? m_panels[static_cast<size_t>(panel - 1)] : nullptr;
}

} // namespace orx
