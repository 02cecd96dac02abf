#include "app/demo_mode.h"

#include <gtest/gtest.h>

using namespace orx;

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
