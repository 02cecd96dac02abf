// Set-point entry on the main window: the limit rules on the eight fields, the sends on the operator's
// actions, the range choice, the step, and the focus losses that must not send.

#include "connection/panel_states.h"
#include "panel/setpoint_entry.h"
#include "support/scripted_panel.h"
#include "ui/numeric_field.h"
#include "ui/option_group.h"

#include <QGroupBox>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>
#include <vector>

using namespace orx;
using namespace orx::test;

namespace {

using Commands = QList<QByteArray>;
using Field = NumericField* Form1Controls::*;

struct Value
{
    Field field;
    double value;
};

// The operator types a value into a field and releases the key.
void enter(NumericField* field, double value)
{
    field->setValue(value);
    emit field->keyReleased();
}

constexpr double single(float limit)
{
    return static_cast<double>(limit);
}

} // namespace

TEST(SetpointEntry, LimitsAndSendsOfTheEntryFields)
{
    const struct
    {
        const char* name;
        int model;
        std::vector<Value> before; // written by the program (nothing is sent)
        Value entered;             // typed by the operator
        Commands sent;
        std::vector<Value> after;
    } cases[] = {
        {"15 V with 15 A: current lowered and not sent, range HIGH",
         0,
         {{&Form1Controls::setc, 15}},
         {&Form1Controls::setv, 15},
         {":VOLT:RANG HIGH", ":VOLT 15.000"},
         {{&Form1Controls::setc, single(10.3f)}}},
        {"5 V then 15 A: no correction, sent alone",
         0,
         {{&Form1Controls::setv, 5}},
         {&Form1Controls::setc, 15},
         {":CURR 15.000"},
         {{&Form1Controls::setc, 15}}},
        {"the next voltage with 15 A goes with range LOW",
         0,
         {{&Form1Controls::setc, 15}},
         {&Form1Controls::setv, 5},
         {":VOLT:RANG LOW", ":VOLT 5.000"},
         {}},
        {"10 V then 15 A: the current is corrected before it is sent",
         0,
         {{&Form1Controls::setv, 10}},
         {&Form1Controls::setc, 15},
         {":CURR 10.300"},
         {{&Form1Controls::setc, single(10.3f)}}},
        {"8.240 typed counts as above the low range",
         0,
         {},
         {&Form1Controls::setv, 8.24},
         {":VOLT:RANG HIGH", ":VOLT 8.240"},
         {}},
        {"20.600 stays",
         0,
         {},
         {&Form1Controls::setv, 20.6},
         {":VOLT:RANG HIGH", ":VOLT 20.600"},
         {{&Form1Controls::setv, 20.6}}},
        {"ORX-C300 70 V",
         2,
         {},
         {&Form1Controls::setv, 70},
         {":VOLT:RANG HIGH", ":VOLT 61.800"},
         {{&Form1Controls::setv, single(61.8f)}}},
        {"30 V with 15 A: voltage held, then the current on the rule's second run",
         0,
         {{&Form1Controls::setc, 15}},
         {&Form1Controls::setv, 30},
         {":VOLT:RANG HIGH", ":VOLT 20.600"},
         {{&Form1Controls::setv, single(20.6f)}, {&Form1Controls::setc, single(10.3f)}}},
        {"5 V with 8 A: no range command",
         0,
         {{&Form1Controls::setc, 8}},
         {&Form1Controls::setv, 5},
         {":VOLT 5.000"},
         {}},
        {"OVP 0.5", 0, {}, {&Form1Controls::ovp, 0.5}, {":VOLT:PROT 1.000"}, {{&Form1Controls::ovp, 1}}},
        {"OCP -2", 0, {}, {&Form1Controls::ocp, -2}, {":CURR:PROT 0.000"}, {{&Form1Controls::ocp, 0}}},
        {"memory pair: the same rules, nothing sent",
         0,
         {{&Form1Controls::cm, 15}},
         {&Form1Controls::vm, 30},
         {},
         {{&Form1Controls::vm, single(20.6f)}, {&Form1Controls::cm, single(10.3f)}}},
        {"memory levels",
         0,
         {{&Form1Controls::ocpm, 30}},
         {&Form1Controls::ovpm, 0.5},
         {},
         {{&Form1Controls::ovpm, 1}, {&Form1Controls::ocpm, single(22.0f)}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedPanel p;
        p.state.ModelIndex = static_cast<qint16>(c.model);
        for (const Value& v : c.before)
            (p.c().*v.field)->setValue(v.value);
        p.sent.clear();
        enter(p.c().*c.entered.field, c.entered.value);
        EXPECT_EQ(p.sent, c.sent);
        for (const Value& v : c.after)
            EXPECT_EQ((p.c().*v.field)->value(), v.value) << (p.c().*v.field)->objectName().toStdString();
    }
}

TEST(SetpointEntry, EveryUserActionSendsAndTheStepReachesAllEightFields)
{
    ScriptedPanel p;
    p.c().setv->setValue(2);
    emit p.c().setv->mouseReleased();
    emit p.c().setv->clicked();
    EXPECT_EQ(p.sent, Commands({":VOLT 2.000", ":VOLT 2.000"}));

    p.c().optaction->select(2);
    const Field fields[] = {&Form1Controls::setv, &Form1Controls::setc, &Form1Controls::ovp,
                            &Form1Controls::ocp,  &Form1Controls::vm,   &Form1Controls::cm,
                            &Form1Controls::ovpm, &Form1Controls::ocpm};
    for (Field f : fields) {
        NumericField* field = p.c().*f;
        field->setValue(2);
        field->stepBy(1);
        EXPECT_NEAR(field->value(), 2.1, 1e-6) << field->objectName().toStdString();
    }
}

TEST(SetpointEntry, FocusLossesTheOperatorDidNotCauseSendNothing)
{
    ScriptedPanel p;
    p.form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(p.form.get()));
    p.form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(p.form.get()));

    p.c().setv->setFocus(Qt::TabFocusReason);
    p.sent.clear();
    p.c().setc->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(p.sent, Commands({":VOLT 0.000"})) << "Tab out of the field sends";

    p.sent.clear();
    p.form->panelStates().SetProtectionTripped(p.c().clearocp, true);
    EXPECT_FALSE(p.c().setc->hasFocus());
    EXPECT_TRUE(p.sent.isEmpty()) << "the group disabled under the field";

    p.form->panelStates().SetProtectionTripped(p.c().clearocp, false);
    p.c().setc->setFocus(Qt::TabFocusReason);
    QWidget box; // a message box or another window coming up
    box.show();
    box.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&box));
    EXPECT_TRUE(p.sent.isEmpty()) << "another window took the focus";
}

TEST(SetpointEntry, RuleRunsOnValuesTheRangeLeavesInPlace)
{
    // Exactly the single-precision VoltMaxLow written back by a rule: it is not above the low range.
    ScriptedPanel p;
    p.c().setc->setValue(5);
    enter(p.c().setv, single(8.24f));
    EXPECT_EQ(p.sent, Commands({":VOLT 8.240"}));
}
