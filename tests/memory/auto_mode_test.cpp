// The automatic sequence in the window: the Autorun switch, the range lines in the order the pure
// rule picks, the fields held by their rules and sending only on the operator's actions, and the
// connect filling the fields from the instrument.

#include "base/numbers.h"
#include "support/panel_harness.h"

#include <gtest/gtest.h>

using namespace orx;
using namespace orx::test;

namespace {

using Field = NumericField* Form1Controls::*;

// The instrument holds 10-20 and the fields show it.
struct AutoPanel : PanelHarness
{
    AutoPanel() : PanelHarness(scriptedAnswers)
    {
        form->members().AutoStartMemory = 10;
        form->members().AutoEndMemory = 20;
        c().endm->setValue(20);
        c().stm->setValue(10);
    }
    void type(Field field, double value) const { (c().*field)->setValue(value); }
};

constexpr Field stm = &Form1Controls::stm, endm = &Form1Controls::endm, cycle = &Form1Controls::cycle;

// What the operator types is held by the fields' rules and sends nothing; the finished action on a
// field sends the range, in the order the pure rule picks, or the cycle count. With the sequence on,
// it goes off first.
TEST(AutoMode, FieldsAreHeldAndOnlyTheOperatorsActionsSend)
{
    using Action = void (NumericField::*)();
    const std::tuple<bool, QList<std::pair<Field, double>>, Field, Action, Commands> cases[] = {
        {true,
         {{endm, 99}, {stm, 25}, {endm, 30}},
         stm,
         &NumericField::keyReleased,
         {"SYST:AUTO 0", "SYST:AUTO:CEAS 30", "SYST:AUTO:STAR 25"}}, // wholly above: the end first
        {false,
         {{stm, 4.5}, {endm, 6}},
         endm,
         &NumericField::mouseReleased,
         {"SYST:AUTO:STAR 04", "SYST:AUTO:CEAS 06"}}, // a tie is one memory number
        {false, {{stm, 50}}, stm, &NumericField::clicked, {"SYST:AUTO:STAR 20", "SYST:AUTO:CEAS 20"}},
        {false, {{cycle, 123456}}, cycle, &NumericField::clicked, {"SYST:AUTO:CYCL 99999"}},
    };
    for (const auto& [sequenceOn, typed, field, action, sent] : cases) {
        SCOPED_TRACE(sent.last().toStdString());
        AutoPanel p;
        if (sequenceOn)
            p.c().autorun->select(1);
        p.sent.clear();
        for (const auto& [typedField, value] : typed)
            p.type(typedField, value);
        EXPECT_TRUE(p.sent.isEmpty()) << "a value change alone sends nothing";
        emit(p.c().*field->*action)();
        EXPECT_EQ(p.sent, sent);
        EXPECT_TRUE(p.c().autorun->isSelected(0));
    }
}

// The edge case of the two actions: the first already told the instrument the new end, and the
// range the instrument holds decides the order of the second.
TEST(AutoMode, EndThenStartSendsTheStartFirstOnTheSecondAction)
{
    AutoPanel p;
    p.type(endm, 30);
    emit p.c().endm->keyReleased();
    p.type(stm, 25);
    emit p.c().stm->mouseReleased();
    EXPECT_EQ(p.sent,
              Commands({"SYST:AUTO:STAR 10", "SYST:AUTO:CEAS 30", "SYST:AUTO:STAR 25", "SYST:AUTO:CEAS 30"}));
    EXPECT_EQ(std::pair(p.form->members().AutoStartMemory, p.form->members().AutoEndMemory),
              (std::pair<qint16, qint16>(25, 30)));
}

// "ON" while tripped sends nothing; "OFF" hands the output controls back in every case, "ON" leaves
// them as they were.
TEST(AutoMode, AutorunSwitch)
{
    for (const auto& [tripped, choice, sent] : {std::tuple{false, 1, Commands{"SYST:AUTO 1"}},
                                                {true, 1, Commands{}},
                                                {false, 0, Commands{"SYST:AUTO 0"}},
                                                {true, 0, Commands{}}}) {
        SCOPED_TRACE(testing::Message() << "tripped " << tripped << " choice " << choice);
        PanelHarness p(scriptedAnswers);
        p.c().autorun->select(choice == 1 ? 0 : 1);
        p.form->panelStates().SetOutputControlsEnabled(false);
        if (tripped)
            p.form->panelStates().SetProtectionTripped(p.c().clearovp, true);
        p.sent.clear();
        p.c().autorun->select(choice);
        EXPECT_EQ(p.sent, sent);
        EXPECT_EQ(p.c().Frame3->isEnabled(), choice == 0);
        EXPECT_EQ(p.c().Frame13->isEnabled(), choice == 0);
    }
}

// The connect writes both fields once both answers are in, so a range above or below the fields' old
// one arrives whole, a mere click then sends the instrument's own range back, and absurd answers
// saturate the range the window keeps.
TEST(AutoMode, TheConnectShowsTheInstrumentsRangeWhole)
{
    // The instrument's range at the first connect, its answers at the reconnect, then the fields
    // afterwards and the range the window keeps.
    const std::tuple<int, int, QByteArray, QByteArray, int, int, qint16, qint16> cases[] = {
        {0, 0, "10", "20", 10, 20, 10, 20},         // above the fields' range
        {50, 60, "10", "20", 10, 20, 10, 20},       // below it
        {0, 0, "1e9", "-1e9", 0, 0, 32767, -32768}, // absurd answers
    };
    for (const auto& [firstStart, firstEnd, startSent, endSent, start, end, heldStart, heldEnd] : cases) {
        SCOPED_TRACE(firstStart);
        PanelHarness h;
        sim::Instrument orx(0);
        h.serial.attachInstrument(1, &orx, 9600);
        h.gpib.setInterfaceAvailable(false);
        const auto setRange = [&](int start, int end) {
            for (const QString& line : {QStringLiteral("CEAS 99"), QStringLiteral("STAR %1").arg(start),
                                        QStringLiteral("CEAS %1").arg(end)})
                orx.handleLine(QStringLiteral("SYST:AUTO:") + line, 0);
        };
        setRange(firstStart, firstEnd);
        h.connected();
        setRange(37, 38); // answered as the case says
        h.rewriting.replace("37\n", startSent + '\n');
        h.rewriting.replace("38\n", endSent + '\n');
        h.form->connector().StartConnect();
        h.runConnect();
        EXPECT_EQ(std::pair(h.c().stm->value(), h.c().endm->value()), std::pair(double(start), double(end)));
        EXPECT_EQ(std::pair(h.form->members().AutoStartMemory, h.form->members().AutoEndMemory),
                  std::pair(heldStart, heldEnd));
        h.serial.clearLog();
        emit h.c().stm->clicked();
        EXPECT_EQ(h.serial.commands(),
                  QStringList({QStringLiteral("SYST:AUTO:STAR ") + formatTwoDigit(start),
                               QStringLiteral("SYST:AUTO:CEAS ") + formatTwoDigit(end)}));
    }
}

} // namespace
