// orx-sim's command line and the control lines on its standard input: anything it cannot take is
// refused with a reason.

#include "sim/sim_options.h"

#include <gtest/gtest.h>

using namespace orx::sim;

TEST(SimOptions, CommandLine)
{
    for (const char* refused : {"--model ORX-D400", "--baud 19200", "--load -3", "--fault smoke",
                                "--late-ms -1", "--baud", "extra"})
        EXPECT_FALSE(parseSimCommandLine(QString(refused).split(u' ')).error.isEmpty()) << refused;
    const auto [o, help, error] = parseSimCommandLine({"--model=orx-c300", "--baud=1200", "--load", "12.5",
                                                       "--fault", "garbage", "--late-ms", "2500", "--paced"});
    EXPECT_TRUE(error.isEmpty() && !help);
    EXPECT_EQ(std::tuple(o.modelIndex, o.baud, o.loadOhms, o.fault, o.lateMs, o.paced),
              std::tuple(2, 1200, 12.5, Fault::Garbage, 2500, true));
}

TEST(SimOptions, ControlCommands)
{
    for (const char* refused : {"late soon", "load", "trip both", "explode"}) {
        QString error;
        EXPECT_FALSE(parseControlCommand(QString(refused), &error)) << refused;
        EXPECT_FALSE(error.isEmpty()) << refused;
    }
    using C = ControlCommand;
    for (const auto& [line, kind] : {std::pair{"late 1500", C::SetFault},
                                     {"  unplug ", C::Unplug},
                                     {"load open", C::SetLoad},
                                     {"off", C::OutputOff},
                                     {"trip ocp", C::Trip},
                                     {"babble", C::SetFault},
                                     {"send 9.999", C::SendLine},
                                     {"lag 1200", C::LagOnce}})
        EXPECT_EQ(parseControlCommand(QString::fromLatin1(line), nullptr).value_or(C{}).kind, kind) << line;
    EXPECT_EQ(parseControlCommand(QStringLiteral("late 2000"), nullptr)->lateMs, 2000);
    EXPECT_EQ(parseControlCommand(QStringLiteral("babble"), nullptr)->fault, Fault::Babble);
    EXPECT_EQ(parseControlCommand(QStringLiteral("send 9.999"), nullptr)->line, "9.999");
}
