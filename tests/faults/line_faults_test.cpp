// Faults on the line while the panel monitors orx-sim: late answers, stray input, noise, an endless
// stream, and an instrument that answers at one baud rate only.

#include "fault_rig.h"

#include "ui/option_group.h"
#include "ui/status_bar.h"

#include <QLabel>
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

// One answer comes 1.2 s late: one time-out, and the late bytes are thrown away, never read as the
// answer to the query after it. At 1200 baud on a paced line the next queries are still under way
// when the late answer arrives.
TEST(LineFaults, LateAnswerCostsOneTimeOutAndIsNeverTakenForTheNextOne)
{
    FaultRig rig({QStringLiteral("--baud"), QStringLiteral("1200"), QStringLiteral("--paced"),
                  QStringLiteral("--load"), QStringLiteral("10")});
    ASSERT_TRUE(rig.connect());
    ASSERT_TRUE(rig.startMonitoring());
    rig.wire.events.clear();
    ASSERT_TRUE(rig.sim.command(QStringLiteral("lag 1200")));
    const int before = rig.ticks;
    ASSERT_TRUE(
        rig.waitFor([&] { return rig.ticks >= before + 3 || !rig.form->timer1().isActive(); }, 12000));

    EXPECT_EQ(rig.count(QStringLiteral("timedOut")), 1);
    // The late answer, thrown away as it arrives (on a paced line, a few characters at a time).
    QString thrownAway;
    for (const QString& event : rig.wire.events) {
        if (event.contains(QStringLiteral(" stale ")))
            thrownAway += event.section(QStringLiteral(" stale "), 1);
    }
    EXPECT_TRUE(thrownAway.endsWith(u'\n') && thrownAway.count(u'\n') == 1)
        << rig.wire.events.join(u'\n').toStdString();
    EXPECT_TRUE(showsTheInstrument(rig))
        << rig.c().disv->text().toStdString() << " " << rig.c().disc->text().toStdString();
    // A late answer to the last query of a tick stops the loop, and the panel says so.
    if (!rig.form->timer1().isActive()) {
        EXPECT_EQ(rig.c().SBar1->panelText(1), "Communication error");
    }
    EXPECT_TRUE(rig.c().output->isSelected(1));
}

// A line that arrives unasked between two ticks is thrown away before the next query.
TEST(LineFaults, StrayLineBeforeAQueryIsThrownAway)
{
    FaultRig rig;
    ASSERT_TRUE(rig.connect());
    ASSERT_TRUE(rig.startMonitoring());
    ASSERT_TRUE(rig.sim.command(QStringLiteral("send 9.999")));
    const int before = rig.ticks;
    ASSERT_TRUE(rig.waitFor([&] { return rig.ticks >= before + 2; }, 5000));
    EXPECT_EQ(rig.count(QStringLiteral("stale 9.999")), 1);
    EXPECT_EQ(rig.count(QStringLiteral("timedOut")), 0);
    EXPECT_TRUE(showsTheInstrument(rig));
    EXPECT_TRUE(rig.form->timer1().isActive());
}

// Noise instead of answers, or an endless stream without a line feed: the loop stops on its own
// without hanging, the panel stays usable and idle, and it works again once the line is clean.
TEST(LineFaults, NoiseAndAnEndlessStreamNeverHangThePanel)
{
    for (const char* fault : {"garbage", "babble"}) {
        SCOPED_TRACE(fault);
        FaultRig rig;
        ASSERT_TRUE(rig.connect());
        ASSERT_TRUE(rig.startMonitoring());
        ASSERT_TRUE(rig.sim.command(QString::fromLatin1(fault)));
        EXPECT_TRUE(rig.waitFor([&] { return !rig.form->timer1().isActive(); }, 15000)) << "the loop stops";
        EXPECT_LT(rig.cpuShareWhileIdle(1000), 0.02);
        if (QByteArray(fault) == "babble") {
            EXPECT_GE(rig.count(QStringLiteral("timedOut")), 1);
            EXPECT_EQ(rig.c().SBar1->panelText(1), "Communication error");
        } else {
            // Noise reads as 0: the output state "0" switches the panel's output off.
            EXPECT_TRUE(rig.c().output->isSelected(0));
        }

        ASSERT_TRUE(rig.sim.command(QStringLiteral("normal")));
        rig.c().output->select(0);
        rig.wire.events.clear();
        ASSERT_TRUE(rig.startMonitoring()) << "a clean line works again";
        EXPECT_TRUE(rig.waitFor([&] { return showsTheInstrument(rig); }, 3000));
    }
}

// The instrument answers at one baud rate only: the search finds it there and nowhere else.
TEST(LineFaults, InstrumentIsFoundOnlyAtItsOwnBaudRate)
{
    const struct
    {
        const char* baud;
        QStringList identities;
    } cases[] = {
        {"1200", {"9600 *IDN?", "4800 *IDN?", "2400 *IDN?", "1200 *IDN?"}},
        {"4800", {"9600 *IDN?", "4800 *IDN?"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.baud);
        FaultRig rig({QStringLiteral("--baud"), QString::fromLatin1(c.baud)});
        ASSERT_TRUE(rig.connect());
        QStringList identities;
        for (const QString& line : rig.sim.received()) {
            if (line.endsWith(QStringLiteral("*IDN?")))
                identities.append(line);
        }
        EXPECT_EQ(identities, c.identities);
        EXPECT_EQ(rig.c().SBar1->panelText(2), QStringLiteral("COM1: %1,n,8,1").arg(c.baud));
        EXPECT_EQ(rig.count(QStringLiteral("timedOut")), c.identities.size() - 1);
        EXPECT_TRUE(rig.dialogs.messages.isEmpty());
    }
}
