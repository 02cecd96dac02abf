// Compare with file: the download's own traffic and no file written, exactly the fields that differ,
// and a memory the instrument did not answer for never counted as equal.

#include "memory/memory_compare.h"
#include "support/memory_seed.h"
#include "support/panel_harness.h"
#include "support/test_files.h"
#include "ui/list_window.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace orx;
using namespace orx::test;

namespace {

using Rows = QList<QStringList>;

// A connected ORX-A100 holding a hundred different memories and a file that lists them all.
struct CompareRig
{
    PanelHarness h;
    sim::Instrument orx{0};
    QTemporaryDir dir;
    QString file = dir.filePath(QStringLiteral("memories.csv"));

    CompareRig()
    {
        h.gpib.setInterfaceAvailable(false);
        h.serial.attachInstrument(1, &orx, 9600);
        QByteArray bytes = kCsvHeader.toLatin1() + "\r\n";
        for (int i = 0; i < 100; ++i) {
            orx.setMemory(i, seededMemory(i));
            bytes += expectedRecordLine(i, seededMemory(i)).toLatin1() + "\r\n";
        }
        EXPECT_TRUE(writeFileBytes(file, bytes));
        h.connected();
    }

    QStringList run(QPushButton* Form1Controls::*button, const QString& path)
    {
        h.dialogs.fileAnswers.enqueue(path);
        h.serial.clearLog();
        (h.c().*button)->click();
        return h.serial.commands();
    }
};

TEST(Compare, ReadsAsTheDownloadDoesAndWritesNoFile)
{
    CompareRig r;
    const QString down = r.dir.filePath(QStringLiteral("down.csv"));
    r.run(&Form1Controls::sallfile, down); // both then start from the panel a download leaves
    const QStringList compared = r.run(&Form1Controls::cmpfile, r.file);
    EXPECT_EQ(compared, r.run(&Form1Controls::sallfile, down));
    EXPECT_EQ(fileBytes(r.file), fileBytes(down));
    EXPECT_EQ(folderEntries(r.dir.path()), (QStringList{"down.csv", "memories.csv"}));
}

TEST(Compare, ListsExactlyWhatDiffers)
{
    sim::Settings ocp37 = seededMemory(37);
    ocp37.ocpLevel += 250;
    const QString ocpInFile = expectedRecordLine(37, seededMemory(37)).section(QStringLiteral(", "), 5, 5);
    const QString ocpInInstrument = expectedRecordLine(37, ocp37).section(QStringLiteral(", "), 5, 5);
    using Act = std::function<void(CompareRig&)>;
    // What the instrument does differently, the rows and the summary.
    const std::tuple<Act, Rows, QString> cases[] = {
        {[](CompareRig&) {}, {}, "memories.csv against the instrument: 100 of 100 memories match."},
        {[&](CompareRig& r) { r.orx.setMemory(37, ocp37); },
         {{"37", "OCP (A)", ocpInFile, ocpInInstrument}},
         "memories.csv against the instrument: 99 of 100 memories match, 1 differ."},
        {[](CompareRig& r) { // only the delay of memory 05 unanswered
             r.h.rewriting.replace(QByteArray::number(seededMemory(5).delay) + '\n', "");
         },
         {{"05", "every field", "", "no answer: not compared"}},
         "memories.csv against the instrument: 99 of 100 memories match, 1 could not be read (05)."},
    };
    for (const auto& [act, rows, summary] : cases) {
        SCOPED_TRACE(summary.toStdString());
        CompareRig r;
        act(r);
        r.run(&Form1Controls::cmpfile, r.file);
        ListWindow* result = r.h.form->compare().result();
        ASSERT_NE(result, nullptr);
        EXPECT_EQ(result->rows(), rows);
        EXPECT_EQ(result->summary(), summary);
    }
}

} // namespace
