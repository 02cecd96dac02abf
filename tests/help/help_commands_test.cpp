#include "app/program_state.h"
#include "help/help_commands.h"
#include "support/scripted_dialogs.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QMainWindow>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace orx;

namespace {

QList<QDialog*> aboutBoxes(const QWidget& window)
{
    return window.findChildren<QDialog*>(QStringLiteral("frmAbout"));
}

// Waits until `widget` is the application's active window. (QWidget::isActiveWindow, which
// qWaitForWindowActive relies on, also holds for a main window while its own dialog is active.)
bool becomesActive(QWidget* widget)
{
    return QTest::qWaitFor([widget] { return QApplication::activeWindow() == widget; });
}

struct ContentsCase
{
    const char* name;
    enum
    {
        Missing,
        File,
        Directory,
        NoPath
    } document;
    bool openerWorks;
    int expectedOpens;
};

void PrintTo(const ContentsCase& c, std::ostream* os)
{
    *os << c.name;
}

class ShowContents : public ::testing::TestWithParam<ContentsCase>
{};

TEST_P(ShowContents, OpensOnlyAnExistingDocumentAndNeverTalks)
{
    const ContentsCase c = GetParam();
    QTemporaryDir programDir;
    ASSERT_TRUE(programDir.isValid());
    ProgramState state;
    initialiseAtStart(state, programDir.path());
    SetDefaults(state, kDefaultGpibAddress);
    if (c.document == ContentsCase::File) {
        QFile file(state.HelpFilePath);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("%PDF-1.4\n");
    } else if (c.document == ContentsCase::Directory) {
        ASSERT_TRUE(QDir().mkpath(state.HelpFilePath));
    } else if (c.document == ContentsCase::NoPath) {
        state.HelpFilePath.clear();
    }
    test::ScriptedDialogs dialogs;
    dialogs.documentOpens = c.openerWorks;
    QMainWindow window;
    HelpCommands help(&window, state, dialogs);

    help.showContents();

    ASSERT_EQ(dialogs.openedDocuments.size(), c.expectedOpens);
    if (c.expectedOpens == 1) {
        EXPECT_EQ(dialogs.openedDocuments.first(), state.HelpFilePath);
    }
    EXPECT_TRUE(dialogs.messages.isEmpty());
    EXPECT_TRUE(dialogs.inputPrompts.isEmpty());
    EXPECT_TRUE(aboutBoxes(window).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(HelpDocument, ShowContents,
                         ::testing::Values(ContentsCase{"absent", ContentsCase::Missing, true, 0},
                                           ContentsCase{"present", ContentsCase::File, true, 1},
                                           ContentsCase{"present_opener_fails", ContentsCase::File, false, 1},
                                           ContentsCase{"directory_of_that_name", ContentsCase::Directory,
                                                        true, 0},
                                           ContentsCase{"no_path", ContentsCase::NoPath, true, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

class AboutCommand : public ::testing::Test
{
protected:
    AboutCommand() : help(&window, state, dialogs)
    {
        window.resize(400, 300);
        window.show();
    }

    ProgramState state;
    test::ScriptedDialogs dialogs;
    QMainWindow window;
    HelpCommands help;
};

TEST_F(AboutCommand, ShowsOneModelessBoxOwnedByTheMainWindow)
{
    help.showAbout();
    const auto boxes = aboutBoxes(window);
    ASSERT_EQ(boxes.size(), 1);
    QDialog* box = boxes.first();
    EXPECT_EQ(box->parentWidget(), &window);
    EXPECT_TRUE(box->isWindow());
    EXPECT_TRUE(box->isVisible());
    EXPECT_FALSE(box->isModal());
    EXPECT_EQ(box->windowModality(), Qt::NonModal);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_TRUE(window.isEnabled());
    EXPECT_TRUE(dialogs.openedDocuments.isEmpty());
}

TEST_F(AboutCommand, AskingAgainBringsTheSameBoxForward)
{
    help.showAbout();
    QDialog* box = aboutBoxes(window).value(0);
    ASSERT_NE(box, nullptr);
    ASSERT_TRUE(becomesActive(box));

    // The main window comes to the front; the box stays open behind it.
    window.activateWindow();
    ASSERT_TRUE(becomesActive(&window));
    ASSERT_TRUE(box->isVisible());
    for (int i = 0; i < 3; ++i)
        help.showAbout();

    const auto boxes = aboutBoxes(window);
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_EQ(boxes.first(), box);
    EXPECT_TRUE(becomesActive(box));
}

struct CloseKey
{
    const char* name;
    Qt::Key key;
};

void PrintTo(const CloseKey& k, std::ostream* os)
{
    *os << k.name;
}

class AboutBoxKeys : public AboutCommand, public ::testing::WithParamInterface<CloseKey>
{};

TEST_P(AboutBoxKeys, CloseTheBoxAndALaterUseShowsItAgain)
{
    help.showAbout();
    QDialog* box = aboutBoxes(window).value(0);
    ASSERT_NE(box, nullptr);
    ASSERT_TRUE(becomesActive(box));

    QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : box;
    QTest::keyClick(target, GetParam().key);
    EXPECT_FALSE(box->isVisible());

    help.showAbout();
    const auto boxes = aboutBoxes(window);
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_TRUE(boxes.first()->isVisible());
}

INSTANTIATE_TEST_SUITE_P(Keys, AboutBoxKeys,
                         ::testing::Values(CloseKey{"Return", Qt::Key_Return},
                                           CloseKey{"Enter", Qt::Key_Enter},
                                           CloseKey{"Escape", Qt::Key_Escape}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(AboutCommand, OkClosesTheBoxAndALaterUseShowsItAgain)
{
    help.showAbout();
    QDialog* box = aboutBoxes(window).value(0);
    ASSERT_NE(box, nullptr);
    auto* ok = box->findChild<QPushButton*>(QStringLiteral("cmdOK"));
    ASSERT_NE(ok, nullptr);

    QTest::mouseClick(ok, Qt::LeftButton);
    QCoreApplication::processEvents();
    EXPECT_FALSE(box->isVisible());

    help.showAbout();
    QCoreApplication::processEvents();
    const auto boxes = aboutBoxes(window);
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_TRUE(boxes.first()->isVisible());
}

TEST(AboutCommandLifetime, ABoxDestroyedElsewhereIsCreatedAfresh)
{
    ProgramState state;
    test::ScriptedDialogs dialogs;
    QMainWindow window;
    HelpCommands help(&window, state, dialogs);
    help.showAbout();
    delete aboutBoxes(window).value(0);
    ASSERT_TRUE(aboutBoxes(window).isEmpty());

    help.showAbout(); // must not touch the deleted box

    const auto boxes = aboutBoxes(window);
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_TRUE(boxes.first()->isVisible());
}

} // namespace
