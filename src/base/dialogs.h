#pragma once
// Every modal question the program asks goes through this interface: the real one shows Qt dialogs,
// the scripted one in the tests answers from a script, so no test ever blocks on a window.

#include <QString>

namespace orx {

// The title of message boxes that have none of their own.
inline const QString kProgramTitle = QStringLiteral("ORX Panel");

class Dialogs
{
public:
    virtual ~Dialogs() = default;

    // A message with a single OK button. An empty title means the program's own title.
    virtual void messageBox(const QString& text, const QString& title = QString()) = 0;

    // A line of text from the user, the default already filled in; Cancel gives the empty text.
    virtual QString inputBox(const QString& prompt, const QString& title, const QString& defaultAnswer) = 0;

    // A file chosen in the open or save dialog, or the empty text when the user cancelled. The filter
    // is written "Description|pattern;pattern|Description|pattern".
    virtual QString openFileName(const QString& filter) = 0;
    virtual QString saveFileName(const QString& filter) = 0;

    // Opens a document in the application the desktop associates with it; false when that failed.
    virtual bool openDocument(const QString& path) = 0;
};

} // namespace orx
