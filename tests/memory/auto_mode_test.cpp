// The automatic sequence: the Autorun switch, the order of the range lines, the fields that give
// way, sends only on the operator's actions, and the connect filling the fields from the instrument.

#include "app/form1_members.h"
#include "app/numbers.h"
#include "connection/connector.h"
#include "connection/panel_states.h"
#include "support/panel_harness.h"
#include "support/scripted_panel.h"
#include "ui/numeric_field.h"
#include "ui/option_group.h"

#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <gtest/gtest.h>
#include <optional>

using namespace orx;
using namespace orx::test;

namespace {

using Commands = QList<QByteArray>;

TEST(AutoMode, RangeLinesGoEndFirstOnlyWhenTheRangeMovesWhollyAbove)
{
    const struct
    {
        const char* name;
        double start, end; // written into the fields (sends nothing)
        bool sequenceOn;   // Autorun "ON" before the action
        Commands sent;     // after the key release in the start field
        qint16 heldStart, heldEnd;
    } cases[] = {
        {"10-20 to 25-30", 25, 30, false, {"SYST:AUTO:CEAS 30", "SYST:AUTO:STAR 25"}, 25, 30},
        {"10-20 to 2-5", 2, 5, false, {"SYST:AUTO:STAR 02", "SYST:AUTO:CEAS 05"}, 2, 5},
        {"10-20 to 15-18", 15, 18, false, {"SYST:AUTO:STAR 15", "SYST:AUTO:CEAS 18"}, 15, 18},
        {"the sequence is switched off first",
         25,
         30,
         true,
         {"SYST:AUTO 0", "SYST:AUTO:CEAS 30", "SYST:AUTO:STAR 25"},
         25,
         30},
        {"a tie is one memory number: 4.5 is 04",
         4.5,
         6,
         false,
         {"SYST:AUTO:STAR 04", "SYST:AUTO:CEAS 06"},
         4,
         6},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedPanel p;
        p.form->members().AutoStartMemory = 10;
        p.form->members().AutoEndMemory = 20;
        p.c().endm->setValue(99);
        p.c().stm->setValue(c.start);
        p.c().endm->setValue(c.end);
        if (c.sequenceOn)
            p.c().autorun->select(1);
        p.sent.clear();
        emit p.c().stm->keyReleased();
        EXPECT_EQ(p.sent, c.sent);
        EXPECT_TRUE(p.c().autorun->isSelected(0));
        EXPECT_EQ(p.form->members().AutoStartMemory, c.heldStart);
        EXPECT_EQ(p.form->members().AutoEndMemory, c.heldEnd);
    }
}

// The edge case of the two actions: the first already told the instrument the new end.
TEST(AutoMode, EndThenStartSendsTheStartFirstOnTheSecondAction)
{
    ScriptedPanel p;
    p.form->members().AutoStartMemory = 10;
    p.form->members().AutoEndMemory = 20;
    p.c().endm->setValue(20);
    p.c().stm->setValue(10);
    p.c().endm->setValue(30);
    emit p.c().endm->keyReleased();
    p.c().stm->setValue(25);
    emit p.c().stm->mouseReleased();
    EXPECT_EQ(p.sent,
              Commands({"SYST:AUTO:STAR 10", "SYST:AUTO:CEAS 30", "SYST:AUTO:STAR 25", "SYST:AUTO:CEAS 30"}));
}

TEST(AutoMode, FieldsAreHeldAndOnlyTheOperatorsActionsSend)
{
    using Field = NumericField* Form1Controls::*;
    const struct
    {
        const char* name;
        Field field;
        double typed;
        double held;
        Commands sent; // on the field's click
    } cases[] = {
        {"start 50 with end 30", &Form1Controls::stm, 50, 30, {"SYST:AUTO:STAR 30", "SYST:AUTO:CEAS 30"}},
        {"end 5 with start 10", &Form1Controls::endm, 5, 10, {"SYST:AUTO:STAR 10", "SYST:AUTO:CEAS 10"}},
        {"start -2", &Form1Controls::stm, -2, 0, {"SYST:AUTO:STAR 00", "SYST:AUTO:CEAS 30"}},
        {"end 150", &Form1Controls::endm, 150, 99, {"SYST:AUTO:STAR 10", "SYST:AUTO:CEAS 99"}},
        {"cycles above 99999", &Form1Controls::cycle, 123456, 99999, {"SYST:AUTO:CYCL 99999"}},
        {"cycles -1", &Form1Controls::cycle, -1, 0, {"SYST:AUTO:CYCL 0"}},
        {"cycles 5", &Form1Controls::cycle, 5, 5, {"SYST:AUTO:CYCL 5"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedPanel p;
        p.c().endm->setValue(30);
        p.c().stm->setValue(10);
        p.form->members().AutoStartMemory = 10;
        p.form->members().AutoEndMemory = 30;
        p.sent.clear();
        NumericField* field = p.c().*c.field;
        field->setValue(c.typed);
        EXPECT_EQ(field->value(), c.held);
        EXPECT_TRUE(p.sent.isEmpty()) << "a value change alone sends nothing";
        emit field->clicked();
        EXPECT_EQ(p.sent, c.sent);
    }
}

TEST(AutoMode, AutorunSwitch)
{
    const struct
    {
        const char* name;
        bool tripped;
        int choice;
        Commands sent;
        bool autoModeUsable;
    } cases[] = {
        {"ON", false, 1, {"SYST:AUTO 1"}, false},
        {"ON while tripped", true, 1, {}, false},
        {"OFF", false, 0, {"SYST:AUTO 0"}, true},
        {"OFF while tripped", true, 0, {}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedPanel p;
        p.c().autorun->select(c.choice == 1 ? 0 : 1);
        p.form->panelStates().SetOutputControlsEnabled(false);
        if (c.tripped)
            p.form->panelStates().SetProtectionTripped(p.c().clearovp, true);
        p.sent.clear();
        p.c().autorun->select(c.choice);
        EXPECT_EQ(p.sent, c.sent);
        EXPECT_EQ(p.c().Frame3->isEnabled(), c.autoModeUsable);
        // "OFF" hands the output controls back in every case; "ON" leaves them as they were.
        EXPECT_EQ(p.c().Frame13->isEnabled(), c.choice == 0);
    }
}

// The connect writes both fields once both answers are in, so a range above the fields' old one
// arrives whole, and a mere click then sends the instrument's own range back.
TEST(AutoMode, ConnectShowsTheInstrumentsRangeWhole)
{
    const struct
    {
        const char* name;
        int firstStart, firstEnd; // the instrument's range at the first connect
        int start, end;           // at the reconnect
    } cases[] = {
        {"above the fields' range", 0, 0, 10, 20},
        {"below it", 50, 60, 10, 20},
        {"inside it", 10, 60, 20, 30},
        {"overlapping it from above", 10, 20, 15, 40},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PanelHarness h;
        sim::Instrument orx(0);
        h.serial.attachInstrument(1, &orx, 9600);
        h.gpib.setInterfaceAvailable(false);
        const auto setRange = [&](int start, int end) {
            orx.handleLine(QStringLiteral("SYST:AUTO:CEAS 99"), 0);
            orx.handleLine(QStringLiteral("SYST:AUTO:STAR %1").arg(start), 0);
            orx.handleLine(QStringLiteral("SYST:AUTO:CEAS %1").arg(end), 0);
        };
        setRange(c.firstStart, c.firstEnd);
        h.connected();
        setRange(c.start, c.end);
        h.form->connector().StartConnect();
        h.runConnect();
        EXPECT_EQ(h.c().stm->value(), c.start);
        EXPECT_EQ(h.c().endm->value(), c.end);
        h.serial.clearLog();
        emit h.c().stm->clicked();
        EXPECT_EQ(h.serial.commands(),
                  QStringList({QStringLiteral("SYST:AUTO:STAR ") + formatTwoDigit(c.start),
                               QStringLiteral("SYST:AUTO:CEAS ") + formatTwoDigit(c.end)}));
        EXPECT_EQ(orx.autoPlan().first, c.start);
        EXPECT_EQ(orx.autoPlan().last, c.end);
    }
}

TEST(AutoMode, AbsurdRangeAnswersSaturate)
{
    const struct
    {
        QByteArray start, end;
        qint16 heldStart, heldEnd;
    } cases[] = {
        {"1e9", "-1e9", 32767, -32768},
        {"99999", "70000", 32767, 32767},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.start.toStdString());
        PanelHarness h;
        sim::Instrument orx(0);
        h.serial.attachInstrument(1, &orx, 9600);
        h.gpib.setInterfaceAvailable(false);
        orx.handleLine(QStringLiteral("SYST:AUTO:CEAS 38"), 0);
        orx.handleLine(QStringLiteral("SYST:AUTO:STAR 37"), 0);
        h.rewriting.replace("37\n", c.start + '\n');
        h.rewriting.replace("38\n", c.end + '\n');
        h.connected();
        EXPECT_EQ(h.form->members().AutoStartMemory, c.heldStart);
        EXPECT_EQ(h.form->members().AutoEndMemory, c.heldEnd);
        EXPECT_LE(h.c().stm->value(), h.c().endm->value());
        EXPECT_GE(h.c().stm->value(), 0);
        EXPECT_LE(h.c().endm->value(), 99);
    }
}

} // namespace
