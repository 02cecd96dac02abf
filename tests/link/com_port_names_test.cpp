#include "link/com_port_names.h"

#include <gtest/gtest.h>

using namespace orx;

// Only the names are checked: nothing here opens a device. A nullopt mapping leaves ORX_COM<n> unset.
TEST(ComPortNames, EnvironmentMapsEachPort)
{
    const std::tuple<int, std::optional<QByteArray>, QString> cases[] = {
        {2, "/tmp/orx/usb-adapter", "/tmp/orx/usb-adapter"},
        {3, "", ""},
        {1, std::nullopt, "/dev/ttyS0"},
        {4, std::nullopt, "/dev/ttyS3"},
        {0, "/tmp/orx/zero", ""},
        {5, "/tmp/orx/five", ""}};
    for (const auto& [port, mapping, device] : cases) {
        const QByteArray name = "ORX_COM" + QByteArray::number(port);
        mapping ? qputenv(name, *mapping) : qunsetenv(name);
        EXPECT_EQ(comPortDevice(port), device) << "COM" << port;
        qputenv(name, ""); // back to no such port, as everywhere in the tests
    }
}

TEST(SerialSettingsText, ValidTextsGiveEveryPart)
{
    const std::pair<const char*, SerialSettings> cases[] = {
        {"1200,e,7,2", {1200, QSerialPort::EvenParity, QSerialPort::Data7, QSerialPort::TwoStop}},
        {"2400,o,5,1.5", {2400, QSerialPort::OddParity, QSerialPort::Data5, QSerialPort::OneAndHalfStop}},
        {"300,M,6,1", {300, QSerialPort::MarkParity, QSerialPort::Data6, QSerialPort::OneStop}},
        {"115200,s,8,2", {115200, QSerialPort::SpaceParity, QSerialPort::Data8, QSerialPort::TwoStop}},
        {" 9600 , n , 8 , 1 ", {9600, QSerialPort::NoParity, QSerialPort::Data8, QSerialPort::OneStop}},
    };
    for (const auto& [text, settings] : cases)
        EXPECT_EQ(parseSerialSettings(QString::fromLatin1(text)), settings) << text;
}

// Wrong field counts, bad or out-of-range numbers (a sign or a blank inside, overflow), unknown letters.
TEST(SerialSettingsText, InvalidTextsAreRefused)
{
    for (const char* text : {"", "9600,n,8", "9600,n,8,1,1", "0,n,8,1", "-9600,n,8,1", "+9600,n,8,1",
                             "96 00,n,8,1", "abc,n,8,1", "99999999999,n,8,1", "9600,x,8,1", "9600,nn,8,1",
                             "9600,,8,1", "9600,n,9,1", "9600,n,4,1", "9600,n,8,3", "9600,n,8,1.0"})
        EXPECT_EQ(parseSerialSettings(QString::fromLatin1(text)), std::nullopt) << text;
}
