// A memory number with a half names one memory: the field shows the memory its value uses, and the
// wire and the window's copy use that same one (2.5 is memory 02 everywhere, 3.5 memory 04).

#include "support/panel_harness.h"
#include "support/test_files.h"

#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace orx;
using namespace orx::test;

TEST(MemoryNumbers, AHalfNamesTheMemoryItsFieldShows)
{
    PanelHarness p(scriptedAnswers);
    const auto typeAndLeave = [](NumericField* field, const char* text) {
        field->findChild<QLineEdit*>()->selectAll();
        QTest::keyClicks(field, QString::fromLatin1(text));
        emit field->editingFinished();
        return field->findChild<QLineEdit*>()->text();
    };
    EXPECT_EQ(typeAndLeave(p.c().record, "2.5"), "2");
    p.c().recall->click();
    EXPECT_EQ(p.sent.value(0), "*RCL 02");
    EXPECT_FALSE(p.form->memoryBank().copies()[2].voltage.isEmpty()) << "the copy of memory 02";

    p.c().endm->setValue(9);
    EXPECT_EQ(typeAndLeave(p.c().stm, "2.5"), "2");
    EXPECT_EQ(typeAndLeave(p.c().endm, "3.5"), "4");
    EXPECT_EQ(p.sent.mid(p.sent.size() - 2), Commands({"SYST:AUTO:STAR 02", "SYST:AUTO:CEAS 04"}));

    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("memories.csv"));
    ASSERT_TRUE(writeFileBytes(file, kCsvHeader.toLatin1() + "\r\n3.5, 1, 2, 10, 3, 4, True, True\r\n"));
    p.dialogs.fileAnswers.enqueue(file);
    p.c().rallfile->click();
    EXPECT_EQ(std::pair(p.sent.last(), p.c().record->text()), std::pair(QByteArray("*SAV 04"), QString("4")));
}
