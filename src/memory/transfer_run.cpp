#include "memory/transfer_run.h"

#include "base/dialogs.h"
#include "memory/transfer_parts.h"
#include "ui/deferred_painting.h"
#include "ui/form2.h"
#include "ui/pending_events.h"

#include <QWidget>

namespace orx {

TransferRun::TransferRun(TransferGate& gate, QWidget* mainWindow, const QString& caption, const QString& text,
                         int max, std::function<bool()> programEnding)
    : m_gate(gate), m_mainWindow(mainWindow), m_progress(std::make_unique<Form2>(mainWindow)),
      m_programEnding(std::move(programEnding))
{
    m_gate.m_running = true;
    m_progress->setWindowTitle(caption);
    m_progress->setText(text);
    m_progress->setMax(max);
    m_progress->setValue(0);
    m_progress->allowCancel();
    m_progress->show();
    m_painting =
        std::make_unique<DeferredPainting>(std::initializer_list<QWidget*>{mainWindow, m_progress.get()});
}

TransferRun::~TransferRun()
{
    m_painting.reset();
    m_progress.reset();
    if (!m_programEnding()) {
        m_mainWindow->show();
        m_mainWindow->raise();
        m_mainWindow->activateWindow();
    }
    m_gate.m_running = false;
}

void warnOperator(const TransferParts& parts, const QString& text)
{
    parts.dialogs.messageBox(text, QStringLiteral("Warning"));
}

void TransferRun::paintWindows()
{
    m_painting->paintNow();
}

bool TransferRun::goOn()
{
    letPendingEventsRun();
    return !m_progress->cancelRequested() && !m_programEnding();
}

} // namespace orx
