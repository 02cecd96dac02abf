// The Help menu: the help document is opened only when it is there and never with a word; the About
// box is one modeless window of the main window, brought forward when asked again.

#include "base/program_state.h"
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

// The program's copy sits in bin/ and is the one asked for; an installation keeps the document in
// share/orx-panel/ beside bin/, and a copy beside the program wins. A name that is not a file, or an
// opener that fails, leaves the user without a word.
TEST(ShowContents, OpensOnlyAnExistingDocumentAndNeverTalks)
{
    const QString beside = QStringLiteral("bin/orx_help.pdf"), installed = "share/orx-panel/orx_help.pdf";
    const struct
    {
        QStringList files;
        QString directory;
        bool openerWorks;
        QString opened;
    } cases[] = {{{}, {}, true, {}},
                 {{beside}, {}, true, beside},
                 {{beside}, {}, false, beside},
                 {{}, beside, true, {}},
                 {{installed}, {}, true, installed},
                 {{beside, installed}, {}, true, beside},
                 {{"share/orx_help.pdf", "bin/share/orx-panel/orx_help.pdf"}, {}, true, {}}};
    for (const auto& c : cases) {
        SCOPED_TRACE((c.files.join(' ') + " dir " + c.directory).toStdString());
        QTemporaryDir prefix;
        const QDir root(prefix.path());
        for (const QString& name : c.files) {
            QFile document(root.filePath(name));
            ASSERT_TRUE(root.mkpath(QFileInfo(document).path()) && document.open(QIODevice::WriteOnly));
        }
        ASSERT_TRUE(c.directory.isEmpty() || root.mkpath(c.directory));
        ProgramState state;
        state.HelpFilePath = root.filePath(beside);
        test::ScriptedDialogs dialogs;
        dialogs.documentOpens = c.openerWorks;
        QMainWindow window;
        HelpCommands(&window, state, dialogs).showContents();
        EXPECT_EQ(dialogs.openedDocuments,
                  c.opened.isEmpty() ? QStringList() : QStringList{root.filePath(c.opened)});
        EXPECT_TRUE(dialogs.messages.isEmpty());
        EXPECT_TRUE(dialogs.inputPrompts.isEmpty());
        EXPECT_TRUE(window.findChildren<QDialog*>().isEmpty());
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
    // A box destroyed elsewhere is created afresh, without touching the deleted one.
    delete shownBox();
    EXPECT_NE(shownBox(), nullptr);
}

} // namespace
