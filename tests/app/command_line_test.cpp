#include "app/command_line.h"

#include <QProcess>
#include <gtest/gtest.h>

using namespace orx;

TEST(CommandLine, OptionsModelsAndMistakes)
{
    const struct
    {
        QStringList arguments; // after the program's name
        int exitCode;          // -1: the program runs
        bool simulate;
        int model;
        const char* printed; // part of what goes to stdout (exit 0) or stderr (exit 2)
    } cases[] = {
        {{}, -1, false, 0, ""},
        {{"--simulate"}, -1, true, 0, ""},
        {{"--simulate", "ORX-C300"}, -1, true, 2, ""},
        {{"orx-b200", "--simulate"}, -1, true, 1, ""},
        {{"-platform", "offscreen", "--simulate"}, -1, true, 0, ""}, // Qt's own options pass
        {{"--help"}, 0, false, 0, "--simulate"},
        {{"-h"}, 0, false, 0, "Usage: orx-panel [options] [MODEL]"},
        {{"--help-all"}, 0, false, 0, "--version"},
        {{"--version"}, 0, false, 0, "orx-panel " ORX_VERSION "\n"},
        {{"--bogus"}, 2, false, 0, "Unknown option 'bogus'"},
        {{"--simulate", "ORX-X1"}, 2, true, 0, "Unknown model 'ORX-X1'"},
        {{"--simulate", "ORX-A100", "ORX-B200"}, 2, true, 0, "Only one model"},
        {{"somefile.csv"}, 2, false, 0, "only be named with --simulate"},
    };
    for (const auto& c : cases) {
        const CommandLine line = parseCommandLine(QStringList{"/usr/bin/orx-panel"} + c.arguments);
        SCOPED_TRACE(c.arguments.join(u' ').toStdString());
        EXPECT_EQ(line.exits ? line.exitCode : -1, c.exitCode);
        if (!line.exits) {
            EXPECT_EQ(line.simulate, c.simulate);
            EXPECT_EQ(line.modelIndex, c.model);
            continue;
        }
        const QString& printed = c.exitCode == 0 ? line.out : line.err;
        EXPECT_TRUE(printed.contains(QString::fromLatin1(c.printed))) << printed.toStdString();
        EXPECT_TRUE((c.exitCode == 0 ? line.err : line.out).isEmpty());
        if (c.exitCode == kUsageExitCode) {
            EXPECT_TRUE(line.err.contains(QStringLiteral("Usage: orx-panel")))
                << "the usage follows the error";
        }
    }
}

// The program answers --help and a wrong option before it needs a desktop.
TEST(CommandLine, TheProgramPrintsItsUsageWithoutADisplay)
{
    for (const auto& [option, exitCode] : {std::pair{"--help", 0}, std::pair{"--bogus", 2}}) {
        QProcess panel;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("DISPLAY"));
        environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
        panel.setProcessEnvironment(environment);
        panel.start(QStringLiteral(ORX_PANEL_PATH), {QString::fromLatin1(option)});
        ASSERT_TRUE(panel.waitForFinished(10000)) << option;
        EXPECT_EQ(panel.exitCode(), exitCode) << option;
        const QByteArray printed =
            exitCode == 0 ? panel.readAllStandardOutput() : panel.readAllStandardError();
        EXPECT_TRUE(printed.contains("--simulate")) << option << ": " << printed.toStdString();
    }
}

TEST(CommandLine, RemotePortIsAPortNumber)
{
    EXPECT_EQ(parseCommandLine({"orx-panel", "--remote-port", "5025"}).remotePort, 5025);
    EXPECT_FALSE(parseCommandLine({"orx-panel"}).remotePort.has_value());
    for (const char* port : {"0", "65536", "50x", ""})
        EXPECT_TRUE(
            parseCommandLine({"orx-panel", "--remote-port", port}).err.contains("takes a port number"));
}
