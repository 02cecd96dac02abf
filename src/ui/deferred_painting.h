#pragma once
// Holds back the painting of some windows until paintNow(). A long operation that must let events run
// at fixed points, while the line to the instrument stands idle, can have its windows painted at a
// moment of its own choosing instead: while a line it sent, one that has no answer, is still on the
// wire. Only painting waits; every other event runs as always, and the window system's own exposes
// still paint at once. Whatever is held back when this object goes is painted then.

#include <QList>
#include <QObject>
#include <QPointer>
#include <QWidget>
#include <initializer_list>

namespace orx {

class DeferredPainting : public QObject
{
public:
    explicit DeferredPainting(std::initializer_list<QWidget*> windows);
    ~DeferredPainting() override;
    DeferredPainting(const DeferredPainting&) = delete;
    DeferredPainting& operator=(const DeferredPainting&) = delete;

    // Paints the windows that have changed since the last time.
    void paintNow();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QList<QPointer<QWidget>> m_windows;
    QList<QPointer<QWidget>> m_pending;
    bool m_painting = false;
};

} // namespace orx
