// The "Edit Memory" window: loading, showing and changing records, the field rules as the user meets
// them (the rules themselves are tested directly), saving that never harms a file, and files that are
// missing, unreadable or hostile.

#include "base/program_state.h"
#include "editor/form3.h"
#include "support/file_size_limit.h"
#include "support/scripted_dialogs.h"
#include "support/test_files.h"
#include "ui/adjuster.h"
#include "ui/option_group.h"
#include "ui/pending_events.h"
#include "ui/text_field.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>
#include <tuple>

using namespace orx;
using namespace orx::test;

namespace {

const QString kWarning = QStringLiteral("Warning");

// The file a never-touched table saves as, but for the given record lines.
QByteArray defaultFile(const std::map<int, QByteArray>& lines = {})
{
    QByteArray bytes = kCsvHeader.toLatin1() + "\r\n";
    for (int i = 0; i < kMemoryCount; ++i) {
        const auto line = lines.find(i);
        bytes += line != lines.end() ? line->second
                                     : QByteArray::number(i).rightJustified(2, '0') +
                                           ", 0.000, 0.000, 10, 1.000, 0.000, False, False";
        bytes += "\r\n";
    }
    return bytes;
}

struct EditorWindow : ::testing::Test
{
    EditorWindow()
    {
        initialiseAtStart(state, QDir::tempPath());
        SetDefaults(state, 8);
    }
    ~EditorWindow() override { delete editor.data(); }

    QString path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }

    QString write(const char* name, const QByteArray& bytes) const
    {
        EXPECT_TRUE(writeFileBytes(path(name), bytes));
        return path(name);
    }

    // Opens a window as the Edit menu does: the data file path names the file ("" for a new one).
    void open(const QString& file)
    {
        delete editor.data();
        state.DataFilePath = file;
        editor = new Form3(&owner, state, dialogs);
        editor->load();
    }

    const Form3Controls& c() const { return editor->controls(); }

    // The texts of the fields and the selected option of each protection pair.
    QStringList shown() const
    {
        QStringList texts;
        for (const TextField* field : {c().record, c().vm, c().cm, c().delay, c().ovpm, c().ocpm})
            texts.append(field->text());
        return texts << QString::number(c().ovpmen->selectedIndex())
                     << QString::number(c().ocpmen->selectedIndex());
    }

    void showAndActivate()
    {
        owner.show();
        editor->show();
        editor->activateWindow();
        ASSERT_TRUE(QTest::qWaitFor([this] { return QApplication::activeWindow() == editor; }));
    }

    // Types into a field that has the focus, replacing its text.
    static void type(TextField* field, const QString& text)
    {
        field->setFocus();
        field->selectAll();
        QTest::keyClick(field, Qt::Key_Delete);
        QTest::keyClicks(field, text);
    }

    ProgramState state;
    ScriptedDialogs dialogs;
    QWidget owner;
    QPointer<Form3> editor;
    QTemporaryDir dir;
};

