// The command link over a scripted port and the GPIB service, watched by an observer: what the link
// reads, how it times out, and what it reports of each exchange.

#include "support/link_rig.h"
#include "support/recording_link_observer.h"

#include <gtest/gtest.h>

using namespace orx;
using namespace orx::test;

namespace {

QString padded(const QString& text)
{
    return text + QString(40 - text.size(), u' ');
}

struct LinkFixture : ::testing::Test, LinkRig
{
    RecordingLinkObserver wire;

    LinkFixture()
    {
        link.addObserver(&wire);
        link.addObserver(&wire); // added twice, it still reports each exchange once
    }
    bool serialQuery(const QByteArray& answer, qint64 afterMs = 0)
    {
        serial.answerNextWrite(answer, afterMs);
        return link.query(QStringLiteral("*IDN?"));
    }
};

} // namespace

// Each answer is reported once, whole, when its last piece arrived; a connect start resets the count
// of milliseconds the reports carry.
TEST_F(LinkFixture, SerialAnswersLandInTheFortyCharacterBuffer)
{
    const struct
    {
        const char* name;
        QList<std::pair<QByteArray, qint64>> pieces; // bytes, and when after the command they arrive
        QString buffer;
    } cases[] = {
        {"plain", {{"1.234\n", 0}}, padded("1.234")},
        {"CR LF keeps the CR", {{"1.234\r\n", 0}}, padded("1.234\r")},
        {"lone line feed", {{"\n", 0}}, QString(40, u' ')},
        {"fifty characters", {{QByteArray(50, 'a') + "\n", 0}}, QString(40, u'a')},
        {"only the final line feed goes", {{"a\nb\n", 0}}, padded("a\nb")},
        {"in pieces", {{"12.", 100}, {"345", 600}, {"\n", 990}}, padded("12.345")},
    };
    clock.setWallStart(1'700'000'000'000);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        clock.advanceMilliseconds(5000);
        link.noteConnectStarted();
        QByteArray arrived;
        for (const auto& [bytes, afterMs] : c.pieces) {
            serial.answerNextWrite(bytes, afterMs);
            arrived += bytes;
        }
        EXPECT_TRUE(link.query(QStringLiteral("*IDN?")));
        EXPECT_EQ(serial.written.last(), QByteArray("*IDN?\r")) << "one carriage return ends a command";
        EXPECT_EQ(state.LinkError, 0);
        EXPECT_EQ(state.ResponseBuffer.text(), c.buffer);
        EXPECT_EQ(wire.events,
                  (QStringList{"0 COM1 9600 connectStarted", "0 COM1 9600 sent *IDN?\r",
                               QStringLiteral("%1 COM1 9600 received ").arg(c.pieces.last().second) +
                                   QString::fromLatin1(arrived)}));
        EXPECT_EQ(wire.wallMs.last(), clock.wallMilliseconds());
        wire.events.clear();
    }
    EXPECT_TRUE(dialogs.messages.isEmpty());
    EXPECT_EQ(link.failedReads(), 0);

    link.removeObserver(&wire);
    link.SendCommand(QStringLiteral("*CLS"));
    EXPECT_TRUE(wire.events.isEmpty()) << "a removed observer hears nothing";
}

TEST_F(LinkFixture, TimeOutIsStrictlyMoreThanOneSecond)
{
    EXPECT_TRUE(serialQuery("1\n", 1000)) << "an answer at exactly one second still counts";
    EXPECT_FALSE(serialQuery("1\n", 1002));
}

TEST_F(LinkFixture, TimeOutClosesThePortKeepsThePartialTextAndReportsOnlyBeforeTheFirstConnect)
{
    for (const bool beforeFirstConnect : {true, false}) {
        dialogs.messages.clear();
        status.panels = {};
        state.ConnectStarted = beforeFirstConnect ? 0 : 1;
        const qint64 before = clock.nanoseconds();
        const int waitsBefore = serial.waits;
        EXPECT_FALSE(serialQuery("12.3", 10));
        EXPECT_EQ(state.LinkError, 1);
        EXPECT_FALSE(serial.isOpen());
        EXPECT_EQ(state.ResponseBuffer.text(), padded("12.3"));
        EXPECT_GT(clock.nanoseconds() - before, CommandLink::kAnswerTimeoutNs);
        EXPECT_LE(serial.waits - waitsBefore, 4) << "the read must wait on the port, not spin";
        EXPECT_TRUE(wire.events.last().endsWith(" COM1 9600 timedOut 12.3")) << "what arrived is reported";
        if (beforeFirstConnect) {
            EXPECT_EQ(wire.events, (QStringList{"0 COM1 9600 sent *IDN?\r", "1001 COM1 9600 timedOut 12.3"}));
            ASSERT_EQ(dialogs.messages.size(), 1);
            EXPECT_EQ(dialogs.messages[0], (ScriptedDialogs::Message{"Communication error!", "Warning"}));
            EXPECT_EQ(status.panelText(1), "Communication error");
        } else {
            EXPECT_TRUE(dialogs.messages.isEmpty());
            EXPECT_TRUE(status.writes.isEmpty());
        }
        status.writes.clear();
    }
}

