#include "sim/sim_options.h"

#include "raw_client.h"

#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace orx::sim;

namespace {

// Standard output of the program until it holds `marker` (or nothing more comes).
QByteArray readUntil(QProcess& process, const QByteArray& marker)
{
    QByteArray out;
    while (!out.contains(marker) &&
           (process.bytesAvailable() > 0 || process.waitForReadyRead(orx::test::kPatienceMs)))
        out += process.readAllStandardOutput();
    return out;
}

} // namespace

TEST(SimOptions, CommandLine)
{
    const struct
    {
        QStringList arguments;
        bool accepted;
    } cases[] = {
        {{}, true},
        {{"--model", "ORX-C300", "--baud", "1200", "--paced"}, true},
        {{"--model=orx-b200", "--baud=4800"}, true},
        {{"--load", "open", "--fault", "late", "--late-ms", "2500", "--log", "x.log", "--link", "/tmp/l"},
         true},
        {{"--model", "ORX-D400"}, false},
        {{"--baud", "19200"}, false},
        {{"--baud", "fast"}, false},
        {{"--load", "-3"}, false},
        {{"--load", "ten"}, false},
        {{"--fault", "smoke"}, false},
        {{"--late-ms", "-1"}, false},
        {{"--baud"}, false},
        {{"--speed", "9600"}, false},
        {{"extra"}, false},
    };
    for (const auto& c : cases) {
        const SimCommandLine parsed = parseSimCommandLine(c.arguments);
        EXPECT_EQ(parsed.error.isEmpty(), c.accepted)
            << qPrintable(c.arguments.join(u' ')) << " " << qPrintable(parsed.error);
    }
    const PtyOptions o = parseSimCommandLine({"--model", "ORX-C300", "--baud=1200", "--paced", "--load",
                                              "12.5", "--fault", "garbage", "--late-ms", "3000"})
                             .options;
    EXPECT_EQ(o.modelIndex, 2);
    EXPECT_EQ(o.baud, 1200);
    EXPECT_TRUE(o.paced);
    EXPECT_EQ(o.loadOhms, 12.5);
    EXPECT_EQ(o.fault, Fault::Garbage);
    EXPECT_EQ(o.lateMs, 3000);
    EXPECT_FALSE(parseSimCommandLine({"--load", "open"}).options.loadOhms.has_value());
    EXPECT_TRUE(parseSimCommandLine({"--help"}).help);
}

TEST(SimOptions, ControlCommands)
{
    const struct
    {
        const char* line;
        std::optional<ControlCommand::Kind> kind;
    } cases[] = {
        {"silence", ControlCommand::SetFault},
        {"late 1500", ControlCommand::SetFault},
        {"garbage", ControlCommand::SetFault},
        {"  unplug ", ControlCommand::Unplug},
        {"replug", ControlCommand::Replug},
        {"normal", ControlCommand::Normal},
        {"load 8", ControlCommand::SetLoad},
        {"load open", ControlCommand::SetLoad},
        {"off", ControlCommand::OutputOff},
        {"trip ocp", ControlCommand::Trip},
        {"late soon", std::nullopt},
        {"silence 5", std::nullopt},
        {"load", std::nullopt},
        {"trip both", std::nullopt},
        {"explode", std::nullopt},
        {"unplug now", std::nullopt},
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
    QString error;
    EXPECT_FALSE(parseControlCommand(QStringLiteral("   "), &error).has_value());
    EXPECT_TRUE(error.isEmpty()) << "a blank line is no error";
    EXPECT_EQ(parseControlCommand(QStringLiteral("late 2000"), nullptr)->lateMs, 2000);
    EXPECT_EQ(parseControlCommand(QStringLiteral("trip ocp"), nullptr)->protection, Protection::Ocp);
}

TEST(SimOptions, HelpNamesEveryOptionAndCommand)
{
    const QString usage = simUsage();
    for (const char* word :
         {"--model", "--baud", "--link", "--paced", "--log", "--load", "--fault", "--late-ms", "silence",
          "late", "garbage", "unplug", "replug", "normal", "off", "trip"})
        EXPECT_TRUE(usage.contains(QLatin1String(word))) << word;
}

// The program itself: invalid options, and a short life with a link, a fault command and SIGTERM.
TEST(OrxSimProgram, RefusesInvalidOptionsWithExitCodeTwo)
{
    QProcess sim;
    sim.start(QStringLiteral(ORX_SIM_PATH), {QStringLiteral("--baud"), QStringLiteral("1234")});
    ASSERT_TRUE(sim.waitForFinished(10000));
    EXPECT_EQ(sim.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(sim.exitCode(), 2);
    EXPECT_TRUE(sim.readAllStandardError().contains("1234"));
}

TEST(OrxSimProgram, PrintsItsDeviceTakesCommandsAndCleansUp)
{
    QTemporaryDir dir;
    const QString link = dir.filePath(QStringLiteral("orx"));
    QProcess sim;
    sim.start(QStringLiteral(ORX_SIM_PATH), {QStringLiteral("--link"), link});
    ASSERT_TRUE(sim.waitForReadyRead(10000));
    const QString device = QString::fromLocal8Bit(sim.readLine()).trimmed();
    EXPECT_TRUE(device.startsWith(u"/dev/pts/")) << qPrintable(device);
    EXPECT_EQ(QFileInfo(link).symLinkTarget(), device);

    sim.write("unplug\n");
    EXPECT_EQ(readUntil(sim, "\n"), "ok unplug\n");
    EXPECT_FALSE(QFileInfo(link).isSymLink());
    sim.write("bogus\nreplug\n");
    const QByteArray replies = readUntil(sim, "ok replug");
    EXPECT_TRUE(replies.startsWith("error: unknown command: bogus\n")) << replies.constData();
    EXPECT_TRUE(replies.contains("ok replug /dev/pts/")) << replies.constData();
    EXPECT_TRUE(QFileInfo(link).isSymLink());

    sim.closeWriteChannel(); // end of input: the program keeps serving
    orx::test::RawClient client(link, 9600);
    ASSERT_TRUE(client.send("*IDN?\r"));
    EXPECT_EQ(client.readLine(), "QZ.Inc,ORX-A100,SN000001,1.00\n");

    sim.terminate(); // SIGTERM
    ASSERT_TRUE(sim.waitForFinished(10000));
    EXPECT_EQ(sim.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(sim.exitCode(), 0);
    EXPECT_FALSE(QFileInfo(link).isSymLink()) << "the link goes with the program";
}
