// The wheel and the menu's steps on the main window's fields: each is a finished action of the
// operator that sends the value shown after the limit rule, and a burst of notches sends once, when
// the wheel has rested. Nothing leaves a field that is disabled by then, nor a panel in a transfer.

#include "panel/field_sends.h"
#include "support/panel_harness.h"
#include "support/transfer_watch.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>
#include <vector>

using namespace orx;
using namespace orx::test;

namespace {

using Field = NumericField* Form1Controls::*;

void turnWheel(NumericField* field, int notches)
{
    QWheelEvent turn(QPointF(5, 5), field->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, 120 * notches),
                     Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(field, &turn);
}

} // namespace

TEST(FieldSends, AWheelBurstSendsTheValueShownAfterTheRuleOnceTheWheelRests)
{
    // The field, its value, the notches of each wheel event (200 ms apart), and what goes out.
    const std::tuple<Field, double, std::vector<int>, Commands> cases[] = {
        {&Form1Controls::setv, 20, {1}, {":VOLT:RANG HIGH", ":VOLT 20.600"}},
        {&Form1Controls::setc, 5, {1, 1, -1, 1}, {":CURR 7.000"}},
        {&Form1Controls::ovp, 1, {-1}, {":VOLT:PROT 1.000"}},
        {&Form1Controls::ocp, 2, {3}, {":CURR:PROT 5.000"}},
        {&Form1Controls::stm, 0, {1}, {"SYST:AUTO:STAR 00", "SYST:AUTO:CEAS 00"}}, // held at the end
        {&Form1Controls::endm, 0, {1, 1, 1}, {"SYST:AUTO:STAR 00", "SYST:AUTO:CEAS 03"}},
        {&Form1Controls::cycle, 5, {-1, -1}, {"SYST:AUTO:CYCL 3"}},
        {&Form1Controls::vm, 1, {1}, {}}, // the Memory group's own fields send nothing
        {&Form1Controls::record, 1, {1}, {}},
    };
    for (const auto& [member, before, turns, sent] : cases) {
        PanelHarness p(scriptedAnswers);
        NumericField* field = p.c().*member;
        SCOPED_TRACE(field->objectName().toStdString());
        field->setValue(before);
        p.sent.clear();
        for (int notches : turns) {
            turnWheel(field, notches);
            p.clock.advanceMilliseconds(200);
            p.form->fieldSends().sendRestedTurns();
        }
        EXPECT_TRUE(p.sent.isEmpty()) << "the wheel has not rested yet";
        p.clock.advanceMilliseconds(100);
        p.form->fieldSends().sendRestedTurns();
        EXPECT_EQ(p.sent, sent);
    }
}

TEST(FieldSends, AMenuStepSendsAtOnceButNothingLeavesALockedFieldOrABusyPanel)
{
    PanelHarness p(scriptedAnswers);
    p.c().setv->setValue(5);
    p.sent.clear();
    QTimer::singleShot(0, [] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_TRUE(menu);
        menu->setActiveAction(menu->actions().value(menu->actions().size() - 3)); // "Step up"
        QTest::keyClick(menu, Qt::Key_Return);
    });
    QContextMenuEvent open(QContextMenuEvent::Keyboard, QPoint(5, 5), p.c().setv->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(p.c().setv, &open);
    EXPECT_EQ(p.sent, Commands({":VOLT 6.000"}));

    // A turn that rests: whether the value shown went out.
    const auto turnAndRest = [&p] {
        p.sent.clear();
        turnWheel(p.c().setv, 1);
        p.clock.advanceMilliseconds(300);
        p.form->fieldSends().sendRestedTurns();
        return p.sent.contains(":VOLT " + p.c().setv->text().toLatin1());
    };
    turnWheel(p.c().setv, 1);
    p.form->panelStates().SetProtectionTripped(p.c().clearocp, true); // locks the field under the turn
    EXPECT_FALSE(turnAndRest()) << "a field locked before its turn rested";
    p.form->panelStates().SetProtectionTripped(p.c().clearocp, false);
    QTemporaryDir dir;
    p.dialogs.fileAnswers.enqueue(dir.filePath(QStringLiteral("memories.csv")));
    TransferWatch watch;
    watch.duringIt = [&](int) {
        EXPECT_FALSE(turnAndRest()) << "a turn during a download";
        watch.cancel();
    };
    watch.run(p.form.get(), [&p] { p.c().sallfile->click(); });
    EXPECT_TRUE(turnAndRest()) << "and after it";
}
