#pragma once
// A status bar without a window: it keeps the three panel texts and every write to them.

#include "base/status_panels.h"

#include <QList>
#include <QPair>
#include <array>

namespace orx::test {

class RecordingStatus : public StatusPanels
{
public:
    void setPanelText(int panel, const QString& text) override
    {
        if (panel >= 1 && panel <= 3)
            panels[static_cast<size_t>(panel - 1)] = text;
        writes.append({panel, text});
    }
    QString panelText(int panel) const override
    {
        return panel >= 1 && panel <= 3 ? panels[static_cast<size_t>(panel - 1)] : QString();
    }

    std::array<QString, 3> panels;
    QList<QPair<int, QString>> writes;
};

} // namespace orx::test
