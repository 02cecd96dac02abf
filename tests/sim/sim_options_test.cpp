#include "sim/sim_options.h"

#include <gtest/gtest.h>

using namespace orx::sim;

TEST(SimOptions, CommandLine)
{
    const struct
    {
        QStringList arguments;
        bool accepted;
    } cases[] = {
        {{}, true},
        {{"--model=orx-b200", "--baud=4800", "--paced"}, true},
        {{"--load", "open", "--fault", "late", "--late-ms", "2500", "--log", "x.log", "--link", "/tmp/l"},
         true},
        {{"--model", "ORX-D400"}, false},
        {{"--baud", "19200"}, false},
        {{"--load", "-3"}, false},
        {{"--fault", "smoke"}, false},
        {{"--late-ms", "-1"}, false},
        {{"--baud"}, false},
        {{"extra"}, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(parseSimCommandLine(c.arguments).error.isEmpty(), c.accepted)
            << qPrintable(c.arguments.join(u' '));
    const PtyOptions o =
        parseSimCommandLine({"--model", "ORX-C300", "--baud=1200", "--load", "12.5", "--fault", "garbage"})
            .options;
    EXPECT_EQ(o.modelIndex, 2);
    EXPECT_EQ(o.baud, 1200);
    EXPECT_EQ(o.loadOhms, 12.5);
    EXPECT_EQ(o.fault, Fault::Garbage);
}

TEST(SimOptions, ControlCommands)
{
    const struct
    {
        const char* line;
        std::optional<ControlCommand::Kind> kind;
    } cases[] = {
        {"late 1500", ControlCommand::SetFault},
        {"  unplug ", ControlCommand::Unplug},
        {"load open", ControlCommand::SetLoad},
        {"off", ControlCommand::OutputOff},
        {"trip ocp", ControlCommand::Trip},
        {"late soon", std::nullopt},
        {"load", std::nullopt},
        {"trip both", std::nullopt},
        {"explode", std::nullopt},
    };
    for (const auto& c : cases) {
        QString error;
        const auto command = parseControlCommand(QString::fromLatin1(c.line), &error);
        ASSERT_EQ(command.has_value(), c.kind.has_value()) << c.line;
        if (command)
            EXPECT_EQ(command->kind, *c.kind) << c.line;
        else
            EXPECT_FALSE(error.isEmpty()) << c.line;
    }
    EXPECT_EQ(parseControlCommand(QStringLiteral("late 2000"), nullptr)->lateMs, 2000);
}
