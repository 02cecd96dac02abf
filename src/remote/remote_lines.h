#pragma once
// What a remote client sends, cut into commands: lines that end with a line feed (a carriage return
// just before it is dropped), each one command for the instrument. Only printable ASCII and tabs
// make a line; anything else is binary input, and a line over kMaxLineLength characters is no
// command either: both end the client's input. Blank lines are skipped.

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

namespace orx {

class RemoteLineFeeder
{
public:
    static constexpr qsizetype kMaxLineLength = 4096;

    enum class Fault : quint8
    {
        None,
        TooLong, // a line grew past kMaxLineLength characters
        Binary,  // a control byte, a byte outside ASCII, or a carriage return not before a line feed
    };

    // Takes the next bytes as they arrived, in chunks of any size; the complete lines go to `lines`.
    // After a fault nothing more is taken: the lines before it stay, the rest is ignored.
    Fault feed(QByteArrayView bytes, QList<QByteArray>& lines);

    // Characters of the line still waiting for its line feed (at most kMaxLineLength).
    qsizetype waiting() const { return m_partial.size(); }

private:
    QByteArray m_partial;
    bool m_carriageReturn = false; // the last byte taken was a carriage return
    Fault m_fault = Fault::None;
};

// A line with a question mark is a query: the instrument answers it with one line.
inline bool isRemoteQuery(const QByteArray& line)
{
    return line.contains('?');
}

} // namespace orx
