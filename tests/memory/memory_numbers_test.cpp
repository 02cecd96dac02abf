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
    const auto shown = [](NumericField* field) {
        return field->findChild<QLineEdit*>()->text();
    };
    const auto typeAndRelease = [](NumericField* field, const char* text) {
        field->findChild<QLineEdit*>()->selectAll();
        QTest::keyClicks(field, QString::fromLatin1(text));
        emit field->editingFinished(); // the operator leaves the field
    };

    p.c().record->setValue(2.5);
    EXPECT_EQ(shown(p.c().record), "2");
    p.c().recall->click();
    EXPECT_EQ(p.sent.value(0), "*RCL 02");
    EXPECT_FALSE(p.form->memoryBank().copies()[2].voltage.isEmpty()) << "the copy of memory 02";

    p.c().endm->setValue(9);
    p.sent.clear();
    typeAndRelease(p.c().stm, "2.5");
    typeAndRelease(p.c().endm, "3.5");
    EXPECT_EQ(std::pair(shown(p.c().stm), shown(p.c().endm)), std::pair(QString("2"), QString("4")));
    EXPECT_EQ(p.sent.mid(p.sent.size() - 2), Commands({"SYST:AUTO:STAR 02", "SYST:AUTO:CEAS 04"}));

    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("memories.csv"));
    ASSERT_TRUE(writeFileBytes(file, kCsvHeader.toLatin1() + "\r\n2.5, 1, 2, 10, 3, 4, True, True\r\n"));
    p.dialogs.fileAnswers.enqueue(file);
    p.sent.clear();
    p.c().rallfile->click();
    EXPECT_EQ(p.sent.last(), "*SAV 02");
    EXPECT_EQ(shown(p.c().record), "2");
}
