// Upload from file: each record through the Memory group's limits into SaveMemory, half a second
// apart; lines that would send made-up values skipped and reported; files that are not there, empty
// or far too long; Cancel and the program ending; and the round trip with the download.

#include "app/form2.h"
#include "app/program_state.h"
#include "memory/memory_upload.h"
#include "support/memory_seed.h"
#include "support/panel_harness.h"
#include "support/scripted_panel.h"
#include "ui/numeric_field.h"

#include <QFile>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

using namespace orx;
using namespace orx::test;

namespace {

using Commands = QList<QByteArray>;

const QByteArray kHeader = kCsvHeader.toLatin1() + "\r\n";

// The lines SaveMemory sends for one record.
Commands saveLines(const QByteArray& range, const QByteArray& volts, const QByteArray& amperes,
                   const QByteArray& ovp, const QByteArray& ocp, bool ovpOn, bool ocpOn,
                   const QByteArray& delay, const QByteArray& number)
{
    Commands lines;
    if (!range.isEmpty())
        lines.append(":VOLT:RANG " + range);
    lines += Commands{":VOLT " + volts,
                      ":CURR " + amperes,
                      ":VOLT:PROT " + ovp,
                      ":CURR:PROT " + ocp,
                      QByteArray(":VOLT:PROT:STAT ") + (ovpOn ? "1" : "0"),
                      QByteArray(":CURR:PROT:STAT ") + (ocpOn ? "1" : "0"),
                      "SYST:AUTO:DEL " + delay,
                      "*SAV " + number};
    return lines;
}

// A window on a scripted instrument that answers at once, and a file to upload.
struct Rig : ScriptedPanel
{
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("memories.csv"));
    QList<qint64> saveTimesMs; // the manual clock at each "*SAV"
    int passes = 0;
    std::function<void(int pass)> duringIt;
    QStringList progressTexts;
    int lastValue = -1;
    int lastMax = -1;
    bool watched = false;

    Rig()
    {
        onCommand = [this](const QByteArray& command) {
            if (command.startsWith("*SAV"))
                saveTimesMs.append(clock.nanoseconds() / 1'000'000);
        };
    }

