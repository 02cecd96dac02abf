// The Memory group: the save lines and their range command, the copy shown for a memory number,
// and recall with and without the delay's answer.

#include "save_lines.h"

#include "support/panel_harness.h"

#include <gtest/gtest.h>

using namespace orx;
using namespace orx::test;

namespace {

constexpr int kOff = 0;
constexpr int kOn = 1;

// What the group's fields show: record, vm, cm, ovpm, ocpm, delay, and "ON" of both switches.
QStringList groupTexts(const PanelHarness& p)
{
    const Form1Controls& c = p.c();
    return {c.record->text(),
            c.vm->text(),
            c.cm->text(),
            c.ovpm->text(),
            c.ocpm->text(),
            c.delay->text(),
            statusText(c.ovpmen->isSelected(kOn)),
            statusText(c.ocpmen->isSelected(kOn))};
}

// On an ORX-A100 with the output and the sequence on; the operator fills the group (nothing is sent
// while doing so) with OVP 13 V on, OCP 1.1 A off, delay 10, and clicks Save. Choosing a memory number
// then shows the copy kept for it; a memory never recalled or saved shows what the rules make of empty
// texts.
TEST(MemoryBank, SaveSendsTheGroupWithItsRangeAndChoosingAMemoryShowsItsCopy)
{
    // record, volts, amperes, then the range line ("" for none), the texts and the memory number
    const std::tuple<double, double, double, const char*, const char*, const char*, const char*> cases[] = {
        {5, 12.5, 1, "HIGH", "12.500", "1.000", "05"},
        {5, double(8.24f), 10, "", "8.240", "10.000", "05"}, // exactly the low range's top: the value held
        {4.5, 1, 1, "", "1.000", "1.000", "04"},             // a tie saves 04 and files it under 4
    };
    for (const auto& [record, volts, amperes, range, voltText, ampText, number] : cases) {
        SCOPED_TRACE(voltText);
        PanelHarness p(scriptedAnswers);
        const Form1Controls& c = p.c();
        EXPECT_FALSE(c.recall->isEnabled() || c.Frame10->isEnabled()) << "no memory chosen yet";
        c.output->select(kOn);
        c.autorun->select(kOn);
        c.record->setValue(record);
        c.vm->setValue(volts);
        c.cm->setValue(amperes);
        c.ovpm->setValue(13);
        c.ocpm->setValue(1.1);
        c.delay->setValue(10);
        c.ovpmen->select(kOn);
        c.ocpmen->select(kOff);
        p.sent.clear();
        c.save->click();
        // The output goes off first (with its read-back), then the sequence, then the group is saved.
        EXPECT_EQ(p.sent.first(), ":OUTP:STAT 0");
        EXPECT_EQ(p.sent.mid(p.sent.indexOf("SYST:AUTO 0")),
                  Commands{"SYST:AUTO 0"} +
                      saveLines(range, voltText, ampText, "13.000", "1.100", true, false, "10", number));
        const int index = QByteArray(number).toInt();
        for (int i = 0; i < 100; ++i) {
            EXPECT_EQ(p.form->memoryBank().copies()[static_cast<size_t>(i)],
                      (i == index
                           ? MemoryRecordTexts{voltText, ampText, "10", "13.000", "1.100", "True", "False"}
                           : MemoryRecordTexts{}))
                << i;
        }
        c.vm->setValue(2); // edited after the save: not part of the copy
        c.record->setValue(7);
        for (const QWidget* usable : QList<const QWidget*>{c.recall, c.save, c.Frame10, c.Frame11})
            EXPECT_TRUE(usable->isEnabled()) << usable->objectName().toStdString();
        EXPECT_EQ(groupTexts(p), (QStringList{"7", "0.000", "0.000", "1.000", "0.000", "1", "True", "True"}));
        c.record->setValue(index + 0.4); // the whole number of the value
        EXPECT_EQ(groupTexts(p), (QStringList{QString::number(index), voltText, ampText, "13.000", "1.100",
                                              "10", "True", "False"}));
    }
}

TEST(MemoryBank, RecallReadsTheMemoryIntoPanelAndGroup)
{
    // The delay's answer (empty: none), the OVP state's answer, the delay shown, all answered
    const std::tuple<QByteArray, QByteArray, const char*, bool> cases[] = {
        {"25\n", "0\n", "25", true}, {"", "1\n", "7", false}, {"0\n", "1\n", "1", true}, // 0 is held at 1
    };
    for (const auto& [delayAnswer, ovpState, delayShown, allAnswered] : cases) {
        SCOPED_TRACE(delayShown);
        PanelHarness p(scriptedAnswers);
        p.answers[":VOLT?"] = "12.5\n";
        p.answers[":VOLT:PROT:STAT?"] = ovpState;
        p.answers[":CURR:PROT:STAT?"] = "1\n";
        if (!delayAnswer.isEmpty())
            p.answers["SYST:AUTO:DEL?"] = delayAnswer;
        p.c().record->setValue(5);
        p.c().delay->setValue(7);
        p.c().autorun->select(kOn);
        p.sent.clear();
        p.c().recall->click();
        // The panel's switches start "OFF": only a state that changes them is sent back.
        const bool ovpOn = ovpState == "1\n";
        Commands expected = {"SYST:AUTO 0", "*RCL 05", ":VOLT?", ":CURR?", ":VOLT:PROT?", ":VOLT:PROT:STAT?"};
        if (ovpOn)
            expected.append(":VOLT:PROT:STAT 1");
        expected += Commands{":CURR:PROT?", ":CURR:PROT:STAT?", ":CURR:PROT:STAT 1", "SYST:AUTO:DEL?"};
        EXPECT_EQ(p.sent, expected);
        const QStringList shown = {"5",     "12.500",   "1.000",           "6.000",
                                   "2.000", delayShown, statusText(ovpOn), "True"};
        EXPECT_EQ(groupTexts(p), shown);
        EXPECT_EQ(p.form->memoryBank().copies()[5],
                  (MemoryRecordTexts{shown[1], shown[2], shown[5], shown[3], shown[4], shown[6], shown[7]}));
        EXPECT_EQ(p.form->memoryBank().RecallMemory("05"), allAnswered);
    }
}

} // namespace
