#pragma once
// Dialogs and a status bar that show nothing and answer every question as if cancelled (an input box
// with its default), for programs that run the panel's code without a desktop: benchmarks and fuzz
// targets.

#include "base/dialogs.h"
#include "base/status_panels.h"

namespace orx {

class SilentDialogs : public Dialogs
{
public:
    void messageBox(const QString&, const QString&) override {}
    QString inputBox(const QString&, const QString&, const QString& answer) override { return answer; }
    QString openFileName(const QString&) override { return {}; }
    QString saveFileName(const QString&) override { return {}; }
    bool openDocument(const QString&) override { return false; }
};

class SilentStatus : public StatusPanels
{
public:
    void setPanelText(int, const QString&) override {}
    QString panelText(int) const override { return {}; }
};

} // namespace orx
