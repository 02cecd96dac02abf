// The automatic sequence in the window: the Autorun switch, the range lines in the order the pure
// rule picks, the fields held by their rules and sending only on the operator's actions, and the
// connect filling the fields from the instrument.

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
#include <gtest/gtest.h>

using namespace orx;
using namespace orx::test;

namespace {

using Commands = QList<QByteArray>;
using Field = NumericField* Form1Controls::*;

// The instrument holds 10-20 and the fields show it.
struct AutoPanel : ScriptedPanel
{
    AutoPanel()
    {
        form->members().AutoStartMemory = 10;
        form->members().AutoEndMemory = 20;
        c().endm->setValue(20);
        c().stm->setValue(10);
    }
    void type(Field field, double value) const { (c().*field)->setValue(value); }
};

// What the operator types is held by the fields' rules and sends nothing; the finished action on a
// field sends the range, in the order the pure rule picks, or the cycle count.
TEST(AutoMode, FieldsAreHeldAndOnlyTheOperatorsActionsSend)
{
    using Action = void (NumericField::*)();
    const struct
    {
        const char* name;
        bool sequenceOn; // Autorun "ON" before the action
        QList<std::pair<Field, double>> typed;
        Field field;
        Action action;
        Commands sent;
    } cases[] = {
        {"wholly above: the sequence off, then the end first",
         true,
         {{&Form1Controls::endm, 99}, {&Form1Controls::stm, 25}, {&Form1Controls::endm, 30}},
         &Form1Controls::stm,
         &NumericField::keyReleased,
         {"SYST:AUTO 0", "SYST:AUTO:CEAS 30", "SYST:AUTO:STAR 25"}},
        {"a tie is one memory number: 4.5 is 04",
         false,
         {{&Form1Controls::stm, 4.5}, {&Form1Controls::endm, 6}},
         &Form1Controls::endm,
         &NumericField::mouseReleased,
         {"SYST:AUTO:STAR 04", "SYST:AUTO:CEAS 06"}},
        {"start 50 gives way to end 20",
         false,
         {{&Form1Controls::stm, 50}},
         &Form1Controls::stm,
         &NumericField::clicked,
         {"SYST:AUTO:STAR 20", "SYST:AUTO:CEAS 20"}},
        {"end 150",
         false,
         {{&Form1Controls::endm, 150}},
         &Form1Controls::endm,
         &NumericField::clicked,
         {"SYST:AUTO:STAR 10", "SYST:AUTO:CEAS 99"}},
        {"cycles above 99999",
         false,
         {{&Form1Controls::cycle, 123456}},
         &Form1Controls::cycle,
         &NumericField::clicked,
         {"SYST:AUTO:CYCL 99999"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AutoPanel p;
        if (c.sequenceOn)
            p.c().autorun->select(1);
        p.sent.clear();
        for (const auto& [field, value] : c.typed)
            p.type(field, value);
        EXPECT_TRUE(p.sent.isEmpty()) << "a value change alone sends nothing";
        emit(p.c().*c.field->*c.action)();
        EXPECT_EQ(p.sent, c.sent);
        EXPECT_TRUE(p.c().autorun->isSelected(0));
    }
}

// The edge case of the two actions: the first already told the instrument the new end, and the
// range the instrument holds decides the order of the second.
TEST(AutoMode, EndThenStartSendsTheStartFirstOnTheSecondAction)
{
    AutoPanel p;
    p.type(&Form1Controls::endm, 30);
    emit p.c().endm->keyReleased();
    p.type(&Form1Controls::stm, 25);
    emit p.c().stm->mouseReleased();
    EXPECT_EQ(p.sent,
              Commands({"SYST:AUTO:STAR 10", "SYST:AUTO:CEAS 30", "SYST:AUTO:STAR 25", "SYST:AUTO:CEAS 30"}));
    EXPECT_EQ(p.form->members().AutoStartMemory, 25);
    EXPECT_EQ(p.form->members().AutoEndMemory, 30);
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

// The connect writes both fields once both answers are in, so a range above or below the fields' old
// one arrives whole, a mere click then sends the instrument's own range back, and absurd answers
// saturate the range the window keeps.
TEST(AutoMode, TheConnectShowsTheInstrumentsRangeWhole)
{
    const struct
    {
        const char* name;
        int firstStart, firstEnd;      // the instrument's range at the first connect
        QByteArray startSent, endSent; // its answers at the reconnect
        int start, end;                // the fields afterwards
        qint16 heldStart, heldEnd;
    } cases[] = {
        {"above the fields' range", 0, 0, "10", "20", 10, 20, 10, 20},
        {"below it", 50, 60, "10", "20", 10, 20, 10, 20},
        {"absurd answers", 0, 0, "1e9", "-1e9", 0, 0, 32767, -32768},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PanelHarness h;
        sim::Instrument orx(0);
        h.serial.attachInstrument(1, &orx, 9600);
        h.gpib.setInterfaceAvailable(false);
        const auto setRange = [&](int start, int end) {
            for (const QString& line : {QStringLiteral("CEAS 99"), QStringLiteral("STAR %1").arg(start),
                                        QStringLiteral("CEAS %1").arg(end)})
                orx.handleLine(QStringLiteral("SYST:AUTO:") + line, 0);
        };
        setRange(c.firstStart, c.firstEnd);
        h.connected();
        setRange(37, 38); // answered as the case says
        h.rewriting.replace("37\n", c.startSent + '\n');
        h.rewriting.replace("38\n", c.endSent + '\n');
        h.form->connector().StartConnect();
        h.runConnect();
        EXPECT_EQ(h.c().stm->value(), c.start);
        EXPECT_EQ(h.c().endm->value(), c.end);
        EXPECT_EQ(h.form->members().AutoStartMemory, c.heldStart);
        EXPECT_EQ(h.form->members().AutoEndMemory, c.heldEnd);
        h.serial.clearLog();
        emit h.c().stm->clicked();
        EXPECT_EQ(h.serial.commands(),
                  QStringList({QStringLiteral("SYST:AUTO:STAR ") + formatTwoDigit(c.start),
                               QStringLiteral("SYST:AUTO:CEAS ") + formatTwoDigit(c.end)}));
    }
}

} // namespace
