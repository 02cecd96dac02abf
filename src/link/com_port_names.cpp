#include "link/com_port_names.h"

#include <QList>
#include <QtGlobal>
#include <algorithm>

namespace orx {
namespace {

constexpr int kFirstPort = 1;
constexpr int kLastPort = 4;

QString defaultDevice(int port)
{
#ifdef Q_OS_WIN
    return QStringLiteral("COM%1").arg(port);
#else
    return QStringLiteral("/dev/ttyS%1").arg(port - 1);
#endif
}

std::optional<QSerialPort::Parity> parityFrom(QStringView field)
{
    if (field.size() != 1)
        return std::nullopt;
    switch (field.front().toLower().unicode()) {
    case u'n':
        return QSerialPort::NoParity;
    case u'e':
        return QSerialPort::EvenParity;
    case u'o':
        return QSerialPort::OddParity;
    case u'm':
        return QSerialPort::MarkParity;
    case u's':
        return QSerialPort::SpaceParity;
    default:
        return std::nullopt;
    }
}

std::optional<QSerialPort::DataBits> dataBitsFrom(QStringView field)
{
    if (field == u"5")
        return QSerialPort::Data5;
    if (field == u"6")
        return QSerialPort::Data6;
    if (field == u"7")
        return QSerialPort::Data7;
    if (field == u"8")
        return QSerialPort::Data8;
    return std::nullopt;
}

std::optional<QSerialPort::StopBits> stopBitsFrom(QStringView field)
{
    if (field == u"1")
        return QSerialPort::OneStop;
    if (field == u"1.5")
        return QSerialPort::OneAndHalfStop;
    if (field == u"2")
        return QSerialPort::TwoStop;
    return std::nullopt;
}

std::optional<qint32> baudRateFrom(QStringView field)
{
    // Digits only: toInt alone would also take a sign or blanks inside the number.
    if (field.isEmpty() ||
        !std::all_of(field.begin(), field.end(), [](QChar c) { return c >= u'0' && c <= u'9'; }))
        return std::nullopt;
    bool ok = false;
    const qint32 baud = field.toInt(&ok);
    if (!ok || baud <= 0)
        return std::nullopt;
    return baud;
}

} // namespace

QString comPortDevice(int port, const std::optional<QString>& mapping)
{
    if (port < kFirstPort || port > kLastPort)
        return QString();
    if (mapping)
        return *mapping;
    return defaultDevice(port);
}

QString comPortDevice(int port)
{
    const QByteArray name = QByteArrayLiteral("ORX_COM") + QByteArray::number(port);
    if (!qEnvironmentVariableIsSet(name.constData()))
        return comPortDevice(port, std::nullopt);
    return comPortDevice(port, qEnvironmentVariable(name.constData()));
}

std::optional<SerialSettings> parseSerialSettings(QStringView text)
{
    const QList<QStringView> fields = text.split(u',');
    if (fields.size() != 4)
        return std::nullopt;
    const auto baud = baudRateFrom(fields[0].trimmed());
    const auto parity = parityFrom(fields[1].trimmed());
    const auto dataBits = dataBitsFrom(fields[2].trimmed());
    const auto stopBits = stopBitsFrom(fields[3].trimmed());
    if (!baud || !parity || !dataBits || !stopBits)
        return std::nullopt;
    return SerialSettings{*baud, *parity, *dataBits, *stopBits};
}

} // namespace orx
