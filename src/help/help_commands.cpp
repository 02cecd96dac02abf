#include "help/help_commands.h"

#include "base/dialogs.h"
#include "base/program_state.h"
#include "help/about_box.h"

#include <QDir>
#include <QFileInfo>

namespace orx {

bool helpDocumentAvailable(const QString& path)
{
    if (path.isEmpty())
        return false;
    const QFileInfo file(path);
    return file.isFile() && file.isReadable();
}

QString locateHelpDocument(const QString& besideProgram)
{
    if (helpDocumentAvailable(besideProgram))
        return besideProgram;
    if (besideProgram.isEmpty())
        return {};
    const QFileInfo beside(besideProgram);
    const QString installed =
        QDir::cleanPath(beside.absolutePath() + QStringLiteral("/../share/orx-panel/") + beside.fileName());
    return helpDocumentAvailable(installed) ? installed : QString();
}

HelpCommands::HelpCommands(QWidget* mainWindow, const ProgramState& state, Dialogs& dialogs)
    : m_mainWindow(mainWindow), m_state(state), m_dialogs(dialogs)
{}

HelpCommands::~HelpCommands()
{
    // Without a main window nobody else owns the box.
    if (!m_mainWindow)
        delete m_aboutBox.data();
}

void HelpCommands::showContents()
{
    const QString path = locateHelpDocument(m_state.HelpFilePath);
    if (path.isEmpty())
        return;
    try {
        m_dialogs.openDocument(path); // a desktop that cannot open it is passed over silently
    } catch (...) {
    }
}

void HelpCommands::showAbout()
{
    if (!m_aboutBox)
        m_aboutBox = new AboutBox(m_mainWindow);
    m_aboutBox->show();
    m_aboutBox->raise();
    m_aboutBox->activateWindow();
}

} // namespace orx
