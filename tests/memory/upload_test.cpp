// Upload from file: each record through the Memory group's limits into SaveMemory, half a second
// apart; lines that would send made-up values skipped and reported; files that are not there, hold
// no records or are far too long; and stopping after the current record.

#include "save_lines.h"
#include "support/panel_harness.h"
#include "support/test_files.h"
#include "support/transfer_watch.h"
#include "ui/form2.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <optional>

using namespace orx;
using namespace orx::test;

namespace {

using Messages = QList<ScriptedDialogs::Message>;

const QByteArray kHeader = kCsvHeader.toLatin1() + "\r\n";

// A window on a scripted instrument that answers at once, and a file to upload.
struct UploadRig : PanelHarness
{
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("memories.csv"));
    QList<qint64> saveTimesMs; // the manual clock at each "*SAV"
    TransferWatch watch;

    UploadRig() : PanelHarness(scriptedAnswers)
    {
        onCommand = [this](const QByteArray& command) {
            if (command.startsWith("*SAV"))
                saveTimesMs.append(clock.nanoseconds() / 1'000'000);
        };
    }

    void upload(const std::optional<QByteArray>& file, bool chosen = true)
    {
        if (file) {
            EXPECT_TRUE(writeFileBytes(path, *file));
        }
        dialogs.fileAnswers.enqueue(chosen ? path : QString());
        sent.clear();
        watch.run(form.get(), [this] { c().rallfile->click(); });
    }
};

TEST(Upload, RecordsGoThroughTheGroupHalfASecondApart)
{
    UploadRig r;
    r.upload(kHeader + "03, 12.500, 1.000, 10, 13.000, 1.100, True, False\r\n"
                       "07, 5.000, 15.000, 20, 6.000, 16.000, False, True\r\n"
                       "99, 1.000, 2.000, 30, 3.000, 4.000, true, FALSE\r\n");
    EXPECT_EQ(r.sent, saveLines("HIGH", "12.500", "1.000", "13.000", "1.100", true, false, "10", "03") +
                          saveLines("LOW", "5.000", "15.000", "6.000", "16.000", false, true, "20", "07") +
                          saveLines("", "1.000", "2.000", "3.000", "4.000", true, false, "30", "99"))
        << "three complete saves and nothing else";
    ASSERT_EQ(r.saveTimesMs.size(), 3);
    EXPECT_EQ(r.saveTimesMs[2] - r.saveTimesMs[1], r.saveTimesMs[1] - r.saveTimesMs[0]);
    EXPECT_EQ(r.saveTimesMs[1] - r.saveTimesMs[0], 500);
    EXPECT_EQ(r.watch.texts.first(), "Save the setting data to #0 location.");
    EXPECT_TRUE(r.watch.texts.contains("Save the setting data to #99 location."));
    EXPECT_EQ(std::pair(r.watch.lastValue, r.watch.lastMax), std::pair(3, 3)) << "the bar ends full";
    EXPECT_EQ(r.watch.progress(), nullptr);
    EXPECT_EQ(r.state.DataFilePath, r.path);
    EXPECT_TRUE(r.dialogs.messages.isEmpty());
}

// Which lines are records is the upload plan's rule; here the window acts on what it finds, each
// value held by the rule of its field before it is sent.
TEST(Upload, WhatAFileSends)
{
    const QByteArray record = "1, 2, 10, 3, 4, True, True\r\n";
    const auto saved = [](int number) {
        return saveLines("", "1.000", "2.000", "3.000", "4.000", true, true, "10",
                         QByteArray::number(number).rightJustified(2, '0'));
    };
    QByteArray overLong = kHeader; // only the header and 1001 record lines are ever read
    Commands overLongSent;
    for (int i = 0; i < 5000; ++i) {
        overLong += QByteArray::number(i % 100) + ", " + record;
        if (i < 1001)
            overLongSent += saved(i % 100);
    }
    const QString shortLine = "Line 5 of the file has fewer than eight fields and was not written.";
    const QString shortLines = "Lines 2, 3, 4 of the file have fewer than eight fields and were not written.";
    // The file (nothing: there is no such file), a file chosen, what is sent, the one message and the
    // progress bar's maximum (-1: no progress window).
    const std::tuple<std::optional<QByteArray>, bool, Commands, QString, int> cases[] = {
        {kHeader + "03, " + record, false, {}, {}, -1}, // dialog cancelled
        {std::nullopt, true, {}, "Can not open this file. Please try the other file.", -1},
        {kHeader, true, {}, {}, -1},
        {kHeader + "150, 30, 15, 0, 0.5, 50, TRUE, on\r\n-2, -1, -1, 70000, 1, 2, fAlSe, false\r\n",
         true,
         saveLines("HIGH", "20.600", "10.300", "1.000", "22.000", true, true, "1", "99") +
             saveLines("", "0.000", "0.000", "1.000", "2.000", false, false, "59999", "00"),
         {},
         2}, // values held by their fields' limits
        {kHeader + "\r\n,,,,,,,\r\n03, " + record + "05, 1.000\r\n , ,\r\n07, " + record, true,
         saved(3) + saved(7), shortLine, 2},
        {overLong, true, overLongSent, {}, 1001},
        {kHeader + "05\r\n06, 1\r\n07, 1, 2, 10, 3, 4, True\r\n", true, {}, shortLines, -1},
    };
    for (const auto& [file, chosen, sent, message, max] : cases) {
        SCOPED_TRACE(message.toStdString() + std::to_string(max));
        UploadRig r;
        const QString before = r.state.DataFilePath;
        r.upload(file, chosen);
        EXPECT_EQ(r.sent, sent);
        EXPECT_EQ(r.dialogs.messages, message.isEmpty() ? Messages() : Messages({{message, "Warning"}}));
        EXPECT_EQ(r.watch.lastMax, max) << "the progress counts the records that are written";
        EXPECT_EQ(r.state.DataFilePath, chosen ? r.path : before) << "the chosen file, even unreadable";
    }
}

TEST(Upload, StopsAfterTheCurrentRecord)
{
    // Passes alternate: before record k (pass 2k) and during the wait after it (pass 2k + 1).
    using Act = std::function<void(UploadRig&)>;
    // The pass at which `act` runs, the records saved and the times the program ended.
    const std::tuple<int, Act, int, int> cases[] = {
        {4, [](UploadRig& r) { r.watch.cancel(); }, 2, 0}, // Cancel before the third record
        {1, [](UploadRig& r) { r.watch.progress()->close(); }, 1, 0},
        {3, [](UploadRig& r) { r.c().cmdexit->click(); }, 2, 1},
        {3, [](UploadRig& r) { r.form->close(); }, 2, 1},
    };
    for (const auto& [atPass, act, saves, endings] : cases) {
        SCOPED_TRACE(atPass);
        UploadRig r;
        r.watch.duringIt = [&](int pass) {
            if (pass == atPass)
                act(r);
        };
        r.upload(kHeader + "01, 1, 2, 10, 3, 4, True, True\r\n02, 1, 2, 10, 3, 4, True, True\r\n"
                           "03, 1, 2, 10, 3, 4, True, True\r\n04, 1, 2, 10, 3, 4\r\n");
        EXPECT_EQ(r.saveTimesMs.size(), saves);
        EXPECT_EQ(r.endings, endings);
        EXPECT_TRUE(r.dialogs.messages.isEmpty()) << "the short line is not reported for a stopped upload";
        EXPECT_EQ(r.form->isVisible(), endings == 0) << "the main window is brought back unless ending";
    }
}

} // namespace
