// The "Edit Memory" window: loading, showing and changing records, the field rules as the user meets
// them, saving that never harms a file, and files that are missing, unreadable or hostile.

#include "app/program_state.h"
#include "editor/form3.h"
#include "support/file_size_limit.h"
#include "support/scripted_dialogs.h"
#include "ui/adjuster.h"
#include "ui/option_group.h"
#include "ui/pending_events.h"
#include "ui/text_field.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace orx;

namespace {

const QString kWarning = QStringLiteral("Warning");

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

// The file a never-touched table saves as.
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

class EditorWindow : public ::testing::Test
{
protected:
    EditorWindow()
    {
        initialiseAtStart(state, QDir::tempPath());
        SetDefaults(state, 8);
    }
    ~EditorWindow() override { delete editor.data(); }

    QString path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }

    QString write(const char* name, const QByteArray& bytes) const
    {
        QFile file(path(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        return file.fileName();
    }

    // Opens a window as the Edit menu does: the data file path names the file ("" for a new one).
    Form3& open(const QString& file)
    {
        state.DataFilePath = file;
        editor = new Form3(&owner, state, dialogs);
        editor->load();
        return *editor;
    }

    const Form3Controls& c() const { return editor->controls(); }

    // The texts of the fields and the selected option of each protection pair.
    QStringList shown() const
    {
        return {c().record->text(),
                c().vm->text(),
                c().cm->text(),
                c().delay->text(),
                c().ovpm->text(),
                c().ocpm->text(),
                QString::number(c().ovpmen->selectedIndex()),
                QString::number(c().ocpmen->selectedIndex())};
    }

    void showAndActivate()
    {
        owner.show();
        editor->show();
        editor->activateWindow();
        ASSERT_TRUE(QTest::qWaitFor([this] { return QApplication::activeWindow() == editor; }));
    }

    ProgramState state;
    test::ScriptedDialogs dialogs;
    QWidget owner;
    QPointer<Form3> editor;
    QTemporaryDir dir;
};

TEST_F(EditorWindow, ANewWindowSavedAtOnceWritesTheHeaderAndOneHundredDefaults)
{
    open(QString());
    EXPECT_EQ(editor->windowTitle(), QStringLiteral("New file"));
    EXPECT_EQ(shown(), (QStringList{"0", "0.000", "0.000", "1", "1.000", "0.000", "0", "0"}));
    dialogs.fileAnswers.enqueue(path("new.csv"));
    c().cmd_save->click();
    EXPECT_EQ(fileBytes(path("new.csv")), defaultFile());
    EXPECT_EQ(editor->windowTitle(), path("new.csv"));
    EXPECT_EQ(editor->filePath(), path("new.csv"));
    EXPECT_EQ(state.DataFilePath, path("new.csv"));
    EXPECT_EQ(editor->records()[42], kDefaultRecord);
}

TEST_F(EditorWindow, LoadingShowsRecordZeroAndSavesWhatTheFileHeld)
{
    const struct
    {
        const char* name;
        QByteArray file;
        QStringList shown; // record, vm, cm, delay, ovpm, ocpm, OVP option, OCP option
        std::map<int, QByteArray> saved;
    } cases[] = {
        {"empty file", "", {"0", "0.000", "0.000", "1", "1.000", "0.000", "0", "0"}, {}},
        {"header only", "Record,Voltage\r\n", {"0", "0.000", "0.000", "1", "1.000", "0.000", "0", "0"}, {}},
        {"records 3 and 7",
         "H\r\n03, 1.000, 2.000, 5, 3.000, 4.000, True, False\r\n7,1,2,3,4,5,false,TRUE\r\n",
         {"0", "", "", "1", "1.000", "", "1", "1"},
         {{3, "03, 1.000, 2.000, 5, 3.000, 4.000, True, False"}, {7, "07, 1, 2, 3, 4, 5, false, TRUE"}}},
        {"record 0 beyond the limits is shown corrected, kept as read",
         "H\n00, 25.000, 30, 70000, 0.5, 40, tRUE, fAlSe\n",
         {"0", "8.240", "20.600", "59999", "1.000", "22.000", "1", "0"}, // the current rule lowered vm
         {{0, "00, 25.000, 30, 70000, 0.5, 40, tRUE, fAlSe"}}},
        {"a file without a header loses its first record",
         "00, 5.000, 1.000, 10, 6.000, 1.000, True, True\r01, 2.000, 1.000, 10, 6.000, 1.000, False, False\r",
         {"0", "", "", "1", "1.000", "", "1", "1"},
         {{1, "01, 2.000, 1.000, 10, 6.000, 1.000, False, False"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString file = write("in.csv", c.file);
        open(file);
        EXPECT_EQ(editor->windowTitle(), file);
        EXPECT_EQ(shown(), c.shown);
        EXPECT_TRUE(dialogs.messages.isEmpty());
        ASSERT_TRUE(editor->SaveRecords(path("out.csv")));
        EXPECT_EQ(fileBytes(path("out.csv")), defaultFile(c.saved));
        delete editor.data();
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
    edited[4] = {"99.9", "abc", "", "-1", "1e5", "TRUE", "maybe"};
    for (const auto& records : {download, edited}) {
        const QByteArray bytes = memoryFileBytes(kCsvHeader, records);
        const QString file = write("memories.csv", bytes);
        open(file);
        c().cmd_save->click();
        EXPECT_TRUE(dialogs.messages.isEmpty());
        EXPECT_EQ(fileBytes(file), bytes);
        delete editor.data();
    }
}

TEST_F(EditorWindow, StatusOptionsFollowTheRecordAndChangeStoresTrueOrFalse)
{
    open(write("s.csv", "H\r\n01, 1.000, 1.000, 10, 2.000, 1.000, True, 1\r\n"
                        "02, 1.000, 1.000, 10, 2.000, 1.000, FALSE, false\r\n"));
    const struct
    {
        const char* record;
        int ovpOption, ocpOption; // selected index after showing the record
    } steps[] = {{"1", 1, 1}, {"2", -1, -1}, {"0", 1, 1}, {"2", -1, -1}};
    for (const auto& s : steps) {
        c().record->setText(QString::fromLatin1(s.record));
        EXPECT_EQ(c().ovpmen->selectedIndex(), s.ovpOption) << s.record;
        EXPECT_EQ(c().ocpmen->selectedIndex(), s.ocpOption) << s.record;
    }
    c().cmd_change->click();
    EXPECT_EQ(editor->records()[2].ovpStatus, QStringLiteral("False"));
    c().ocpmen->select(1);
    c().cmd_change->click();
    EXPECT_EQ(editor->records()[2].ocpStatus, QStringLiteral("True"));
    EXPECT_EQ(editor->records()[2].voltage, QStringLiteral("1.000"));
}

TEST_F(EditorWindow, ChangeWithAnEmptyVoltageSavesTheDefaults)
{
    open(QString());
    c().record->setText(QStringLiteral("8"));
    EXPECT_EQ(shown(), (QStringList{"8", "", "", "1", "1.000", "", "1", "1"})); // a never-set record
    c().cm->setText(QStringLiteral("3"));
    c().delay->setText(QStringLiteral("25"));
    c().cmd_change->click();
    EXPECT_EQ(editor->records()[8].current, QStringLiteral("3"));
    ASSERT_TRUE(editor->SaveRecords(path("d.csv")));
    EXPECT_EQ(fileBytes(path("d.csv")), defaultFile());
    EXPECT_EQ(editor->records()[8], kDefaultRecord);
}

TEST_F(EditorWindow, TheRecordFieldAndItsAdjuster)
{
    open(write("r.csv", "H\r\n05, 5.000\r\n99, 9.900\r\n"));
    showAndActivate();
    const struct
    {
        const char* action; // "type:<keys>" into an emptied field, "up" or "down" on the adjuster
        const char* text;
        int record;
        const char* voltage;
    } steps[] = {
        {"type:123", "12", 12, ""}, {"type:-5", "0", 0, ""},   {"type:05", "5", 5, "5.000"},
        {"type:98", "98", 98, ""},  {"up", "99", 99, "9.900"}, {"up", "99", 99, "9.900"},
        {"type:1", "1", 1, ""},     {"down", "0", 0, ""},      {"down", "0", 0, ""},
    };
    for (const auto& s : steps) {
        const QString action = QString::fromLatin1(s.action);
        if (action.startsWith("type:")) {
            c().record->setFocus();
            c().record->selectAll();
            QTest::keyClick(c().record, Qt::Key_Delete);
            QTest::keyClicks(c().record, action.mid(5));
        } else {
            (action == "up" ? c().adjrecord->upArrow() : c().adjrecord->downArrow())->click();
        }
        EXPECT_EQ(c().record->text(), QString::fromLatin1(s.text)) << s.action;
        EXPECT_EQ(editor->currentRecord(), s.record) << s.action;
        EXPECT_EQ(c().vm->text(), QString::fromLatin1(s.voltage)) << s.action;
        EXPECT_EQ(c().adjrecord->value(), 0);
    }
}

TEST_F(EditorWindow, FieldsRefuseACommaTypedOrPasted)
{
    open(QString());
    showAndActivate();
    const QList<TextField*> fields = {c().record, c().vm, c().cm, c().delay, c().ovpm, c().ocpm};
    QList<int> limits;
    for (TextField* field : fields) {
        SCOPED_TRACE(field->objectName().toStdString());
        field->setFocus();
        field->setText(QString());
        QTest::keyClicks(field, QStringLiteral(",9"));
        QApplication::clipboard()->setText(QStringLiteral("1,5"));
        field->paste();
        EXPECT_FALSE(field->text().contains(u',')) << field->text().toStdString();
        EXPECT_TRUE(field->text().contains(u'9'));
        limits.append(field->typingLimit());
    }
    EXPECT_EQ(limits, (QList<int>{2, 7, 7, 5, 7, 7}));
}

TEST_F(EditorWindow, RulesRunOnEveryChangeAndOnLeavingAField)
{
    open(QString());
    showAndActivate();
    const auto type = [](TextField* field, const char* text) {
        field->setFocus();
        field->selectAll();
        QTest::keyClicks(field, QString::fromLatin1(text));
    };
    type(c().cm, "15");
    type(c().vm, "12"); // leaving cm formats it first
    EXPECT_EQ(c().cm->text(), QStringLiteral("10.300"));
    EXPECT_EQ(c().vm->text(), QStringLiteral("12"));
    type(c().cm, "15");
    EXPECT_EQ(c().vm->text(), QStringLiteral("8.240")); // vm was formatted "12.000" on leaving, then lowered
    type(c().vm, "25");
    EXPECT_EQ(c().vm->text(), QStringLiteral("20.600"));
    type(c().ocpm, "2.5");
    c().cmd_change->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(c().ocpm->text(), QStringLiteral("2.500"));

    // Another window taking the focus is not leaving the field.
    type(c().ocpm, "3.5");
    owner.activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([this] { return QApplication::activeWindow() == &owner; }));
    EXPECT_EQ(c().ocpm->text(), QStringLiteral("3.5"));
}

TEST_F(EditorWindow, LevelAdjustersStepByTheChosenStepAndTheRulesBoundThem)
{
    open(QString());
    const struct
    {
        int stepOption; // 0 "0.001" .. 3 "1"
        Adjuster* Form3Controls::*adjuster;
        TextField* Form3Controls::*field;
        const char* before;
        bool raise;
        const char* after;
    } cases[] = {
        {3, &Form3Controls::adjovpm, &Form3Controls::ovpm, "1.000", false, "1.000"},
        {0, &Form3Controls::adjvm, &Form3Controls::vm, "20.600", true, "20.600"},
        {1, &Form3Controls::adjcm, &Form3Controls::cm, "1", false, "0.990"},
        {3, &Form3Controls::adjdelay, &Form3Controls::delay, "59999", true, "59999"},
    };
    for (const auto& t : cases) {
        c().optaction->option(t.stepOption)->click();
        (c().*t.field)->setText(QString::fromLatin1(t.before));
        Adjuster* adjuster = c().*t.adjuster;
        (t.raise ? adjuster->upArrow() : adjuster->downArrow())->click();
        EXPECT_EQ((c().*t.field)->text(), QString::fromLatin1(t.after)) << t.before;
        EXPECT_EQ(adjuster->value(), 0);
    }
    const float steps[] = {0.001f, 0.01f, 0.1f, 1.0f};
    for (int i = 0; i < 4; ++i) {
        c().optaction->select(i);
        EXPECT_EQ(editor->fieldStep(), steps[i]);
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

TEST_F(EditorWindow, PointerOverAButtonTakesTheFocusAndFormatsTheField)
{
    open(QString());
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
        const test::FileSizeLimit limit(64);
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
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              (QStringList{"folder", "old.csv"}));
    ASSERT_FALSE(editor.isNull());
    EXPECT_EQ(editor->records(), before);
    EXPECT_EQ(editor->windowTitle(), file);
    EXPECT_EQ(editor->filePath(), file);
    EXPECT_EQ(state.DataFilePath, file);

    // A later save that works still writes the window's own file.
    c().cmd_save->click();
    EXPECT_TRUE(fileBytes(file).contains("00, 3.000, 1.000, 10, 2.000, 1.000, True, True\r\n"));
}

TEST_F(EditorWindow, AFileThatCannotBeReadOpensAsANewFileAfterAWarning)
{
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder"));
    for (const QString& file : {path("missing.csv"), path("folder")}) {
        SCOPED_TRACE(file.toStdString());
        dialogs.messages.clear();
        open(file);
        ASSERT_EQ(dialogs.messages.size(), 1);
        EXPECT_EQ(dialogs.messages[0].title, kWarning);
        EXPECT_TRUE(dialogs.messages[0].text.contains(file));
        EXPECT_EQ(editor->windowTitle(), QStringLiteral("New file"));
        EXPECT_TRUE(editor->filePath().isEmpty());
        c().cmd_save->click(); // asks for a name; the empty script cancels
        EXPECT_FALSE(QFileInfo(file).isFile());
        delete editor.data();
    }
}

TEST_F(EditorWindow, HostileFilesLoadAsFarAsTheFormatHolds)
{
    QByteArray manyLines = "H\r\n";
    for (int i = 0; i < 1001; ++i)
        manyLines += "01, 1.000\r\n";
    manyLines += "02, 2.000\r\n"; // line 1003: never read

    const struct
    {
        const char* name;
        QByteArray file;
        int record;
        const char* voltage;
        int eventRuns; // once per record line
    } cases[] = {
        {"more than 1002 lines", manyLines, 2, "", 1001},
        {"a huge line", "H\n03, " + QByteArray(10'000'000, '7') + "\n", 3, nullptr, 1},
        {"no line ends at all", QByteArray(5'000'000, 'x'), 0, "", 0},
        {"16-bit overflow and garbage first fields",
         QByteArrayLiteral("H\n32768, 1\n-32769, 1\n\xff\x00\x01, 1\n4, 4.000\n"), 4, "4.000", 4},
        {"non-numeric fields", "H\n05, abc, , \"1\", x, y, z, w\n", 5, "abc", 1},
    };
    for (const auto& t : cases) {
        SCOPED_TRACE(t.name);
        int eventRuns = 0;
        setPendingEventsObserver([&] { ++eventRuns; });
        open(write("hostile.csv", t.file));
        setPendingEventsObserver({});
        EXPECT_EQ(eventRuns, t.eventRuns);
        c().record->setText(QString::number(t.record));
        if (t.voltage)
            EXPECT_EQ(editor->records()[static_cast<size_t>(t.record)].voltage,
                      QString::fromLatin1(t.voltage));
        else
            EXPECT_EQ(editor->records()[static_cast<size_t>(t.record)].voltage.size(),
                      kMaxMemoryFileLineLength - 4);
        EXPECT_TRUE(dialogs.messages.isEmpty());
        ASSERT_TRUE(editor->SaveRecords(path("out.csv")));
        delete editor.data();
    }
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

} // namespace
