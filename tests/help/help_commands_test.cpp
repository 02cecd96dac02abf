// The Help menu: the help document is opened only when it is there and never with a word; the About
// box is one modeless window of the main window, brought forward when asked again.

#include "app/program_state.h"
#include "help/help_commands.h"
#include "support/scripted_dialogs.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QMainWindow>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace orx;

namespace {

enum class Document
{
    Missing,
    File,
    Directory
};

TEST(ShowContents, OpensOnlyAnExistingDocumentAndNeverTalks)
{
    const struct
    {
        const char* name;
        Document document;
        bool openerWorks;
    } cases[] = {{"absent", Document::Missing, true},
                 {"present", Document::File, true},
                 {"present, opener fails", Document::File, false},
                 {"a directory of that name", Document::Directory, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir programDir;
        ASSERT_TRUE(programDir.isValid());
        ProgramState state;
        state.HelpFilePath = programDir.filePath("orx_help.pdf");
        QFile file(state.HelpFilePath);
        ASSERT_TRUE(c.document != Document::File ||
                    (file.open(QIODevice::WriteOnly) && file.write("%PDF-1.4\n") > 0));
        ASSERT_TRUE(c.document != Document::Directory || QDir().mkpath(state.HelpFilePath));
        test::ScriptedDialogs dialogs;
        dialogs.documentOpens = c.openerWorks;
        QMainWindow window;
        HelpCommands(&window, state, dialogs).showContents();

        EXPECT_EQ(dialogs.openedDocuments,
                  c.document == Document::File ? QStringList{state.HelpFilePath} : QStringList());
        EXPECT_TRUE(dialogs.messages.isEmpty());
        EXPECT_TRUE(dialogs.inputPrompts.isEmpty());
        EXPECT_TRUE(window.findChildren<QDialog*>().isEmpty());
    }
}

// An installation keeps the document in share/orx-panel/ beside bin/; a copy beside the program wins.
TEST(ShowContents, FallsBackToTheInstalledDocument)
{
    const std::pair<QStringList, const char*> cases[] = {
        {{"bin/orx_help.pdf"}, "bin/orx_help.pdf"},
        {{"share/orx-panel/orx_help.pdf"}, "share/orx-panel/orx_help.pdf"},
        {{"bin/orx_help.pdf", "share/orx-panel/orx_help.pdf"}, "bin/orx_help.pdf"},
        {{"share/orx_help.pdf", "bin/share/orx-panel/orx_help.pdf"}, nullptr}};
    for (const auto& [present, opened] : cases) {
        QTemporaryDir prefix;
        const QDir root(prefix.path());
        for (const QString& name : present) {
            QFile document(root.filePath(name));
            ASSERT_TRUE(root.mkpath(QFileInfo(document).path()) && document.open(QIODevice::WriteOnly));
        }
        ProgramState state;
        state.HelpFilePath = root.filePath("bin/orx_help.pdf");
        test::ScriptedDialogs dialogs;
        HelpCommands(nullptr, state, dialogs).showContents();
        EXPECT_EQ(dialogs.openedDocuments, opened ? QStringList{root.filePath(opened)} : QStringList())
            << present.join(' ').toStdString();
    }
}

class AboutCommand : public ::testing::Test
{
protected:
    AboutCommand() { window.show(); }

    // Asks for the About box; the one box then shown, or null when there is not exactly one.
    QDialog* shownBox()
    {
        help.showAbout();
        const auto boxes = window.findChildren<QDialog*>(QStringLiteral("frmAbout"));
        return boxes.size() == 1 && boxes.first()->isVisible() ? boxes.first() : nullptr;
    }

    // Waits until `widget` is the active window. (QWidget::isActiveWindow, which
    // qWaitForWindowActive relies on, also holds for a main window while its own dialog is active.)
    static bool becomesActive(QWidget* widget)
    {
        return QTest::qWaitFor([widget] { return QApplication::activeWindow() == widget; });
    }

    ProgramState state;
    test::ScriptedDialogs dialogs;
    QMainWindow window;
    HelpCommands help{&window, state, dialogs};
};

TEST_F(AboutCommand, AskingAgainKeepsOneModelessBoxAndBringsItForward)
{
    QDialog* box = shownBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->parentWidget(), &window);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    ASSERT_TRUE(becomesActive(box));

    // The main window comes to the front; the box stays open behind it.
    window.activateWindow();
    ASSERT_TRUE(becomesActive(&window));
    ASSERT_TRUE(box->isVisible());
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(shownBox(), box);
    EXPECT_TRUE(becomesActive(box));
}

TEST_F(AboutCommand, EnterAndEscapeCloseTheBoxAndALaterUseShowsItAgain)
{
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
        SCOPED_TRACE(key);
        QDialog* box = shownBox();
        ASSERT_NE(box, nullptr);
        ASSERT_TRUE(becomesActive(box));
        QWidget* focus = QApplication::focusWidget();
        QTest::keyClick(focus ? focus : box, key);
        EXPECT_FALSE(box->isVisible());
    }
    EXPECT_NE(shownBox(), nullptr);
}

TEST_F(AboutCommand, ABoxDestroyedElsewhereIsCreatedAfresh)
{
    QDialog* box = shownBox();
    ASSERT_NE(box, nullptr);
    delete box;
    EXPECT_NE(shownBox(), nullptr); // must not touch the deleted box
}

} // namespace