// Which lines become which records is the record table's rule; here the window opens a file, shows
// record 0 through the fields' checks, and saves to its own file, or asks for a name when it has none
// (a new file, or one that could not be read, which is never written over).
TEST_F(EditorWindow, OpeningShowsRecordZeroAndSaveWritesWhatTheFileHeld)
{
    const QStringList nothing = {"0", "0.000", "0.000", "1", "1.000", "0.000", "0", "0"};
    const struct
    {
        const char* name;
        QString file;
        bool asksForAName; // on "Save"
        QStringList shown; // record, vm, cm, delay, ovpm, ocpm, OVP option, OCP option
        std::map<int, QByteArray> saved;
    } cases[] = {
        {"a new file", QString(), true, nothing, {}},
        {"header only", write("header.csv", "Record,Voltage\r\n"), false, nothing, {}},
        {"record 0 beyond the limits is shown corrected, kept as read",
         write("beyond.csv", "H\n00, 25.000, 30, 70000, 0.5, 40, tRUE, fAlSe\n"),
         false,
         {"0", "8.240", "20.600", "59999", "1.000", "22.000", "1", "0"}, // the current rule lowered vm
         {{0, "00, 25.000, 30, 70000, 0.5, 40, tRUE, fAlSe"}}},
        {"a file without a header loses its first record",
         write("bare.csv", "00, 5.000, 1.000, 10, 6.000, 1.000, True, True\r"
                           "01, 2.000, 1.000, 10, 6.000, 1.000, False, False\r"),
         false,
         {"0", "", "", "1", "1.000", "", "1", "1"},
         {{1, "01, 2.000, 1.000, 10, 6.000, 1.000, False, False"}}},
        {"a missing file", path("missing.csv"), true, nothing, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        dialogs.messages.clear();
        open(c.file);
        const bool unreadable = c.asksForAName && !c.file.isEmpty();
        ASSERT_EQ(dialogs.messages.size(), unreadable ? 1 : 0);
        if (unreadable) {
            EXPECT_EQ(dialogs.messages[0].title, kWarning);
            EXPECT_TRUE(dialogs.messages[0].text.contains(c.file));
        }
        EXPECT_EQ(editor->windowTitle(), c.asksForAName ? QStringLiteral("New file") : c.file);
        EXPECT_EQ(shown(), c.shown);
        dialogs.fileAnswers.clear();
        dialogs.fileAnswers.enqueue(path("new.csv")); // taken only when a name is asked for
        this->c().cmd_save->click();
        const QString saved = c.asksForAName ? path("new.csv") : c.file;
        EXPECT_EQ(fileBytes(saved), defaultFile(c.saved));
        EXPECT_EQ(editor->windowTitle(), saved);
        EXPECT_EQ(state.DataFilePath, saved);
        if (unreadable) {
            EXPECT_FALSE(QFileInfo(c.file).isFile());
        }
    }
}

TEST_F(EditorWindow, AnUnchangedFileIsSavedByteIdentical)
{
    // As the download writes it (every value formatted) and as the editor writes what it holds.
    std::array<MemoryRecordTexts, kMemoryCount> download;
    for (int i = 0; i < kMemoryCount; ++i) {
        const QString n = QString::number(i);
        download[static_cast<size_t>(i)] = {n + ".250", "1.500",           QString::number(i + 1), "22.000",
                                            "3.000",    statusText(i % 2), statusText(i % 3)};
    }
    std::array<MemoryRecordTexts, kMemoryCount> edited = download;
    edited[4] = {"99.9", QStringLiteral("\u00b5A"), "", "-1", "1e5", "TRUE", "maybe"};
    for (const auto& records : {download, edited}) {
        const QByteArray bytes = memoryFileBytes(kCsvHeader, records);
        const QString file = write("memories.csv", bytes);
        open(file);
        c().cmd_save->click();
        EXPECT_TRUE(dialogs.messages.isEmpty());
        EXPECT_EQ(fileBytes(file), bytes);
    }
}

TEST_F(EditorWindow, ShowingAndChangingRecords)
{
    const QString file = write("s.csv", "H\r\n01, 1.000, 1.000, 10, 2.000, 1.000, True, 1\r\n"
                                        "02, 1.000, 1.000, 10, 2.000, 1.000, FALSE, false\r\n");
    open(file);
    // A record's statuses set or clear only "ON": "off" after "on" leaves neither option selected.
    const std::pair<const char*, int> steps[] = {{"1", 1}, {"2", -1}, {"0", 1}, {"2", -1}};
    for (const auto& [record, option] : steps) {
        c().record->setText(QString::fromLatin1(record));
        EXPECT_EQ(c().ovpmen->selectedIndex(), option) << record;
        EXPECT_EQ(c().ocpmen->selectedIndex(), option) << record;
    }
    // "Change" stores "True" or "False" for the options as they stand.
    c().ocpmen->select(1);
    c().cmd_change->click();
    // A never-set record shows what the checks make of empty texts; changed with its voltage still
    // empty, it is saved as the defaults.
    c().record->setText(QStringLiteral("8"));
    EXPECT_EQ(shown(), (QStringList{"8", "", "", "1", "1.000", "", "1", "1"}));
    c().cm->setText(QStringLiteral("3"));
    c().cmd_change->click();
    EXPECT_EQ(editor->records()[8].current, QStringLiteral("3"));
    c().cmd_save->click();
    EXPECT_EQ(fileBytes(file), defaultFile({{1, "01, 1.000, 1.000, 10, 2.000, 1.000, True, 1"},
                                            {2, "02, 1.000, 1.000, 10, 2.000, 1.000, False, True"}}));
}

TEST_F(EditorWindow, TheRecordFieldAndItsAdjuster)
{
    open(write("r.csv", "H\r\n05, 5.000\r\n99, 9.900\r\n"));
    showAndActivate();
    // "type:<keys>" into an emptied field, "up" or "down" on the adjuster; the text, record and voltage.
    const std::tuple<const char*, const char*, int, const char*> steps[] = {
        {"type:123", "12", 12, ""}, {"type:05", "5", 5, "5.000"}, {"type:98", "98", 98, ""},
        {"up", "99", 99, "9.900"},  {"up", "99", 99, "9.900"},    {"type:0", "0", 0, ""},
        {"down", "0", 0, ""},
    };
    for (const auto& [action, text, record, voltage] : steps) {
        const QString a = QString::fromLatin1(action);
        if (a.startsWith("type:"))
            type(c().record, a.mid(5));
        else
            (a == "up" ? c().adjrecord->upArrow() : c().adjrecord->downArrow())->click();
        EXPECT_EQ(c().record->text(), QString::fromLatin1(text)) << action;
        EXPECT_EQ(editor->currentRecord(), record) << action;
        EXPECT_EQ(c().vm->text(), QString::fromLatin1(voltage)) << action;
        EXPECT_EQ(c().adjrecord->value(), 0);
    }
}

// A comma would split a record line: every field refuses it (how a field refuses is the field's own test).
TEST_F(EditorWindow, FieldsRefuseAComma)
{
    open(QString());
    showAndActivate();
    for (TextField* field : {c().record, c().vm, c().cm, c().delay, c().ovpm, c().ocpm}) {
        type(field, QStringLiteral(",9"));
        EXPECT_TRUE(!field->text().contains(u',') && field->text().contains(u'9'))
            << field->objectName().toStdString() << " " << field->text().toStdString();
    }
}

TEST_F(EditorWindow, RulesRunOnEveryChangeAndOnLeavingAField)
{
    open(QString());
    showAndActivate();
    type(c().cm, "15");
    type(c().vm, "12"); // the voltage rule pulls the current down; leaving cm formatted it first
    EXPECT_EQ(c().cm->text(), QStringLiteral("10.300"));
    type(c().ocpm, "2.5");
    c().cmd_change->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(c().ocpm->text(), QStringLiteral("2.500"));

    // Another window taking the focus is not leaving the field.
    type(c().ocpm, "3.5");
    owner.activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([this] { return QApplication::activeWindow() == &owner; }));
    EXPECT_EQ(c().ocpm->text(), QStringLiteral("3.5"));

    // The pointer over a button gives it the focus, and so leaves the field.
    showAndActivate();
    for (QPushButton* button : {c().cmd_change, c().cmd_save, c().cmd_saveas, c().cmd_exit}) {
        c().vm->setFocus();
        c().vm->setText(QStringLiteral("2.5"));
        QEvent enter(QEvent::Enter);
        QApplication::sendEvent(button, &enter);
        EXPECT_TRUE(button->hasFocus()) << button->objectName().toStdString();
        EXPECT_EQ(c().vm->text(), QStringLiteral("2.500"));
    }
}