    void write(const QByteArray& bytes)
    {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    void upload(const QString& answer)
    {
        dialogs.fileAnswers.enqueue(answer);
        sent.clear();
        setPendingEventsObserver([this] {
            if (auto* window = form->findChild<Form2*>()) {
                progressTexts.append(window->text());
                lastMax = window->max();
                if (!watched) // the bar's last value, also the one set after the last pass
                    QObject::connect(window->findChild<QProgressBar*>(QStringLiteral("PBar1")),
                                     &QProgressBar::valueChanged, [this](int value) { lastValue = value; });
                watched = true;
            }
            if (duringIt)
                duringIt(passes);
            ++passes;
        });
        c().rallfile->click();
        setPendingEventsObserver({});
    }

    Commands saves() const
    {
        Commands out;
        for (const QByteArray& command : sent) {
            if (command.startsWith("*SAV"))
                out.append(command);
        }
        return out;
    }
};

TEST(Upload, RecordsGoThroughTheGroupHalfASecondApart)
{
    Rig r;
    r.write(kHeader + "03, 12.500, 1.000, 10, 13.000, 1.100, True, False\r\n"
                      "07, 5.000, 15.000, 20, 6.000, 16.000, False, True\r\n"
                      "99, 1.000, 2.000, 30, 3.000, 4.000, true, FALSE\r\n");
    r.upload(r.path);
    EXPECT_EQ(r.sent, saveLines("HIGH", "12.500", "1.000", "13.000", "1.100", true, false, "10", "03") +
                          saveLines("LOW", "5.000", "15.000", "6.000", "16.000", false, true, "20", "07") +
                          saveLines("", "1.000", "2.000", "3.000", "4.000", true, false, "30", "99"))
        << "three complete saves and nothing else";
    ASSERT_EQ(r.saveTimesMs.size(), 3);
    EXPECT_EQ(r.saveTimesMs[1] - r.saveTimesMs[0], 500);
    EXPECT_EQ(r.saveTimesMs[2] - r.saveTimesMs[1], 500);
    EXPECT_EQ(r.progressTexts.first(), "Save the setting data to #0 location.");
    EXPECT_TRUE(r.progressTexts.contains("Save the setting data to #99 location."));
    EXPECT_EQ(r.lastMax, 3);
    EXPECT_EQ(r.lastValue, 3) << "the bar ends full with the last record";
    EXPECT_EQ(r.form->findChild<Form2*>(), nullptr);
    EXPECT_EQ(r.state.DataFilePath, r.path);
    EXPECT_EQ(r.c().record->value(), 99);
    EXPECT_TRUE(r.dialogs.messages.isEmpty());
}

TEST(Upload, EachFieldIsHeldByItsRuleBeforeItIsSent)
{
    const struct
    {
        const char* name;
        QByteArray line;
        Commands sent;
    } cases[] = {
        {"record 150 writes memory 99", "150, 1, 2, 10, 3, 4, True, True",
         saveLines("", "1.000", "2.000", "3.000", "4.000", true, true, "10", "99")},
        {"record -2 writes memory 00", "-2, 1, 2, 10, 3, 4, True, True",
         saveLines("", "1.000", "2.000", "3.000", "4.000", true, true, "10", "00")},
        {"a record without a number writes memory 00", "x7, 1, 2, 10, 3, 4, True, True",
         saveLines("", "1.000", "2.000", "3.000", "4.000", true, true, "10", "00")},
        {"false in any case is off", "05, 1, 2, 10, 3, 4, fAlSe, false",
         saveLines("", "1.000", "2.000", "3.000", "4.000", false, false, "10", "05")},
        {"1, empty and any word are on", "05, 1, 2, 10, 3, 4, 1, ",
         saveLines("", "1.000", "2.000", "3.000", "4.000", true, true, "10", "05")},
        {"a voltage above the maximum, then the current of the high range", "05, 30, 15, 10, 3, 4, on, off",
         saveLines("HIGH", "20.600", "10.300", "3.000", "4.000", true, true, "10", "05")},
        {"delay 0 and levels out of range", "05, -1, -1, 0, 0.5, 50, True, True",
         saveLines("", "0.000", "0.000", "1.000", "22.000", true, true, "1", "05")},
        {"no blanks, a one-digit record, and a note after the eighth field", "7,1,2,10,3,4,TRUE,false,note",
         saveLines("", "1.000", "2.000", "3.000", "4.000", true, false, "10", "07")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Rig r;
        r.write(kHeader + c.line + "\r\n");
        r.upload(r.path);
        EXPECT_EQ(r.sent, c.sent);
    }
}

TEST(Upload, LinesThatWouldSendMadeUpValuesAreSkippedAndReported)
{
    const struct
    {
        const char* name;
        QByteArray body;
        Commands saves;
        QString message;
        int max;
    } cases[] = {
        {"empty lines and spreadsheet rows pass silently",
         "\r\n,,,,,,,\r\n03, 1, 2, 10, 3, 4, True, True\r\n , ,\r\n",
         {"*SAV 03"},
         {},
         1},
        {"a short line is reported by its line number",
         "03, 1, 2, 10, 3, 4, True, True\r\n05, 1.000\r\n07, 1, 2, 10, 3, 4, True, True\r\n",
         {"*SAV 03", "*SAV 07"},
         "Line 3 of the file has fewer than eight fields and was not written.",
         2},
        {"several",
         "05\r\n06, 1\r\n07, 1, 2, 10, 3, 4, True\r\n",
         {},
         "Lines 2, 3, 4 of the file have fewer than eight fields and were not written.",
         -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Rig r;
        r.write(kHeader + c.body);
        r.upload(r.path);
        EXPECT_EQ(r.saves(), c.saves);
        if (c.message.isEmpty()) {
            EXPECT_TRUE(r.dialogs.messages.isEmpty());
        } else {
            EXPECT_EQ(r.dialogs.messages, QList<ScriptedDialogs::Message>({{c.message, "Warning"}}));
        }
        EXPECT_EQ(r.lastMax, c.max) << "the progress counts the records that are written";
        if (c.saves.isEmpty()) {
            EXPECT_TRUE(r.sent.isEmpty()) << "not even the output switched off";
        }
    }
}

TEST(Upload, FilesWithoutRecordsDoNothing)
{
    const struct
    {
        const char* name;
        std::optional<QByteArray> bytes; // nothing: there is no such file
        bool cancelled;
        QString message;
    } cases[] = {
        {"dialog cancelled", QByteArray(), true, {}},
        {"no such file", std::nullopt, false, "Can not open this file. Please try the other file."},
        {"an empty file", QByteArray(), false, {}},
        {"a header alone", kHeader, false, {}},
        {"a record in place of the header", QByteArray("03, 1, 2, 10, 3, 4, True, True\r\n"), false, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Rig r;
        const QString before = r.state.DataFilePath;
        if (c.bytes)
            r.write(*c.bytes);
        r.upload(c.cancelled ? QString() : r.path);
        EXPECT_TRUE(r.sent.isEmpty());
        EXPECT_EQ(r.passes, 0);
        EXPECT_EQ(r.state.DataFilePath, c.cancelled ? before : r.path) << "the chosen file, even unreadable";
        if (c.message.isEmpty()) {
            EXPECT_TRUE(r.dialogs.messages.isEmpty());
        } else {
            EXPECT_EQ(r.dialogs.messages, QList<ScriptedDialogs::Message>({{c.message, "Warning"}}));
        }
    }
}

TEST(Upload, AnOverLongFileIsReadOnlyAsFarAsTheFormatHolds)
{
    Rig r;
    QByteArray bytes = kHeader;
    for (int i = 0; i < 5000; ++i)
        bytes +=
            QByteArray::number(i % 100) + ", 1, 2, " + QByteArray::number(i + 1) + ", 3, 4, True, True\r\n";
    r.write(bytes);
    r.upload(r.path);
    EXPECT_EQ(r.saves().size(), 1001);
    EXPECT_EQ(r.lastMax, 1001);
    EXPECT_TRUE(r.sent.contains("SYST:AUTO:DEL 1001"));
    EXPECT_FALSE(r.sent.contains("SYST:AUTO:DEL 1002"));
}

TEST(Upload, StopsAfterTheCurrentRecord)
{
    // Passes alternate: before record k (pass 2k) and during the wait after it (pass 2k + 1).
    const struct
    {
        const char* name;
        std::function<void(Rig&, int pass)> act;
        Commands saves;
        int endings;
    } cases[] = {
        {"Cancel before the third record",
         [](Rig& r, int pass) {
             if (pass == 4)
                 r.form->findChild<Form2*>()->findChild<QPushButton*>(QStringLiteral("cmdcancel"))->click();
         },
         {"*SAV 01", "*SAV 02"},
         0},
        {"Cancel during a wait: the wait runs out, then it stops",
         [](Rig& r, int pass) {
             if (pass == 1)
                 r.form->findChild<Form2*>()->close();
         },
         {"*SAV 01"},
         0},
        {"EXIT during a wait",
         [](Rig& r, int pass) {
             if (pass == 3)
                 r.c().cmdexit->click();
         },
         {"*SAV 01", "*SAV 02"},
         1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Rig r;
        r.write(kHeader + "01, 1, 2, 10, 3, 4, True, True\r\n02, 1, 2, 10, 3, 4, True, True\r\n"
                          "03, 1, 2, 10, 3, 4, True, True\r\n04, 1, 2, 10, 3, 4, True, True\r\n"
                          "05, 1, 2, 10, 3, 4\r\n");
        r.duringIt = [&](int pass) {
            c.act(r, pass);
        };
        r.upload(r.path);
        EXPECT_EQ(r.saves(), c.saves);
        EXPECT_EQ(r.endings, c.endings);
        EXPECT_TRUE(r.dialogs.messages.isEmpty()) << "the short line is not reported for a stopped upload";
        if (c.endings) {
            EXPECT_EQ(r.sent.mid(r.sent.lastIndexOf("SYST:LOC")), Commands({"SYST:LOC", ":OUTP:STAT 0"}));
        }
    }
}

// Download all memories, let them be overwritten, upload the file: every memory is as it was.
TEST(Upload, ADownloadedFileRestoresAllMemories)
{
    PanelHarness h;
    sim::Instrument orx(0);
    h.gpib.setInterfaceAvailable(false);
    h.serial.attachInstrument(1, &orx, 9600);
    for (int i = 0; i < 100; ++i)
        orx.setMemory(i, seededMemory(i));
    h.connected();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("round.csv"));
    h.dialogs.fileAnswers.enqueue(path);
    h.c().sallfile->click();
    for (int i = 0; i < 100; ++i)
        orx.setMemory(i, sim::factorySettings(0));
    h.dialogs.fileAnswers.enqueue(path);
    h.c().rallfile->click();
    EXPECT_TRUE(h.dialogs.messages.isEmpty());
    for (int i = 0; i < 100; ++i)
        EXPECT_EQ(orx.memory(i), seededMemory(i)) << "memory " << i;
}

} // namespace
