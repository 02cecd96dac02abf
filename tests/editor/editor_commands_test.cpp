// The Edit menu: "&Open file" and "&New file" open further editor windows of the main window, each
// with its own table and file path.

#include "app/program_state.h"
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

namespace {

class EditMenu : public ::testing::Test
{
protected:
    EditMenu()
    {
        initialiseAtStart(state, dir.path());
        SetDefaults(state, 8);
    }

    QList<Form3*> windows() const { return mainWindow.findChildren<Form3*>(); }

    QTemporaryDir dir;
    ProgramState state;
    test::ScriptedDialogs dialogs;
    test::RecordingStatus status;
    QWidget mainWindow;
    EditorCommands commands{&mainWindow, state, dialogs, status};
};

TEST_F(EditMenu, OpenFileSaysSoInTheStatusBarAndOpensOnlyAChosenFile)
{
    const QString file = dir.filePath("m.csv");
    ASSERT_TRUE(test::writeFileBytes(file, "H\r\n00, 4.000\r\n"));
    const QString before = state.DataFilePath;

    commands.mnuopen_Click(); // cancelled
    EXPECT_TRUE(windows().isEmpty());
    EXPECT_EQ(state.DataFilePath, before);

    dialogs.fileAnswers.enqueue(file);
    commands.mnuopen_Click();
    const QList<QPair<int, QString>> writes = {
        {1, "Open File"}, {1, "Ready"}, {1, "Open File"}, {1, "Ready"}};
    EXPECT_EQ(status.writes, writes);
    ASSERT_EQ(windows().size(), 1);
    Form3* editor = windows().first();
    EXPECT_EQ(editor->windowTitle(), file);
    EXPECT_EQ(editor->controls().vm->text(), QStringLiteral("4.000"));
    EXPECT_EQ(state.DataFilePath, file);
}

TEST_F(EditMenu, EachNewFileIsAWindowOfItsOwn)
{
    commands.mnunew_Click();
    commands.mnunew_Click();
    EXPECT_TRUE(state.DataFilePath.isEmpty());
    const QList<Form3*> editors = windows();
    ASSERT_EQ(editors.size(), 2);
    editors[0]->controls().vm->setText(QStringLiteral("5.000"));
    editors[0]->controls().cmd_change->click();
    dialogs.fileAnswers.enqueue(dir.filePath("a.csv"));
    editors[0]->controls().cmd_save->click();
    for (Form3* editor : editors)
        EXPECT_TRUE(editor->isVisible() && editor->isWindow() && !editor->isModal());
    EXPECT_EQ(editors[0]->records()[0].voltage, QStringLiteral("5.000"));
    EXPECT_EQ(editors[1]->records()[0].voltage, QString()) << "a table of its own";
    EXPECT_EQ(editors[0]->windowTitle(), dir.filePath("a.csv"));
    EXPECT_EQ(editors[1]->windowTitle(), QStringLiteral("New file")) << "a file path of its own";
}

} // namespace
