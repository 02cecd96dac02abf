#pragma once
// A serial program's view of a pty, for the pty server's tests: raw mode at a chosen baud rate,
// blocking reads of one line with a generous bound.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace orx::test {

// Bounds every wait of these tests. The server answers within microseconds; the bound only keeps a
// broken server from hanging the test, it is never what a test asserts.
inline constexpr int kPatienceMs = 5000;

inline speed_t speedOf(int baud)
{
    switch (baud) {
    case 9600:
        return B9600;
    case 4800:
        return B4800;
    case 2400:
        return B2400;
    default:
        return B1200;
    }
}

// A serial program's view of the pty: raw mode at a chosen baud rate.
class RawClient
{
public:
    RawClient(const QString& path, int baud)
    {
        m_fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (m_fd >= 0)
            setBaud(baud);
    }
    ~RawClient()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    bool isOpen() const { return m_fd >= 0; }

    void setBaud(int baud)
    {
        termios t{};
        tcgetattr(m_fd, &t);
        cfmakeraw(&t);
        cfsetispeed(&t, speedOf(baud));
        cfsetospeed(&t, speedOf(baud));
        tcsetattr(m_fd, TCSANOW, &t);
    }

    bool send(const QByteArray& bytes)
    {
        return ::write(m_fd, bytes.constData(), size_t(bytes.size())) == bytes.size();
    }

    // The next line with its line feed; empty when the device went away or nothing came in time.
    QByteArray readLine()
    {
        QByteArray line;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kPatienceMs);
        while (!line.endsWith('\n') && std::chrono::steady_clock::now() < deadline) {
            pollfd p{m_fd, POLLIN, 0};
            if (poll(&p, 1, 50) <= 0)
                continue;
            if (!(p.revents & POLLIN))
                return {}; // hung up
            char c;
            if (::read(m_fd, &c, 1) != 1)
                return {};
            line.append(c);
        }
        return line;
    }

private:
    int m_fd = -1;
};

} // namespace orx::test
