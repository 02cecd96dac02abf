// Faults on the line while the panel monitors orx-sim: late answers, stray input, noise, an endless
// stream and a port that vanishes.

#include "fault_rig.h"

#include "ui/option_group.h"
#include "ui/status_bar.h"

#include <QLabel>
#include <QTest>
#include <gtest/gtest.h>

using namespace orx;
using namespace orx::test;

namespace {

// Displays that show a reading of the instrument at 5 V across 10 ohms, or nothing yet.
bool showsTheInstrument(const FaultRig& rig)
{
    return rig.c().disv->text() == "5.000V" && rig.c().disc->text() == "0.500A";
}

} // namespace

// Bytes nobody asked for: an answer 1.2 s late, or a line sent unasked between two ticks. The late
// answer costs one time-out; either is thrown away as one line, never read as the answer to the
// query after it. At 1200 baud on a paced line the next queries are still under way when the late
// answer arrives.
TEST(LineFaults, BytesNobodyAskedForAreThrownAwayNeverTakenForAnAnswer)
{
    const struct
    {
        const char* name;
        QStringList simOptions;
        const char* fault;
        int timeOuts;
        QString staleStart;
    } cases[] = {
        {"an answer 1.2 s late", {"--baud", "1200", "--paced", "--load", "10"}, "lag 1200", 1, ""},
        {"a stray line before a query", {"--load", "10"}, "send 9.999", 0, "9.999"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FaultRig rig(c.simOptions);
        ASSERT_TRUE(rig.connect());
        ASSERT_TRUE(rig.startMonitoring());
        rig.wire.events.clear();
        ASSERT_TRUE(rig.sim.command(QString::fromLatin1(c.fault)));
        const int before = rig.ticks;
        ASSERT_TRUE(QTest::qWaitFor([&] { return rig.ticks >= before + 3 || !rig.form->timer1().isActive(); },
                                    12000));

        EXPECT_EQ(rig.timeOuts(), c.timeOuts);
        // What was thrown away, as it arrived (on a paced line, a few characters at a time).
        QString thrownAway;
        for (const QString& event : rig.wire.events.filter(QStringLiteral(" stale ")))
            thrownAway += event.section(QStringLiteral(" stale "), 1);
        EXPECT_TRUE(thrownAway.startsWith(c.staleStart) && thrownAway.endsWith(u'\n') &&
                    thrownAway.count(u'\n') == 1)
            << rig.wire.events.join(u'\n').toStdString();
        EXPECT_TRUE(showsTheInstrument(rig));
        EXPECT_TRUE(rig.c().output->isSelected(1));
        EXPECT_FALSE(rig.state.ProtectionTripped);
        // A late answer to the last query of a tick stops the loop, and the panel says so.
        if (!rig.form->timer1().isActive()) {
            EXPECT_EQ(rig.c().SBar1->panelText(1), "Communication error");
        }
    }
}

// Noise instead of answers, or an endless stream without a line feed, while the panel monitors: the loop
// stops on its own without hanging, the panel stays usable, silent and idle, and works once clean again.
TEST(LineFaults, ALineThatGoesBadOrAwayNeverHangsThePanel)
{
    const struct
    {
        const char* fault;
        const char* repair;
        bool timesOut;
        bool linkLost; // says so; otherwise noise reads as output state 0 and switches the output off
    } cases[] = {{"garbage", "normal", false, false}, {"babble", "normal", true, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fault);
        FaultRig rig;
        ASSERT_TRUE(rig.connect());
        ASSERT_TRUE(rig.startMonitoring());
        rig.dialogs.messages.clear();
        ASSERT_TRUE(rig.sim.command(QString::fromLatin1(c.fault)));
        EXPECT_TRUE(QTest::qWaitFor([&] { return !rig.form->timer1().isActive(); }, 15000))
            << "the loop stops";
        EXPECT_LT(rig.cpuShareWhileIdle(2000), 0.02) << "nothing keeps trying";
        EXPECT_TRUE(rig.dialogs.messages.isEmpty()) << "after the connect, time-outs are silent: "
                                                    << rig.dialogs.messages.value(0).text.toStdString();
        if (c.timesOut) {
            EXPECT_GE(rig.timeOuts(), 1);
        }
        EXPECT_EQ(rig.c().SBar1->panelText(1) == "Communication error", c.linkLost);
        EXPECT_EQ(rig.c().output->isSelected(0), !c.linkLost);

        ASSERT_TRUE(rig.sim.command(QString::fromLatin1(c.repair)));
        rig.c().output->select(0);
        ASSERT_TRUE(rig.startMonitoring()) << "a clean line works again";
        EXPECT_TRUE(QTest::qWaitFor([&] { return showsTheInstrument(rig); }, 3000));
    }
}
