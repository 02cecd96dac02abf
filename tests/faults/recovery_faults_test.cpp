// The instrument's port vanishes while the panel monitors orx-sim, and comes back: the panel takes it
// up again by itself, or on the operator's click on the offer, but only when the same instrument came
// back. While the port is away nothing crosses any port and no port is opened; the link field reads
// live, gone, and live again.

#include "fault_rig.h"

#include "ui/status_bar.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace orx;
using namespace orx::test;

TEST(RecoveryFaults, APortThatComesBackIsTakenUpAgainOnlyWithItsOwnInstrument)
{
    // How the port comes back, whether the panel reconnects by itself, and whether it takes it up.
    const std::tuple<const char*, bool, bool> cases[] = {
        {"replug", true, true}, {"replug", false, true}, {"replug ORX-B200", true, false}};
    for (const auto& [replug, automatic, rejoins] : cases) {
        SCOPED_TRACE(std::string(replug) + (automatic ? ", automatically" : ", on the offer"));
        FaultRig rig;
        rig.c().mnuautoreconnect->setChecked(automatic);
        ASSERT_TRUE(rig.connect());
        ASSERT_TRUE(rig.startMonitoring());
        const QLabel* health = rig.c().linkhealth;
        EXPECT_EQ(health->text(), "Link: live");

        ASSERT_TRUE(rig.sim.command(QStringLiteral("unplug")));
        ASSERT_TRUE(QTest::qWaitFor([&] { return health->text() == "Link: gone"; }, 3000));
        EXPECT_EQ(rig.c().SBar1->panelText(1), "COM1 has gone: waiting for it to come back");
        EXPECT_FALSE(rig.form->timer1().isActive() || rig.c().Frame2->isEnabled())
            << "monitoring stops, panel locked";
        rig.wire.events.clear();
        QTest::qWait(2500);
        EXPECT_TRUE(rig.wire.events.isEmpty()) << rig.wire.events.join(u'\n').toStdString();

        const qsizetype before = rig.sim.received().size();
        ASSERT_TRUE(rig.sim.command(QString::fromLatin1(replug)));
        if (!automatic) {
            ASSERT_TRUE(QTest::qWaitFor([&] { return !rig.c().cmd_reconnectoffer->isHidden(); }, 3000));
            EXPECT_EQ(rig.c().SBar1->panelText(1), "COM1 is back: press Reconnect");
            QTest::qWait(1500);
            EXPECT_EQ(rig.sim.received().size(), before) << "the offer waits for the operator";
            rig.c().cmd_reconnectoffer->click();
        }
        const int ticks = rig.ticks;
        EXPECT_EQ(QTest::qWaitFor([&] { return rig.ticks > ticks; }, 3000), rejoins) << "ticks resume";
        const QStringList received = rig.sim.received().mid(before);
        EXPECT_EQ(received.value(0), "9600 *IDN?");
        EXPECT_EQ(received.contains("9600 :OUTP:STAT?"), rejoins) << "the state read back";
        EXPECT_EQ(health->text(), rejoins ? "Link: live" : "Link: gone");
        EXPECT_EQ(rig.c().Frame2->isEnabled(), rejoins);
        if (!rejoins) {
            EXPECT_EQ(rig.c().SBar1->panelText(1), "Another instrument (ORX-B200) is on COM1");
            EXPECT_EQ(received, QStringList{"9600 *IDN?"}) << "nothing but the question who it is";
        }
    }
}
