#include "link/com_port_names.h"

#include "env_guard.h"

#include <gtest/gtest.h>

using namespace orx;
using orx::test::EnvGuard;

namespace {

struct MappingCase
{
    int port;
    std::optional<QByteArray> variable; // ORX_COM<port>; nullopt = not set
    QString device;
};

} // namespace

// Only the names are checked: nothing here opens a device.
TEST(ComPortNames, EnvironmentMapsEachPort)
{
    const MappingCase cases[] = {
        {2, QByteArray("/tmp/orx/usb-adapter"), "/tmp/orx/usb-adapter"},
        {3, QByteArray(""), ""},
        {1, std::nullopt, "/dev/ttyS0"},
        {4, std::nullopt, "/dev/ttyS3"},
        {0, QByteArray("/tmp/orx/zero"), ""},
        {5, QByteArray("/tmp/orx/five"), ""},
    };
    for (const auto& c : cases) {
        const QByteArray name = "ORX_COM" + QByteArray::number(c.port);
        const EnvGuard guard(name.constData(), c.variable);
        EXPECT_EQ(comPortDevice(c.port), c.device) << "COM" << c.port;
    }
}

struct SettingsCase
{
    const char* text;
    SerialSettings settings;
};

TEST(SerialSettingsText, ValidTextsGiveEveryPart)
{
    const SettingsCase cases[] = {
        {"9600,n,8,1", {9600, QSerialPort::NoParity, QSerialPort::Data8, QSerialPort::OneStop}},
        {"4800,N,8,1", {4800, QSerialPort::NoParity, QSerialPort::Data8, QSerialPort::OneStop}},
        {"1200,e,7,2", {1200, QSerialPort::EvenParity, QSerialPort::Data7, QSerialPort::TwoStop}},
        {"2400,o,5,1.5", {2400, QSerialPort::OddParity, QSerialPort::Data5, QSerialPort::OneAndHalfStop}},
        {"300,M,6,1", {300, QSerialPort::MarkParity, QSerialPort::Data6, QSerialPort::OneStop}},
        {"115200,s,8,2", {115200, QSerialPort::SpaceParity, QSerialPort::Data8, QSerialPort::TwoStop}},
        {" 9600 , n , 8 , 1 ", {9600, QSerialPort::NoParity, QSerialPort::Data8, QSerialPort::OneStop}},
    };
    for (const auto& c : cases) {
        const auto parsed = parseSerialSettings(QString::fromLatin1(c.text));
        ASSERT_TRUE(parsed.has_value()) << c.text;
        EXPECT_EQ(*parsed, c.settings) << c.text;
    }
}

TEST(SerialSettingsText, InvalidTextsAreRefused)
{
    const char* const texts[] = {
        "",
        "9600",
        "9600,n,8",
        "9600,n,8,1,1",
        "0,n,8,1",
        "-9600,n,8,1",
        "+9600,n,8,1",
        "96 00,n,8,1",
        "abc,n,8,1",
        "99999999999,n,8,1",
        "9600,x,8,1",
        "9600,nn,8,1",
        "9600,,8,1",
        "9600,n,9,1",
        "9600,n,4,1",
        "9600,n,8,3",
        "9600,n,8,1.0",
        "9600;n;8;1",
    };
    for (const char* text : texts)
        EXPECT_FALSE(parseSerialSettings(QString::fromLatin1(text)).has_value()) << text;
}
