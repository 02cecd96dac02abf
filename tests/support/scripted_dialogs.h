#pragma once
// Dialogs that never block: every question is recorded and answered from a queue the test fills.

#include "base/dialogs.h"

#include <QQueue>
#include <QStringList>
#include <functional>

namespace orx::test {

class ScriptedDialogs : public Dialogs
{
public:
    struct Message
    {
        QString text;
        QString title;
        bool operator==(const Message&) const = default;
    };

    void messageBox(const QString& text, const QString& title) override;
    QString inputBox(const QString& prompt, const QString& title, const QString& defaultAnswer) override;
    QString openFileName(const QString&) override { return fileName(); }
    QString saveFileName(const QString&) override { return fileName(); }
    bool openDocument(const QString& path) override;

    QList<Message> messages;      // every message box shown, in order
    QStringList inputPrompts;     // every input box prompt, in order
    QQueue<QString> inputAnswers; // answers to input boxes; an empty queue answers with the default
    QQueue<QString> fileAnswers;  // answers to file dialogs; an empty queue cancels
    QStringList openedDocuments;  // documents asked to be opened
    bool documentOpens = true;    // what openDocument reports

    // Runs while a file dialog is open, as the events that a modal dialog lets through would.
    std::function<void()> whileFileDialogOpen;

private:
    QString fileName(); // both file dialogs: the next answer of the queue
};

} // namespace orx::test
