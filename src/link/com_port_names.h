#pragma once
// Where the serial ports COM1 to COM4 live on this workstation, and the line-settings text of a port
// ("9600,n,8,1") read into its parts. Both are pure rules; the serial service applies them.

#include <QSerialPort>
#include <QString>
#include <QStringView>
#include <optional>

namespace orx {

// The device of COM `port` (1 to 4) when `mapping` is the value of the environment variable ORX_COM<n>
// (nullopt when it is not set). A set variable names the device (a USB adapter, a pseudo-terminal
// link); a set but empty one means the workstation has no such port, and so does a port number
// outside 1 to 4. An empty result always means "no such port".
QString comPortDevice(int port, const std::optional<QString>& mapping);

// The same, with the mapping read from the environment.
QString comPortDevice(int port);

struct SerialSettings
{
    qint32 baudRate = 9600;
    QSerialPort::Parity parity = QSerialPort::NoParity;
    QSerialPort::DataBits dataBits = QSerialPort::Data8;
    QSerialPort::StopBits stopBits = QSerialPort::OneStop;

    friend bool operator==(const SerialSettings&, const SerialSettings&) = default;
};

// "baud,parity,data bits,stop bits" as in "9600,n,8,1": a positive baud rate, parity n, e, o, m or s
// (none, even, odd, mark, space; either case), 5 to 8 data bits and 1, 1.5 or 2 stop bits. Blanks
// around a field are allowed. Anything else gives nullopt.
std::optional<SerialSettings> parseSerialSettings(QStringView text);

} // namespace orx
