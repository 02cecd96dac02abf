// Set-point entry on the main window: the limit rules wired to the eight fields, the sends on the
// operator's actions, the step, and the focus losses that must not send.

#include "support/panel_harness.h"

#include <QTest>
#include <gtest/gtest.h>
#include <vector>

using namespace orx;
using namespace orx::test;

namespace {

using Field = NumericField* Form1Controls::*;
constexpr Field V = &Form1Controls::setv, C = &Form1Controls::setc, Ovp = &Form1Controls::ovp,
                Ocp = &Form1Controls::ocp, Vm = &Form1Controls::vm, Cm = &Form1Controls::cm,
                Ovpm = &Form1Controls::ovpm, Ocpm = &Form1Controls::ocpm;

struct Value
{
    Field field;
    double value; // a float literal stands for a single-precision limit widened to double
};

} // namespace

// The operator types a value into a field and releases the key: the rules of that field run (and
// run again after their own correction), then the field's set-point goes out.
TEST(SetpointEntry, LimitsAndSendsOfTheEntryFields)
{
    const struct
    {
        const char* name;
        int model;
        std::vector<Value> before; // written by the program (nothing is sent)
        Value entered;
        Commands sent;
        std::vector<Value> after;
    } cases[] = {
        {"10 V, then 15 A: corrected, then sent", 0, {{V, 10}}, {C, 15}, {":CURR 10.300"}, {{C, 10.3f}}},
        {"the single 8.24 a rule writes is not", 0, {{C, 5}}, {V, 8.24f}, {":VOLT 8.240"}, {}},
        {"ORX-C300 70 V", 2, {}, {V, 70}, {":VOLT:RANG HIGH", ":VOLT 61.800"}, {{V, 61.8f}}},
        // The voltage rule holds 30 V, then runs again on its own correction and lowers the current.
        {"30 V, 15 A", 0, {{C, 15}}, {V, 30}, {":VOLT:RANG HIGH", ":VOLT 20.600"}, {{V, 20.6f}, {C, 10.3f}}},
        {"OVP 0.5", 0, {}, {Ovp, 0.5}, {":VOLT:PROT 1.000"}, {{Ovp, 1}}},
        {"OCP -2", 0, {}, {Ocp, -2}, {":CURR:PROT 0.000"}, {{Ocp, 0}}},
        {"memory pair: nothing sent", 0, {{Cm, 15}}, {Vm, 30}, {}, {{Vm, 20.6f}, {Cm, 10.3f}}},
        {"memory levels", 0, {{Ocpm, 30}}, {Ovpm, 0.5}, {}, {{Ovpm, 1}, {Ocpm, 22.0f}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PanelHarness p(scriptedAnswers);
        p.state.ModelIndex = static_cast<qint16>(c.model);
        for (const Value& v : c.before)
            (p.c().*v.field)->setValue(v.value);
        p.sent.clear();
        (p.c().*c.entered.field)->setValue(c.entered.value);
        emit(p.c().*c.entered.field)->keyReleased();
        EXPECT_EQ(p.sent, c.sent);
        for (const Value& v : c.after)
            EXPECT_EQ((p.c().*v.field)->value(), v.value) << (p.c().*v.field)->objectName().toStdString();
    }
}

TEST(SetpointEntry, EveryUserActionSendsAndTheStepReachesAllEightFields)
{
    PanelHarness p(scriptedAnswers);
    p.c().setv->setValue(2);
    emit p.c().setv->mouseReleased();
    emit p.c().setv->clicked();
    EXPECT_EQ(p.sent, Commands({":VOLT 2.000", ":VOLT 2.000"}));

    p.c().optaction->select(2);
    for (Field f : {V, C, Ovp, Ocp, Vm, Cm, Ovpm, Ocpm}) {
        NumericField* field = p.c().*f;
        field->setValue(2);
        field->stepBy(1);
        EXPECT_NEAR(field->value(), 2.1, 1e-6) << field->objectName().toStdString();
    }
}

TEST(SetpointEntry, FocusLossesTheOperatorDidNotCauseSendNothing)
{
    PanelHarness p(scriptedAnswers);
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