TEST_F(EditorWindow, LevelAdjustersStepByTheChosenStepAndTheRulesBoundThem)
{
    open(QString());
    // The step option (0 "0.001" .. 3 "1"), the adjuster and its field, the text before, raise or lower,
    // the text after.
    using F = Form3Controls;
    const std::tuple<int, Adjuster * F::*, TextField * F::*, const char*, bool, const char*> cases[] = {
        {0, &F::adjcm, &F::cm, "1", false, "0.999"},
        {1, &F::adjocpm, &F::ocpm, "1", true, "1.010"},
        {2, &F::adjvm, &F::vm, "5", true, "5.100"},
        {3, &F::adjovpm, &F::ovpm, "1.5", false, "1.000"}, // 0.5 held at 1
        {3, &F::adjdelay, &F::delay, "59999", true, "59999"},
    };
    for (const auto& [option, adjuster, field, before, raise, after] : cases) {
        c().optaction->option(option)->click();
        (c().*field)->setText(QString::fromLatin1(before));
        ((c().*adjuster)->*(raise ? &Adjuster::upArrow : &Adjuster::downArrow))()->click();
        EXPECT_EQ((c().*field)->text(), QString::fromLatin1(after)) << before;
        EXPECT_EQ((c().*adjuster)->value(), 0);
    }
}

TEST_F(EditorWindow, AModelChangeChangesTheNextCheckOnly)
{
    open(QString());
    c().vm->setText(QStringLiteral("20.000"));
    state.ModelIndex = 2; // ORX-C300
    EXPECT_EQ(c().vm->text(), QStringLiteral("20.000"));
    c().vm->setText(QStringLiteral("70"));
    EXPECT_EQ(c().vm->text(), QStringLiteral("61.800"));
    state.ModelIndex = 1;
    c().ovpm->setText(QStringLiteral("40"));
    EXPECT_EQ(c().ovpm->text(), QStringLiteral("32.000"));
    EXPECT_EQ(c().vm->text(), QStringLiteral("61.800"));
}

