#include "support/transfer_watch.h"

#include "ui/form2.h"
#include "ui/pending_events.h"

#include <QProgressBar>
#include <QPushButton>

namespace orx::test {

void TransferWatch::run(const QWidget* mainWindow, const std::function<void()>& transfer)
{
    m_mainWindow = mainWindow;
    setPendingEventsObserver([this] { watch(); });
    transfer();
    setPendingEventsObserver({});
}

Form2* TransferWatch::progress() const
{
    return m_mainWindow ? m_mainWindow->findChild<Form2*>() : nullptr;
}

void TransferWatch::cancel() const
{
    progress()->findChild<QPushButton*>(QStringLiteral("cmdcancel"))->click();
}

void TransferWatch::watch()
{
    if (Form2* window = progress()) {
        texts.append(window->text());
        lastMax = window->max();
        if (!m_barWatched)
            QObject::connect(window->findChild<QProgressBar*>(QStringLiteral("PBar1")),
                             &QProgressBar::valueChanged, [this](int value) { lastValue = value; });
        m_barWatched = true;
    }
    if (duringIt)
        duringIt(passes);
    ++passes;
}

} // namespace orx::test
