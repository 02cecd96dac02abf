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
#include <algorithm>
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
    const struct
    {
        Field field;
        double before;
        std::vector<int> notches; // one event each, 200 ms apart
        Commands sent;
    } cases[] = {
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
    for (const auto& c : cases) {
        PanelHarness p(scriptedAnswers);
        NumericField* field = p.c().*c.field;
        SCOPED_TRACE(field->objectName().toStdString());
        field->setValue(c.before);
        p.sent.clear();
        for (int notches : c.notches) {
            turnWheel(field, notches);
            p.clock.advanceMilliseconds(200);
            p.form->fieldSends().sendRestedTurns();
        }
        EXPECT_TRUE(p.sent.isEmpty()) << "the wheel has not rested yet";
        p.clock.advanceMilliseconds(100);
        p.form->fieldSends().sendRestedTurns();
        EXPECT_EQ(p.sent, c.sent);
        EXPECT_FALSE(p.form->fieldSends().turnPending());
    }
}

TEST(FieldSends, AMenuStepSendsAtOnceButNothingLeavesALockedFieldOrABusyPanel)
{
    PanelHarness p(scriptedAnswers);
    p.c().setv->setValue(5);
    p.sent.clear();
    QTimer::singleShot(0, [] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        for (QAction* action : menu ? menu->actions() : QList<QAction*>())
            if (action->text() == "&Step up")
                menu->setActiveAction(action);
        if (menu)
            QTest::keyClick(menu, Qt::Key_Return);
    });
    QContextMenuEvent open(QContextMenuEvent::Keyboard, QPoint(5, 5), p.c().setv->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(p.c().setv, &open);
    EXPECT_EQ(p.sent, Commands({":VOLT 6.000"}));

    const auto voltageSends = [&p] {
        return std::count_if(p.sent.begin(), p.sent.end(),
                             [](const QByteArray& c) { return c.startsWith(":VOLT "); });
    };
    const auto turnAndRest = [&p] {
        turnWheel(p.c().setv, 1);
        p.clock.advanceMilliseconds(300);
        p.form->fieldSends().sendRestedTurns();
    };
    p.sent.clear();
    turnWheel(p.c().setv, 1);
    p.form->panelStates().SetProtectionTripped(p.c().clearocp, true); // locks the field under the turn
    p.clock.advanceMilliseconds(300);
    p.form->fieldSends().sendRestedTurns();
    EXPECT_TRUE(p.sent.isEmpty()) << "a field locked before its turn rested";

    p.form->panelStates().SetProtectionTripped(p.c().clearocp, false);
    QTemporaryDir dir;
    p.dialogs.fileAnswers.enqueue(dir.filePath(QStringLiteral("memories.csv")));
    TransferWatch watch;
    watch.duringIt = [&](int pass) {
        if (pass == 0)
            turnAndRest();
        watch.cancel();
    };
    watch.run(p.form.get(), [&p] { p.c().sallfile->click(); });
    EXPECT_EQ(voltageSends(), 0) << "a turn during a download";
    turnAndRest();
    EXPECT_EQ(voltageSends(), 1) << "and after it";
}
