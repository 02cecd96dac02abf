#include "app/demo_mode.h"

#include <gtest/gtest.h>

using namespace orx;

TEST(DemoMode, ArgumentsAreReadOnlyAfterSimulate)
{
    const struct
    {
        QStringList arguments;
        bool simulate;
        int model;
        bool error;
    } cases[] = {
        {{}, false, 0, false},
        {{"--simulate"}, true, 0, false},
        {{"--simulate", "ORX-C300"}, true, 2, false},
        {{"--simulate", "orx-b200"}, true, 1, false},
        {{"--simulate", "ORX-X1"}, true, 0, true},
        {{"somefile.csv"}, false, 0, false}, // the program takes no command line otherwise
    };
    for (const auto& c : cases) {
        const DemoRequest request = parseDemoArguments(c.arguments);
        EXPECT_EQ(request.simulate, c.simulate) << c.arguments.join(u' ').toStdString();
        EXPECT_EQ(request.modelIndex, c.model) << c.arguments.join(u' ').toStdString();
        EXPECT_EQ(!request.error.isEmpty(), c.error) << c.arguments.join(u' ').toStdString();
    }
}

TEST(DemoMode, InstrumentSitsBehindComOneAndHidesEverythingElse)
{
    qputenv("ORX_COM3", "/dev/null");
    {
        DemoInstrument demo(1);
        QString error;
        ASSERT_TRUE(demo.start(&error)) << error.toStdString();
        EXPECT_EQ(qEnvironmentVariable("ORX_COM1"), demo.devicePath());
        EXPECT_TRUE(demo.devicePath().startsWith(QStringLiteral("/dev/pts/")));
        for (const char* hidden : {"ORX_COM2", "ORX_COM3", "ORX_COM4", "ORX_GPIB_LIBRARY"}) {
            EXPECT_TRUE(qEnvironmentVariableIsSet(hidden)) << hidden;
            EXPECT_TRUE(qEnvironmentVariable(hidden).isEmpty()) << hidden;
        }
    }
    qputenv("ORX_COM1", QByteArray());
}