TEST_F(EditorWindow, AFailedSaveKeepsTheOldFileTheWindowAndItsCaption)
{
    const QByteArray old = "H\r\n00, 1.000, 1.000, 10, 2.000, 1.000, True, True\r\n";
    const QString file = write("old.csv", old);
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder"));
    open(file);
    c().vm->setText(QStringLiteral("3.000"));
    c().cmd_change->click();
    const RecordTable before = editor->records();

    // "Save" into a disk that takes no more, then "Save As" onto a folder.
    {
        const FileSizeLimit limit(64);
        c().cmd_save->click();
    }
    dialogs.fileAnswers.enqueue(path("folder"));
    c().cmd_saveas->click();

    ASSERT_EQ(dialogs.messages.size(), 2);
    for (const auto& message : dialogs.messages) {
        EXPECT_EQ(message.title, kWarning);
        EXPECT_TRUE(message.text.startsWith(QStringLiteral("Can not save this file")))
            << message.text.toStdString();
    }
    EXPECT_EQ(fileBytes(file), old);
    EXPECT_EQ(folderEntries(dir.path()), (QStringList{"folder", "old.csv"}));
    ASSERT_FALSE(editor.isNull());
    EXPECT_EQ(editor->records(), before);
    EXPECT_EQ(editor->windowTitle(), file);
    EXPECT_EQ(state.DataFilePath, file);

    // A later save that works still writes the window's own file.
    c().cmd_save->click();
    EXPECT_TRUE(fileBytes(file).contains("00, 3.000, 1.000, 10, 2.000, 1.000, True, True\r\n"));
}

// Reading is bounded by the file module; the window loads what it gets and lets events run once per
// record line.
TEST_F(EditorWindow, AnOverLongFileLoadsAsFarAsTheFormatHolds)
{
    QByteArray file = "H\r\n";
    for (int i = 0; i < 1001; ++i)
        file += "01, 1.000\r\n";
    file += "02, 2.000\r\n"; // line 1003: never read
    int eventRuns = 0;
    setPendingEventsObserver([&] { ++eventRuns; });
    open(write("long.csv", file));
    setPendingEventsObserver({});
    EXPECT_EQ(eventRuns, 1001);
    EXPECT_EQ(editor->records()[1].voltage, QStringLiteral("1.000"));
    EXPECT_TRUE(editor->records()[2].voltage.isEmpty());
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(EditorWindow, ExitClosesTheWindowAndBringsTheOwnerForward)
{
    open(QString());
    showAndActivate();
    c().cmd_exit->click();
    EXPECT_FALSE(editor->isVisible());
    EXPECT_TRUE(QTest::qWaitFor([this] { return QApplication::activeWindow() == &owner; }));
    EXPECT_TRUE(QTest::qWaitFor([this] { return editor.isNull(); })); // its table goes with it
}

// Check lists what a save would write that the selected model does not take; choosing a row shows that
// record; the next check measures against the model selected then.
TEST_F(EditorWindow, CheckListsWhatTheModelWouldNotTakeAndShowsTheChosenRecord)
{
    open(write("m.csv", defaultFile({{3, "03, 25, 1.000, 10, 26.000, 1.000, True, False"},
                                     {7, "07, 1.000, 1.000, 10, 2.000, 1.000, off, False"}})));
    c().cmd_check->click();
    ListWindow* list = editor->checkList();
    ASSERT_NE(list, nullptr);
    const auto rows = [list] {
        QStringList brief;
        for (const QStringList& row : list->rows())
            brief.append(row.mid(0, 4).join(u'|'));
        return brief;
    };
    EXPECT_EQ(rows(), (QStringList{"03|Voltage (V)|25|20.600", "03|OVP (V)|26.000|22.000",
                                   "07|OVP status|off|True"}));
    list->findChild<QTableWidget*>()->selectRow(2);
    EXPECT_EQ(editor->currentRecord(), 7);
    EXPECT_EQ(c().ovpmen->selectedIndex(), 1);
    list->findChild<QTableWidget*>()->selectRow(0);
    EXPECT_EQ(shown().mid(0, 2), (QStringList{"3", "20.600"})) << "shown as the field rules hold it";

    state.ModelIndex = 2; // ORX-C300
    c().cmd_check->click();
    EXPECT_EQ(rows(), (QStringList{"07|OVP status|off|True"}));
    EXPECT_EQ(editor->checkList(), list) << "one list per editor window";
}

} // namespace
