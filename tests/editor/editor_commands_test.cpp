// The Edit menu: "&Open file" and "&New file" open further editor windows of the main window, each
// with its own table and file path.

#include "base/program_state.h"
#include "editor/editor_commands.h"
#include "editor/form3.h"
#include "support/recording_status.h"
#include "support/scripted_dialogs.h"
#include "support/test_files.h"
#include "ui/text_field.h"

#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace orx;

TEST(EditMenu, OpenAndNewFileEachOpenAWindowWithItsOwnTableAndFile)
{
    QTemporaryDir dir;
    ProgramState state;
    initialiseAtStart(state, dir.path());
    SetDefaults(state, 8);
    test::ScriptedDialogs dialogs;
    test::RecordingStatus status;
    QWidget mainWindow;
    EditorCommands commands{&mainWindow, state, dialogs, status};
    const QString file = dir.filePath("m.csv");
    ASSERT_TRUE(test::writeFileBytes(file, "H\r\n00, 4.000\r\n"));
    const QString before = state.DataFilePath;

    commands.mnuopen_Click(); // cancelled: no window, the path unchanged
    EXPECT_TRUE(mainWindow.findChildren<Form3*>().isEmpty());
    EXPECT_EQ(state.DataFilePath, before);
    dialogs.fileAnswers.enqueue(file);
    commands.mnuopen_Click();
    EXPECT_EQ(status.writes,
              (QList<QPair<int, QString>>{{1, "Open File"}, {1, "Ready"}, {1, "Open File"}, {1, "Ready"}}));
    EXPECT_EQ(state.DataFilePath, file);
    commands.mnunew_Click();
    EXPECT_TRUE(state.DataFilePath.isEmpty());
    commands.mnunew_Click();

    const QList<Form3*> editors = mainWindow.findChildren<Form3*>();
    ASSERT_EQ(editors.size(), 3);
    editors[1]->controls().vm->setText(QStringLiteral("5.000"));
    editors[1]->controls().cmd_change->click();
    dialogs.fileAnswers.enqueue(dir.filePath("a.csv"));
    editors[1]->controls().cmd_save->click();
    for (Form3* editor : editors)
        EXPECT_TRUE(editor->isVisible() && editor->isWindow() && !editor->isModal());
    const QStringList titles = {file, dir.filePath("a.csv"), "New file"}, voltages = {"4.000", "5.000", ""};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(editors[i]->windowTitle(), titles[i]) << "a file path of its own";
        EXPECT_EQ(editors[i]->records()[0].voltage, voltages[i]) << "a table of its own";
    }
}
