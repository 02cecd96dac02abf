#include "ui/deferred_painting.h"

#include <QCoreApplication>
#include <QEvent>

namespace orx {

DeferredPainting::DeferredPainting(std::initializer_list<QWidget*> windows)
{
    for (QWidget* window : windows) {
        m_windows.append(window);
        window->installEventFilter(this);
    }
}

DeferredPainting::~DeferredPainting()
{
    for (const QPointer<QWidget>& window : m_windows) {
        if (window)
            window->removeEventFilter(this);
    }
    paintNow();
}

void DeferredPainting::paintNow()
{
    // A window's request to be painted was held back, and it asks for no other until it is painted:
    // the request is delivered now.
    const QList<QPointer<QWidget>> pending = std::exchange(m_pending, {});
    m_painting = true;
    for (const QPointer<QWidget>& window : pending) {
        if (window) {
            QEvent request(QEvent::UpdateRequest);
            QCoreApplication::sendEvent(window, &request);
        }
    }
    m_painting = false;
}

bool DeferredPainting::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::UpdateRequest || m_painting)
        return false;
    auto* window = static_cast<QWidget*>(watched);
    if (!m_pending.contains(window))
        m_pending.append(window);
    return true;
}

} // namespace orx
