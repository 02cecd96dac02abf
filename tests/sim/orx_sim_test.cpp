// orx-sim: its command line and control lines (anything it cannot take is refused with a reason) and
// its device behind a link; the fault suite and the end-to-end tests talk to it over the line.

#include "sim/pty_server.h"
#include "sim/sim_options.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
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
    const std::pair<const char*, C::Kind> accepted[] = {
        {"late 1500", C::SetFault},  {"  unplug ", C::Unplug}, {"load open", C::SetLoad},
        {"off", C::OutputOff},       {"trip ocp", C::Trip},    {"babble", C::SetFault},
        {"send 9.999", C::SendLine}, {"lag 1200", C::LagOnce}};
    for (const auto& [line, kind] : accepted)
        EXPECT_EQ(parseControlCommand(QString::fromLatin1(line), nullptr).value_or(C{}).kind, kind) << line;
    EXPECT_EQ(parseControlCommand(QStringLiteral("late 2000"), nullptr)->lateMs, 2000);
    EXPECT_EQ(parseControlCommand(QStringLiteral("send 9.999"), nullptr)->line, "9.999");
}

// The device is reached through the link, which replaces a stale link but never a file. Unplugging
// takes the device and the link away, replugging puts a new device behind the link, stopping removes
// both.
TEST(PtyServer, KeepsItsDeviceBehindItsLinkAndUnplugs)
{
    QTemporaryDir dir;
    PtyOptions options;
    options.linkPath = dir.filePath(QStringLiteral("orx"));
    ASSERT_TRUE(QFile::link(QStringLiteral("/nonexistent"), options.linkPath));
    QString device;
    {
        PtyServer server(options);
        ASSERT_TRUE(server.start());
        EXPECT_EQ(QFileInfo(options.linkPath).symLinkTarget(), server.devicePath());
        device = server.devicePath();
        EXPECT_TRUE(server.unplug());
        EXPECT_FALSE(QFileInfo::exists(device) || QFileInfo(options.linkPath).isSymLink());
        ASSERT_TRUE(server.replug());
        device = server.devicePath();
        EXPECT_TRUE(QFileInfo::exists(device) && QFileInfo(options.linkPath).symLinkTarget() == device);
    }
    EXPECT_FALSE(QFileInfo::exists(device) || QFileInfo(options.linkPath).isSymLink());
    QFile file(options.linkPath);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write("keep me") == 7);
    file.close();
    EXPECT_FALSE(PtyServer(options).start());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "keep me");
}

// "replug MODEL": another instrument comes back, of that model, on the same load.
TEST(PtyServer, ReplugsAnotherInstrumentWhenAskedTo)
{
    EXPECT_EQ(
        parseControlCommand(QStringLiteral("replug orx-b200"), nullptr).value_or(ControlCommand{}).modelIndex,
        1);
    PtyOptions options;
    options.loadOhms = 10;
    PtyServer server(options);
    ASSERT_TRUE(server.open() && server.unplug() && server.replug(nullptr, 2));
    server.withInstrument([](Instrument& orx) {
        EXPECT_EQ(std::pair(orx.modelName(), orx.loadOhms()),
                  std::pair(QString("ORX-C300"), std::optional(10.0)));
    });
}

TEST(SimOptions, LosingOneSave)
{
    EXPECT_EQ(parseSimCommandLine({"--ignore-save", "37"}).options.ignoredSave, 37);
    EXPECT_FALSE(parseSimCommandLine({"--ignore-save=100"}).error.isEmpty());
    const auto command = parseControlCommand(QStringLiteral("ignore-save 5"), nullptr);
    EXPECT_EQ(std::pair(command->kind, command->memory), std::pair(ControlCommand::IgnoreSave, 5));
    EXPECT_FALSE(parseControlCommand(QStringLiteral("ignore-save x"), nullptr));
}
