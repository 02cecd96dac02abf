#pragma once
// The two commands of the main window's Help menu: "&Contents..." opens the help document in the
// desktop's viewer, "&About..." shows the About box. Neither talks to the instrument.

#include <QPointer>
#include <QString>

class QWidget;

namespace orx {

class AboutBox;
class Dialogs;
struct ProgramState;

class HelpCommands
{
public:
    // `mainWindow` owns the About box; `state` gives the help document's path each time it is used.
    HelpCommands(QWidget* mainWindow, const ProgramState& state, Dialogs& dialogs);
    ~HelpCommands();
    HelpCommands(const HelpCommands&) = delete;
    HelpCommands& operator=(const HelpCommands&) = delete;

    // "&Contents...": opens the help document (the help-file path, or its installed copy; see
    // locateHelpDocument) with the desktop's associated application. Nothing is ever reported: a missing or
    // unreadable file is not even handed to the desktop (its opener could show an error window of its own),
    // and a failing opener is ignored.
    void showContents();

    // "&About...": shows the one About box, modeless, owned by the main window, and brings it
    // forward. The box is created on first use; closing it only hides it, so later uses show the
    // same box again.
    void showAbout();

private:
    QWidget* m_mainWindow;
    const ProgramState& m_state;
    Dialogs& m_dialogs;
    QPointer<AboutBox> m_aboutBox; // cleared by Qt if the box is ever destroyed elsewhere
};

// Whether the help document can be handed to the desktop: an existing, readable file.
bool helpDocumentAvailable(const QString& path);

// Where the help document is found: at `besideProgram` (orx_help.pdf in the program's folder) when it
// is there, else under the same name in share/orx-panel/ beside the program's folder, where an
// installation puts it (/usr/bin/orx-panel finds /usr/share/orx-panel/orx_help.pdf). Empty when
// neither is available.
QString locateHelpDocument(const QString& besideProgram);

} // namespace orx
