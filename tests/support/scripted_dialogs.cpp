#include "support/scripted_dialogs.h"

namespace orx::test {

void ScriptedDialogs::messageBox(const QString& text, const QString& title)
{
    messages.append({text, title});
}

QString ScriptedDialogs::inputBox(const QString& prompt, const QString&, const QString& defaultAnswer)
{
    inputPrompts.append(prompt);
    return inputAnswers.isEmpty() ? defaultAnswer : inputAnswers.dequeue();
}

QString ScriptedDialogs::fileName()
{
    if (whileFileDialogOpen)
        whileFileDialogOpen();
    return fileAnswers.isEmpty() ? QString() : fileAnswers.dequeue();
}

bool ScriptedDialogs::openDocument(const QString& path)
{
    openedDocuments.append(path);
    return documentOpens;
}

} // namespace orx::test
