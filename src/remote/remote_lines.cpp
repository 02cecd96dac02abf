#include "remote/remote_lines.h"

namespace orx {
namespace {

bool isLineCharacter(unsigned char byte)
{
    return (byte >= 0x20 && byte < 0x7f) || byte == '\t';
}

bool isBlank(const QByteArray& line)
{
    return std::all_of(line.begin(), line.end(), [](char c) { return c == ' ' || c == '\t'; });
}

} // namespace

RemoteLineFeeder::Fault RemoteLineFeeder::feed(QByteArrayView bytes, QList<QByteArray>& lines)
{
    for (const char c : bytes) {
        if (m_fault != Fault::None)
            break;
        const auto byte = static_cast<unsigned char>(c);
        if (byte == '\n') {
            if (!isBlank(m_partial))
                lines.append(m_partial);
            m_partial.clear();
            m_carriageReturn = false;
        } else if (m_carriageReturn || !(isLineCharacter(byte) || byte == '\r')) {
            m_fault = Fault::Binary;
        } else if (byte == '\r') {
            m_carriageReturn = true;
        } else if (m_partial.size() == kMaxLineLength) {
            m_fault = Fault::TooLong;
        } else {
            m_partial.append(c);
        }
    }
    if (m_fault != Fault::None)
        m_partial.clear();
    return m_fault;
}

} // namespace orx
