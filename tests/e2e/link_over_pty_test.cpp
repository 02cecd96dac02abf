// The command link with the real serial service, talking to orx-sim over a pseudo-terminal.

#include "link/clock.h"
#include "link/command_link.h"
#include "link/qt_serial_service.h"
#include "support/recording_status.h"
#include "support/scripted_dialogs.h"
#include "support/scripted_gpib.h"
#include "support/sim_process.h"

#include <gtest/gtest.h>

using namespace orx;
using namespace orx::test;

namespace {

struct LinkOverPty : ::testing::Test
{
    SimProcess sim{{QStringLiteral("--baud"), QStringLiteral("4800"), QStringLiteral("--model"),
                    QStringLiteral("ORX-B200")}};
    ProgramState state;
    orx::SteadyClock clock;
    std::unique_ptr<QtSerialService> serial;
    ScriptedGpib gpib;
    ScriptedDialogs dialogs;
    RecordingStatus status;
    std::unique_ptr<CommandLink> link;

    void SetUp() override
    {
        ASSERT_TRUE(sim.started());
        qputenv("ORX_COM2", sim.linkPath().toLocal8Bit());
        serial = std::make_unique<QtSerialService>();
        serial->setPortNumber(2);
        serial->setSettings(QStringLiteral("4800,n,8,1"));
        link = std::make_unique<CommandLink>(state, *serial, gpib, dialogs, status, clock);
        state.ConnectStarted = 1;
    }
    void TearDown() override { qputenv("ORX_COM2", QByteArray()); }

    QString identity()
    {
        link->query(QStringLiteral("*IDN?"));
        return state.ResponseBuffer.text().trimmed();
    }
};

} // namespace

TEST_F(LinkOverPty, QueriesAnswerAtTheInstrumentsBaudRateOnly)
{
    EXPECT_EQ(identity(), "QZ.Inc,ORX-B200,SN000001,1.00");
    EXPECT_EQ(state.LinkError, 0);
    link->SendCommand(QStringLiteral(":VOLT 12.345"));
    ASSERT_TRUE(link->query(QStringLiteral(":VOLT?")));
    EXPECT_EQ(link->responseValue(), 12.345);

    serial->setSettings(QStringLiteral("9600,n,8,1"));
    EXPECT_FALSE(link->query(QStringLiteral("*IDN?"))) << "a baud mismatch gets no answer";
    EXPECT_FALSE(serial->isOpen()) << "the time-out closes the port";
    serial->setSettings(QStringLiteral("4800,n,8,1"));
    EXPECT_EQ(identity(), "QZ.Inc,ORX-B200,SN000001,1.00") << "the next command opens it again";
    EXPECT_TRUE(dialogs.messages.isEmpty());
    EXPECT_EQ(sim.received(),
              QStringList({"4800 *IDN?", "4800 :VOLT 12.345", "4800 :VOLT?", "9600 *IDN?", "4800 *IDN?"}));
}
