#include "support/panel_harness.h"

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

using namespace orx;
using namespace orx::test;

namespace {

// The controls of the state table, by object name; an option pair by its two buttons.
const QStringList kControls = {
    "Frame1",  "Frame2",        "Frame3",  "Frame4",    "Frame5",       "Frame6",    "Frame7",
    "Frame12", "Frame13",       "mnufile", "mnudevice", "mnuinterface", "mnuaction", "mnu_reconnect",
    "mnuhelp", "cmd_reconnect", "ovpen_0", "ovpen_1",   "ocpen_0",      "ocpen_1",   "cmdexit"};

// A control's own Enabled state (a control inside a disabled group keeps its own, as in the table).
bool ownEnabled(const Form1& form, const QString& name)
{
    if (const auto* menu = form.findChild<QMenu*>(name))
        return menu->menuAction()->isEnabled();
    if (const auto* widget = form.findChild<QWidget*>(name))
        return !widget->testAttribute(Qt::WA_ForceDisabled);
    return form.findChild<QAction*>(name)->isEnabled();
}

void setOwnEnabled(Form1& form, const QString& name, bool enabled)
{
    if (auto* menu = form.findChild<QMenu*>(name))
        menu->menuAction()->setEnabled(enabled);
    else if (auto* widget = form.findChild<QWidget*>(name))
        widget->setEnabled(enabled);
    else
        form.findChild<QAction*>(name)->setEnabled(enabled);
}

} // namespace

// Each procedure, started once from all controls enabled and once from all disabled: 'e' follows the
// argument, '+' is always enabled, '-' always disabled, '.' untouched.
TEST(PanelStates, EachProcedureSetsExactlyItsControls)
{
    const struct
    {
        const char* name;
        std::function<void(PanelStates&, bool)> run;
        const char* table; // one character per control, in the order of kControls
    } procedures[] = {
        // Frames 1-6, 7, 12, 13 | Edit, Device, Interface, Action, Reconnect item, Help |
        // Reconnect button, ovpen 0 and 1, ocpen 0 and 1, EXIT
        {"SetPanelEnabled", [](PanelStates& p, bool e) { p.SetPanelEnabled(e); }, "eeeeee.e.eeee.ee....."},
        {"SetDisconnectedPanel", [](PanelStates& p, bool) { p.SetDisconnectedPanel(); },
         "+-----.-...++.++....."},
        {"SetOperatingControlsEnabled", [](PanelStates& p, bool e) { p.SetOperatingControlsEnabled(e); },
         "e.eeeee.eeee.e.e....."},
        {"SetOutputControlsEnabled", [](PanelStates& p, bool e) { p.SetOutputControlsEnabled(e); },
         "......e.e.......eeee."},
    };
    for (const auto& procedure : procedures) {
        for (const bool start : {true, false}) {
            for (const bool argument : {true, false}) {
                PanelHarness h;
                h.serial.addEmptyPort(1);
                h.createAndLoad();
                for (const QString& name : kControls)
                    setOwnEnabled(*h.form, name, start);
                procedure.run(h.form->panelStates(), argument);
                const std::string table = procedure.table;
                ASSERT_EQ(qsizetype(table.size()), kControls.size()) << procedure.name;
                for (qsizetype i = 0; i < kControls.size(); ++i) {
                    const char rule = table[size_t(i)];
                    const bool expected = rule == 'e'   ? argument
                                          : rule == '+' ? true
                                          : rule == '-' ? false
                                                        : start;
                    EXPECT_EQ(ownEnabled(*h.form, kControls[i]), expected)
                        << procedure.name << "(" << argument << ") from " << start << ": "
                        << kControls[i].toStdString();
                }
            }
        }
    }
}

TEST(PanelStates, TripLocksAndClearingReleasesAllButMonitoring)
{
    PanelHarness h;
    h.serial.addEmptyPort(1);
    h.createAndLoad();
    h.form->timer1().start();
    PanelStates& states = h.form->panelStates();
    states.SetProtectionTripped(h.c().clearovp, true);
    EXPECT_TRUE(h.state.ProtectionTripped);
    EXPECT_TRUE(h.c().clearovp->isEnabled());
    EXPECT_FALSE(h.c().clearocp->isEnabled());
    EXPECT_FALSE(h.c().ovpen->option(0)->isEnabled());
    EXPECT_FALSE(h.c().ocpen->option(1)->isEnabled());
    EXPECT_FALSE(h.c().Frame13->isEnabled());
    EXPECT_FALSE(h.form->timer1().isActive());

    states.SetProtectionTripped(h.c().clearovp, false);
    EXPECT_FALSE(h.state.ProtectionTripped);
    EXPECT_FALSE(h.c().clearovp->isEnabled());
    EXPECT_TRUE(h.c().ovpen->option(0)->isEnabled());
    EXPECT_TRUE(h.c().Frame13->isEnabled());
    EXPECT_FALSE(h.form->timer1().isActive()) << "monitoring is not restarted";
}

// Every button of the main window takes the focus when the pointer comes over it, so a field being
// edited loses the focus (and is checked) before the click lands.
TEST(PanelStates, PointerOverAnyButtonTakesTheFocus)
{
    PanelHarness h;
    h.serial.addEmptyPort(1);
    h.createAndLoad();
    h.form->show();
    h.form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(h.form.get()));
    for (QPushButton* button : {h.c().clearovp, h.c().clearocp, h.c().recall, h.c().save, h.c().rallfile,
                                h.c().sallfile, h.c().cmd_reconnect, h.c().cmdexit}) {
        for (QWidget* w : {static_cast<QWidget*>(button), static_cast<QWidget*>(h.c().setv)})
            for (; w; w = w->parentWidget())
                w->setEnabled(true);
        h.c().setv->setFocus();
        ASSERT_FALSE(button->hasFocus());
        QEvent enter(QEvent::Enter);
        QApplication::sendEvent(button, &enter);
        EXPECT_TRUE(button->hasFocus()) << button->objectName().toStdString();
    }
}
