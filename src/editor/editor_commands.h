#pragma once
// The main window's Edit menu: "&Open file" asks for a memory data file and opens an editor window on
// it, "&New file" opens an editor window on an empty table. Every use opens a further window; the main
// window stays usable.

class QWidget;

namespace orx {

class Dialogs;
class Form3;
class StatusPanels;
struct ProgramState;

class EditorCommands
{
public:
    EditorCommands(QWidget* mainWindow, ProgramState& state, Dialogs& dialogs, StatusPanels& status);

    // Status "Open File" while the Open dialog is up, "Ready" after it; on a chosen file the data file
    // path becomes that file and an editor window opens on it. Cancelling does nothing more.
    void mnuopen_Click();
    // The data file path becomes empty and an editor window opens as a new file.
    void mnunew_Click();

private:
    Form3* openEditor();

    QWidget* m_mainWindow;
    ProgramState& m_state;
    Dialogs& m_dialogs;
    StatusPanels& m_status;
};

} // namespace orx
