// The Memory group: the save lines and their range command, the copies shown for a memory number,
// recall with and without the delay's answer, and the one memory number behind the field.

#include "memory/memory_bank.h"
#include "support/scripted_panel.h"
#include "ui/numeric_field.h"
#include "ui/option_group.h"

#include <QGroupBox>
#include <QPushButton>
#include <gtest/gtest.h>

using namespace orx;
using namespace orx::test;

namespace {

using Commands = QList<QByteArray>;

constexpr int kOff = 0;
constexpr int kOn = 1;

struct Group
{
    double record, volts, amperes, ovp, ocp, delay;
    bool ovpOn, ocpOn;
};

// The operator fills the Memory group (nothing is sent while doing so).
void fill(ScriptedPanel& p, const Group& g)
{
    p.c().record->setValue(g.record);
    p.c().vm->setValue(g.volts);
    p.c().cm->setValue(g.amperes);
    p.c().ovpm->setValue(g.ovp);
    p.c().ocpm->setValue(g.ocp);
    p.c().delay->setValue(g.delay);
    p.c().ovpmen->select(g.ovpOn ? kOn : kOff);
    p.c().ocpmen->select(g.ocpOn ? kOn : kOff);
}

Commands saveLines(const char* range, const char* volts, const char* amperes, const char* number)
{
    Commands lines;
    if (*range)
        lines.append(range);
    lines += Commands{QByteArray(":VOLT ") + volts, QByteArray(":CURR ") + amperes,
                      ":VOLT:PROT 13.000",          ":CURR:PROT 1.100",
                      ":VOLT:PROT:STAT 1",          ":CURR:PROT:STAT 0",
                      "SYST:AUTO:DEL 10",           QByteArray("*SAV ") + number};
    return lines;
}

// On an ORX-A100, the rest of the group at OVP 13 V on, OCP 1.1 A off, delay 10.
TEST(MemoryBank, SaveSendsTheGroupWithItsRangeAndStoresTheCopy)
{
    const struct
    {
        const char* name;
        double record, volts, amperes;
        const char* range; // "" for none
        const char *voltText, *ampText, *number;
    } cases[] = {
        {"memory 5 holding 12.5 V and 1 A", 5, 12.5, 1, ":VOLT:RANG HIGH", "12.500", "1.000", "05"},
        {"exactly the single-precision top of the low range", 5, double(8.24f), 10, "", "8.240", "10.000",
         "05"},
        {"8.24 typed is above it", 5, 8.24, 1, ":VOLT:RANG HIGH", "8.240", "1.000", "05"},
        {"5 V with 15 A needs the low range", 5, 5, 15, ":VOLT:RANG LOW", "5.000", "15.000", "05"},
        {"record 150 saves memory 99", 150, 1, 1, "", "1.000", "1.000", "99"},
        {"record -3 saves memory 00", -3, 1, 1, "", "1.000", "1.000", "00"},
        {"a tie is one number: 4.5 saves 04 and files it under 4", 4.5, 1, 1, "", "1.000", "1.000", "04"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedPanel p;
        fill(p, {c.record, c.volts, c.amperes, 13, 1.1, 10, true, false});
        p.sent.clear();
        p.c().save->click();
        EXPECT_EQ(p.sent, saveLines(c.range, c.voltText, c.ampText, c.number));
        const int index = QByteArray(c.number).toInt();
        const MemoryCopies& copies = p.form->memoryBank().copies();
        for (int i = 0; i < 100; ++i) {
            const MemoryRecordTexts expected =
                i == index
                    ? MemoryRecordTexts{c.voltText, c.ampText, "10", "13.000", "1.100", "True", "False"}
                    : MemoryRecordTexts{};
            EXPECT_EQ(copies[static_cast<size_t>(i)], expected) << i;
        }
    }
}

TEST(MemoryBank, SaveSwitchesOutputAndSequenceOffFirst)
{
    ScriptedPanel p;
    p.c().output->select(kOn);
    p.c().autorun->select(kOn);
    fill(p, {5, 12.5, 1, 13, 1.1, 10, true, false});
    p.sent.clear();
    p.c().save->click();
    ASSERT_GE(p.sent.size(), 2);
    EXPECT_EQ(p.sent.first(), ":OUTP:STAT 0");
    EXPECT_TRUE(p.sent.contains("SYST:AUTO 0"));
    EXPECT_LT(p.sent.indexOf("SYST:AUTO 0"), p.sent.indexOf(":VOLT:RANG HIGH"));
    EXPECT_EQ(p.sent.mid(p.sent.indexOf(":VOLT:RANG HIGH")),
              saveLines(":VOLT:RANG HIGH", "12.500", "1.000", "05"));
}

// Choosing a memory number shows the copy kept for it; a memory never recalled or saved shows what
// the rules make of empty texts.
TEST(MemoryBank, ChoosingAMemoryShowsItsCopy)
{
    ScriptedPanel p;
    EXPECT_FALSE(p.c().recall->isEnabled());
    EXPECT_FALSE(p.c().Frame10->isEnabled());
    fill(p, {3, 12.5, 1, 13, 1.1, 25, true, false});
    p.c().save->click();
    p.c().vm->setValue(2); // edited after the save: not part of the copy

    p.c().record->setValue(7);
    EXPECT_TRUE(p.c().recall->isEnabled());
    EXPECT_TRUE(p.c().save->isEnabled());
    EXPECT_TRUE(p.c().Frame10->isEnabled());
    EXPECT_TRUE(p.c().Frame11->isEnabled());
    EXPECT_EQ(p.c().vm->text(), "0.000");
    EXPECT_EQ(p.c().cm->text(), "0.000");
    EXPECT_EQ(p.c().ovpm->text(), "1.000");
    EXPECT_EQ(p.c().ocpm->text(), "0.000");
    EXPECT_EQ(p.c().delay->text(), "1");
    EXPECT_TRUE(p.c().ovpmen->isSelected(kOn));
    EXPECT_TRUE(p.c().ocpmen->isSelected(kOn));

    p.c().record->setValue(3.4); // the whole number of the value
    EXPECT_EQ(p.c().vm->text(), "12.500");
    EXPECT_EQ(p.c().cm->text(), "1.000");
    EXPECT_EQ(p.c().ovpm->text(), "13.000");
    EXPECT_EQ(p.c().ocpm->text(), "1.100");
    EXPECT_EQ(p.c().delay->text(), "25");
    EXPECT_TRUE(p.c().ovpmen->isSelected(kOn));
    EXPECT_TRUE(p.c().ocpmen->isSelected(kOff));

    p.c().record->setValue(150);
    EXPECT_EQ(p.c().record->value(), 99) << "held by its rule";
}

TEST(MemoryBank, RecallReadsTheMemoryIntoPanelAndGroup)
{
    const struct
    {
        const char* name;
        QByteArray delayAnswer; // empty: no answer
        QByteArray ovpState;
        const char* delayShown;
        bool allAnswered;
    } cases[] = {
        {"every answer", "25\n", "0\n", "25", true},
        {"the delay query unanswered keeps the delay", "", "1\n", "7", false},
        {"a delay of 0 is held at 1", "0\n", "1\n", "1", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedPanel p;
        p.answers[":VOLT?"] = "12.5\n";
        p.answers[":VOLT:PROT:STAT?"] = c.ovpState;
        p.answers[":CURR:PROT:STAT?"] = "1\n";
        if (!c.delayAnswer.isEmpty())
            p.answers["SYST:AUTO:DEL?"] = c.delayAnswer;
        p.c().record->setValue(5);
        p.c().delay->setValue(7);
        p.c().autorun->select(kOn);
        p.sent.clear();
        p.c().recall->click();
        // The panel's switches start "OFF": only a state that changes them is sent back.
        Commands expected = {"SYST:AUTO 0", "*RCL 05", ":VOLT?", ":CURR?", ":VOLT:PROT?", ":VOLT:PROT:STAT?"};
        if (c.ovpState == "1\n")
            expected.append(":VOLT:PROT:STAT 1");
        expected += Commands{":CURR:PROT?", ":CURR:PROT:STAT?", ":CURR:PROT:STAT 1", "SYST:AUTO:DEL?"};
        EXPECT_EQ(p.sent, expected);
        EXPECT_EQ(p.c().vm->text(), "12.500");
        EXPECT_EQ(p.c().cm->text(), "1.000");
        EXPECT_EQ(p.c().ovpm->text(), "6.000");
        EXPECT_EQ(p.c().ocpm->text(), "2.000");
        EXPECT_EQ(p.c().ovpmen->isSelected(kOn), c.ovpState == "1\n");
        EXPECT_TRUE(p.c().ocpmen->isSelected(kOn));
        EXPECT_EQ(p.c().delay->text(), c.delayShown);
        EXPECT_EQ(p.form->memoryBank().copies()[5].delay, c.delayShown);
        EXPECT_EQ(p.form->memoryBank().copies()[5].ovpStatus, c.ovpState == "1\n" ? "True" : "False");

        p.sent.clear();
        EXPECT_EQ(p.form->memoryBank().RecallMemory("05"), c.allAnswered);
    }
}

} // namespace