// The next query follows the time-out at once, as in a monitoring tick: the late answer arrives while
// the link waits for the line to fall quiet, and is reported as thrown away, never read as the answer
// to the next query.
TEST_F(LinkFixture, LateAnswerIsNotTakenForTheNextOne)
{
    state.ConnectStarted = 1;
    const struct
    {
        const char* name;
        qint64 lateMs;
        bool otherBaud;     // the next query goes out at another baud rate, as in the connect search
        qint64 nextQueryMs; // at most, from the time-out to the fresh answer
    } cases[] = {
        {"1.2 s late", 1200, false, 1000},
        {"1.5 s late", 1500, false, 1300},
        {"no answer at all", 0, false, 800},
        {"another baud rate (the search): no wait", 0, true, 300},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        serial.setSettings(QStringLiteral("9600,n,8,1"));
        if (c.lateMs > 0)
            serial.answerNextWrite("late\n", c.lateMs);
        EXPECT_FALSE(link.query(QStringLiteral(":MEAS?")));
        if (c.otherBaud)
            serial.setSettings(QStringLiteral("4800,n,8,1"));
        const qint64 timedOutAt = clock.nanoseconds();
        wire.events.clear();
        EXPECT_TRUE(serialQuery("fresh\n", 250)); // an answer takes its time on the wire
        EXPECT_EQ(state.ResponseBuffer.text(), padded("fresh"));
        EXPECT_LE(clock.nanoseconds() - timedOutAt, c.nextQueryMs * 1'000'000);
        EXPECT_EQ(wire.events.filter(QStringLiteral(" stale late\n")).size(), c.lateMs > 0 ? 1 : 0);
        EXPECT_TRUE(
            wire.events.last().endsWith(c.otherBaud ? " COM1 4800 received fresh\n" : " received fresh\n"));
        clock.advanceMilliseconds(5000); // nothing of this case is left for the next one
        serial.takeInput();
    }
    EXPECT_EQ(link.failedReads(), std::size(cases)) << "one failed read a case";
}

TEST_F(LinkFixture, EndlessStreamWithoutLineFeedStaysBounded)
{
    state.ConnectStarted = 1;
    for (int i = 0; i < 100; ++i)
        serial.answerNextWrite(QByteArray(1000, 'x'), i * 5);
    link.SendCommand(QStringLiteral(":MEAS?"));
    QString text;
    link.SerialReadLine(text);
    EXPECT_EQ(state.LinkError, 1);
    EXPECT_LE(text.size(), CommandLink::kMaxLineLength);
    EXPECT_EQ(text.left(40), QString(40, u'x'));
}

TEST_F(LinkFixture, PortThatCannotBeOpenedNeverWaitsOrWrites)
{
    serial.openFails = true;
    state.ResponseBuffer = QStringLiteral("old");
    const qint64 before = clock.nanoseconds();
    EXPECT_FALSE(link.query(QStringLiteral("*IDN?")));
    EXPECT_TRUE(serial.written.isEmpty());
    EXPECT_EQ(clock.nanoseconds(), before);
    EXPECT_EQ(serial.waits, 0);
    EXPECT_EQ(state.ResponseBuffer.text(), QString(40, u' '));
    EXPECT_EQ(dialogs.messages.size(), 1) << "before the first connect it is reported like a time-out";
    EXPECT_EQ(wire.events, QStringList(2, "0 COM1 9600 openFailed")) << "at the send and at the read";
}

TEST_F(LinkFixture, GpibSendsUnchangedAndJudgesBlankAnswersAsFailures)
{
    state.InterfaceMode = 0;
    ASSERT_TRUE(gpib.setPrimaryAddress(17) && gpib.applyConfiguration());
    const struct
    {
        const char* name;
        std::optional<std::string> answer; // nothing: the read fails
        const char* refused;               // the driver calls that fail
        qint16 linkError;
        QString buffer;
        QStringList reports;
    } cases[] = {
        {"answer kept as read",
         "1.234\n",
         "",
         0,
         padded("1.234\n"),
         {"0 GPIB 17 sent :MEAS?", "0 GPIB 17 received 1.234\n"}},
        {"leading blank",
         "  12.5\n",
         "",
         1,
         padded("  12.5\n"),
         {"0 GPIB 17 sent :MEAS?", "0 GPIB 17 received   12.5\n"}},
        {"empty answer", "", "", 1, QString(40, u' '), {"0 GPIB 17 sent :MEAS?", "0 GPIB 17 received"}},
        {"refused write, failed read",
         "1\n",
         "ibwrt ibrd",
         1,
         QString(40, u' '),
         {"0 GPIB 17 writeFailed :MEAS?", "0 GPIB 17 readFailed"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        bus.answer = c.answer;
        bus.failingCalls = c.refused;
        link.query(QStringLiteral(":MEAS?"));
        EXPECT_EQ(state.LinkError, c.linkError);
        EXPECT_EQ(state.ResponseBuffer.text(), c.buffer);
        EXPECT_EQ(bus.calls.at(bus.calls.size() - 2), "ibwrt 1 :MEAS?") << "sent as given";
        EXPECT_EQ(wire.events, c.reports);
        wire.events.clear();
    }
    EXPECT_EQ(link.failedReads(), 3) << "blank, empty and failed answers";
    EXPECT_TRUE(serial.written.isEmpty());
    EXPECT_TRUE(dialogs.messages.isEmpty()) << "GPIB failures are silent";
}
