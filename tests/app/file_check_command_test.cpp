// "orx-panel --check FILE --model MODEL" on files: one problem a line as FILE:LINE: FIELD: message, exit
// codes 0 (clean), 1 (problems) and 2 (unreadable file, unknown or missing model), and no desktop at all.

#include "app/command_line.h"
#include "memory/memory_file.h"
#include "support/test_files.h"

#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace orx;
using namespace orx::test;

TEST(FileCheckCommand, ExitCodesAndOutputOnFiles)
{
    QTemporaryDir dir;
    const QString clean = dir.filePath("clean.csv");
    const QString faulty = dir.filePath("faulty.csv");
    const QString tooLong = dir.filePath("long.csv");
    QByteArray longFile = "Record\r\n";
    for (int i = 0; i < kMaxMemoryFileLines; ++i)
        longFile += QByteArray::number(i % 100) + ", 1, 1, 10, 2, 1, True, True\r\n";
    ASSERT_TRUE(writeFileBytes(clean, "Record\r\n00, 1.000, 1.000, 10, 2.000, 1.000, True, False\r\n"));
    ASSERT_TRUE(writeFileBytes(faulty, "Record\r\n00, 25, 1, 10, 2, 1, True, False\r\n01, 1\r\n"));
    ASSERT_TRUE(writeFileBytes(tooLong, longFile));
    // The arguments, the exit code and what is printed on standard output, or part of standard error.
    const std::tuple<QStringList, int, QString> cases[] = {
        {{"--check", clean, "--model", "ORX-A100"}, 0, ""},
        {{"--model=orx-a100", "--check", faulty},
         1,
         faulty +
             ":2: Voltage (V): 25 is above the highest voltage of the ORX-A100: the panel uses 20.600\n" +
             faulty +
             ":2: OVP (V): 2.000 is below the voltage set-point 20.600 with OVP on: the output trips "
             "as soon as it reaches its set-point\n" +
             faulty + ":3: Current (A): missing: the line has 2 of 8 fields and the upload leaves it out\n"},
        {{"--check", dir.filePath("none.csv"), "--model", "ORX-A100"}, 2, "cannot read"},
        {{"--check", clean, "--model", "ORX-D400"}, 2, "Unknown model 'ORX-D400'"},
        {{"--check", clean}, 2, "--check and --model go together"},
        {{"--check", clean, "--model", "ORX-A100", "--simulate"}, 2, "no --simulate"},
    };
    for (const auto& [arguments, exitCode, printed] : cases) {
        SCOPED_TRACE(arguments.join(u' ').toStdString());
        const CommandLine line = parseCommandLine(QStringList{"orx-panel"} + arguments);
        EXPECT_TRUE(line.exits);
        EXPECT_EQ(line.exitCode, exitCode);
        if (exitCode == 2)
            EXPECT_TRUE(line.err.contains(printed)) << line.err.toStdString();
        else
            EXPECT_EQ(line.out, printed);
    }
    const CommandLine longCheck = parseCommandLine({"orx-panel", "--check", tooLong, "--model", "ORX-A100"});
    EXPECT_TRUE(longCheck.out.endsWith(
        tooLong + ":1003: Record: the file goes on past line 1002: nothing from here on is read\n"));
}

// The program checks a file without a desktop: no display, no platform, no window.
TEST(FileCheckCommand, TheProgramChecksWithoutADisplay)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("m.csv");
    ASSERT_TRUE(writeFileBytes(file, "Record\r\n150, 1, 1, 10, 2, 1, True, False\r\n"));
    QProcess panel;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    panel.setProcessEnvironment(environment);
    panel.start(QStringLiteral(ORX_PANEL_PATH), {"--check", file, "--model", "ORX-B200"});
    ASSERT_TRUE(panel.waitForFinished(10000));
    EXPECT_EQ(panel.exitCode(), 1);
    EXPECT_EQ(panel.readAllStandardOutput(),
              (file + ":2: Record: 150 is outside 0 to 99: the upload writes memory 99, the editor leaves "
                      "the line out\n")
                  .toLocal8Bit());
    EXPECT_TRUE(panel.readAllStandardError().isEmpty());
}
