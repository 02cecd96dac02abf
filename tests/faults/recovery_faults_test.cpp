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
    const struct
    {
        const char* name;
        bool automatic;
        const char* replug;
        bool rejoins;
    } cases[] = {
        {"by itself", true, "replug", true},
        {"on the offer's click", false, "replug", true},
        {"not with another model", true, "replug ORX-B200", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FaultRig rig;
        rig.c().mnuautoreconnect->setChecked(c.automatic);
        ASSERT_TRUE(rig.connect());
        ASSERT_TRUE(rig.startMonitoring());
        const auto health = [&rig] {
            return rig.c().linkhealth->text();
        };
        EXPECT_EQ(health(), "Link: live");

        ASSERT_TRUE(rig.sim.command(QStringLiteral("unplug")));
        ASSERT_TRUE(QTest::qWaitFor([&] { return health() == "Link: gone"; }, 3000));
        EXPECT_EQ(rig.c().SBar1->panelText(1), "COM1 has gone: waiting for it to come back");
        EXPECT_FALSE(rig.form->timer1().isActive());
        EXPECT_FALSE(rig.c().Frame2->isEnabled()) << "the panel shows no instrument to set";
        rig.wire.events.clear();
        QTest::qWait(2500);
        EXPECT_TRUE(rig.wire.events.isEmpty()) << rig.wire.events.join(u'\n').toStdString();

        const qsizetype before = rig.sim.received().size();
        ASSERT_TRUE(rig.sim.command(QString::fromLatin1(c.replug)));
        if (!c.automatic) {
            ASSERT_TRUE(QTest::qWaitFor([&] { return !rig.c().cmd_reconnectoffer->isHidden(); }, 3000));
            EXPECT_EQ(rig.c().SBar1->panelText(1), "COM1 is back: press Reconnect");
            QTest::qWait(1500);
            EXPECT_EQ(rig.sim.received().size(), before) << "the offer waits for the operator";
            rig.c().cmd_reconnectoffer->click();
        }
        const int ticks = rig.ticks;
        EXPECT_EQ(QTest::qWaitFor([&] { return rig.ticks > ticks; }, 3000), c.rejoins) << "ticks resume";
        const QStringList received = rig.sim.received().mid(before);
        EXPECT_EQ(received.value(0), "9600 *IDN?");
        EXPECT_EQ(received.contains("9600 :OUTP:STAT?"), c.rejoins) << "the state read back";
        EXPECT_EQ(health(), c.rejoins ? "Link: live" : "Link: gone");
        EXPECT_EQ(rig.c().Frame2->isEnabled(), c.rejoins);
        if (!c.rejoins) {
            EXPECT_EQ(rig.c().SBar1->panelText(1), "Another instrument (ORX-B200) is on COM1");
            EXPECT_EQ(received, QStringList{"9600 *IDN?"}) << "nothing but the question who it is";
        }
    }
}
