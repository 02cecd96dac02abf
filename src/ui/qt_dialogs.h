#pragma once
// The dialogs service with real Qt dialogs, parented to the window that asks. The events that run
// while a modal dialog waits run inside an operation (pending_events.h): the one that asked.

#include "base/dialogs.h"

#include <QPointer>
#include <QWidget>

namespace orx {

// "All File(*,*)|*.*" -> "All File(*,*) (*)": the service's filter text as Qt's file dialogs take it.
// "*.*" means every file, as it does on the desktops the filter text comes from.
QString qtFileFilter(const QString& filter);

class QtDialogs : public Dialogs
{
public:
    explicit QtDialogs(QWidget* parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget* parent) { m_parent = parent; }

    void messageBox(const QString& text, const QString& title) override;
    QString inputBox(const QString& prompt, const QString& title, const QString& defaultAnswer) override;
    QString openFileName(const QString& filter) override;
    QString saveFileName(const QString& filter) override;
    bool openDocument(const QString& path) override;

private:
    QPointer<QWidget> m_parent;
};

} // namespace orx
