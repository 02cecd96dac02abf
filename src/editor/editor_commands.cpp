#include "editor/editor_commands.h"

#include "base/dialogs.h"
#include "base/program_state.h"
#include "base/status_panels.h"
#include "editor/form3.h"
#include "memory/memory_file.h"

namespace orx {

EditorCommands::EditorCommands(QWidget* mainWindow, ProgramState& state, Dialogs& dialogs,
                               StatusPanels& status)
    : m_mainWindow(mainWindow), m_state(state), m_dialogs(dialogs), m_status(status)
{}

void EditorCommands::mnuopen_Click()
{
    m_status.setPanelText(1, QStringLiteral("Open File"));
    const QString path = m_dialogs.openFileName(kMemoryFileFilter);
    m_status.setPanelText(1, QStringLiteral("Ready"));
    if (path.isEmpty())
        return;
    m_state.DataFilePath = path;
    openEditor();
}

void EditorCommands::mnunew_Click()
{
    m_state.DataFilePath.clear();
    openEditor();
}

Form3* EditorCommands::openEditor()
{
    auto* editor = new Form3(m_mainWindow, m_state, m_dialogs);
    editor->load();
    editor->show();
    return editor;
}

} // namespace orx
